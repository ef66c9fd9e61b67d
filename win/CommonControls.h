// The common controls, loaded when a window first needs one of their classes
// rather than at start-up. Loaded by name, as the import table would have, so
// the program's manifest still chooses the version.
#pragma once

#include <windows.h>

namespace win {

// Registers the classes (ICC_* flags); false when the library is missing.
bool LoadCommonControlClasses(DWORD classes);

}  // namespace win
