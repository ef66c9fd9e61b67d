// What every window of the client shares: its fixed names and addresses, the
// names of the files it writes, and the helpers that write them.
#pragma once

#include <windows.h>

#include <string>

namespace common {

inline constexpr wchar_t GameName[] = L"Velmora";
inline constexpr wchar_t GameCode[] = L"vorn";
// Window captions and the tray tip: GameName followed by "客户端".
std::wstring GameCaption();

std::wstring UpdateUrl();     // static-content host, the update manifest
std::wstring LoginUrl();      // account host, the login page
std::wstring GameSpaceUrl();  // game-portal host
std::wstring HomeUrl();       // home-page host

inline constexpr wchar_t kUpdateManifestFile[] = L"update.txt";
inline constexpr wchar_t kUpdaterFile[] = L"Update.exe";
std::wstring IconFileName();  // GameCode + ".ico"

// The player is told that the server cannot be reached, and the program ends
// at once (no unload step runs).
[[noreturn]] void ReportNoConnectionAndEnd();

// The user's temporary folder, ending in exactly one backslash. When the
// system names no usable folder the player is told so and the program ends at
// once, having written nothing.
std::wstring GetTempFolder();

// Writes the bytes of the custom resource (id, type) to `path`, replacing the
// whole file. Throws win::Win32Error naming the resource or the file.
void SaveResourceToFile(WORD id, const wchar_t* type, const std::wstring& path);

}  // namespace common
