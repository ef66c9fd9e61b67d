// Facts about the running executable.
#pragma once

#include <string>

namespace win {

std::wstring ModulePath();
// "major.minor.revision" from the executable's own version resource, no leading
// zeros; empty when the resource cannot be read.
std::wstring ModuleVersionText();

}  // namespace win
