// Empties the browser's cache (the one the login page and every tab share):
// every cache group with its entries, then every entry matching `pattern`
// whose type has none of the bits of `keepMask`. Nothing is reported; a
// failure either ends the clearing quietly or is passed over.
#pragma once

#include <windows.h>

#include <string>

namespace mainwindow {

// What the program menu keeps: cookies and the history.
inline constexpr DWORD kKeepCookiesAndHistory = 0x00100000 | 0x00200000;

void ClearUrlCache(const std::string& pattern, DWORD keepMask);

}  // namespace mainwindow
