// The argument text of a command line: everything after the program's name,
// with the blanks that separate it from the name removed.
#pragma once

#include <string>
#include <string_view>

namespace forms {

std::wstring ArgumentsText(std::wstring_view commandLine);

}  // namespace forms
