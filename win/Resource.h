// The program's own resources.
#pragma once

#include <windows.h>

#include <span>
#include <string>

#include "win/UniqueHandle.h"

namespace win {

// The bytes of a resource of the running module. They stay valid for the life of
// the process. Throws Win32Error naming the resource when it is missing.
std::span<const std::byte> ResourceBytes(WORD id, const wchar_t* type);

// "TYPE id", the way errors name a resource.
std::wstring ResourceName(WORD id, const wchar_t* type);

// A bitmap resource of the running module as a DIB section, or null when it
// is missing.
UniqueHbitmap LoadBitmapResource(WORD id);

// An icon of the given size from an .ico file; null when the file is missing
// or unreadable.
UniqueHicon LoadIconFile(const std::wstring& path, int size);

// The image of the given size (else the first) from an .ico file carried as a
// resource of type "ICON"; null when the resource is missing or unreadable.
UniqueHicon LoadIconResource(WORD id, int size);

}  // namespace win
