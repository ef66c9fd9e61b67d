#include "tests/webview2/Cache.h"

#include <windows.h>

#include <cstdio>

#include "win/Text.h"
#include "win/UniqueHandle.h"

namespace fakewebview2 {

namespace {

// FNV-1a of the address: one file name per address.
std::wstring FileNameFor(const std::wstring& address) {
  unsigned long long hash = 14695981039346656037ull;
  for (wchar_t c : address) {
    hash ^= static_cast<unsigned long long>(c);
    hash *= 1099511628211ull;
  }
  wchar_t name[32];
  std::swprintf(name, 32, L"f_%016llx", hash);
  return name;
}

}  // namespace

std::wstring CacheFolder(const std::wstring& userDataFolder) {
  std::wstring folder = userDataFolder;
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder + L"EBWebView\\Default\\Cache";
}

bool CreateFolderPath(const std::wstring& folder) {
  if (folder.empty()) return false;
  const DWORD attributes = ::GetFileAttributesW(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const std::size_t slash = folder.find_last_of(L"\\/");
  // "C:" or "\\server\share" above it: nothing more to make there.
  if (slash != std::wstring::npos && slash > 2) {
    if (!CreateFolderPath(folder.substr(0, slash))) return false;
  }
  return ::CreateDirectoryW(folder.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

void RecordInCache(const std::wstring& userDataFolder, const std::wstring& address) {
  const std::wstring folder = CacheFolder(userDataFolder);
  if (!CreateFolderPath(folder)) return;
  win::UniqueFile file(::CreateFileW((folder + L"\\" + FileNameFor(address)).c_str(), GENERIC_WRITE, 0, nullptr,
                                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  const std::string text = win::ToUtf8(address);
  DWORD written = 0;
  ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

bool ClearCache(const std::wstring& userDataFolder) {
  const std::wstring folder = CacheFolder(userDataFolder);
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW((folder + L"\\f_*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return true;
  bool all = true;
  do {
    if (!::DeleteFileW((folder + L"\\" + found.cFileName).c_str())) all = false;
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return all;
}

}  // namespace fakewebview2
