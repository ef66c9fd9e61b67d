// The common controls, loaded when a window first needs one of their classes
// rather than at start-up. Named without a folder, the library is the version
// the program's manifest asks for, from the system's own store.
#pragma once

#include <windows.h>

namespace win {

// Registers the classes (ICC_* flags); false when the library is missing.
bool LoadCommonControlClasses(DWORD classes);

}  // namespace win
