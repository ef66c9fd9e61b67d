// UTF-16 inside the program, UTF-8 at file and network boundaries.
#pragma once

#include <string>
#include <string_view>

namespace win {

std::wstring FromUtf8(std::string_view utf8);
std::string ToUtf8(std::wstring_view text);

}  // namespace win
