// The program's own resources.
#pragma once

#include <windows.h>

#include <span>
#include <string>

namespace win {

// The bytes of a resource of the running module. They stay valid for the life of
// the process. Throws Win32Error naming the resource when it is missing.
std::span<const std::byte> ResourceBytes(WORD id, const wchar_t* type);

// "TYPE id", the way errors name a resource.
std::wstring ResourceName(WORD id, const wchar_t* type);

}  // namespace win
