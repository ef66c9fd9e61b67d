#include "win/File.h"

#include <cstring>
#include <vector>

#include "win/Error.h"
#include "win/UniqueHandle.h"

namespace win {

namespace {

// True when the file at `path` holds exactly `bytes`.
bool HoldsExactly(const std::wstring& path, std::span<const std::byte> bytes) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !::GetFileSizeEx(file.get(), &size) || static_cast<unsigned long long>(size.QuadPart) != bytes.size()) {
    return false;
  }
  std::vector<std::byte> content(bytes.size());
  DWORD read = 0;
  if (!content.empty() && (!::ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr) ||
                           read != content.size())) {
    return false;
  }
  return content.empty() || std::memcmp(content.data(), bytes.data(), bytes.size()) == 0;
}

}  // namespace

void ReplaceFileContents(const std::wstring& path, std::span<const std::byte> bytes) {
  // A temporary name of this process's own: clients started at the same
  // moment never write one file, and a leftover of a run that was killed
  // (another process number) is never in the way.
  static unsigned serial = 0;
  const std::wstring partial =
      path + L"." + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++serial) + L".part";
  {
    UniqueFile file(::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) ThrowLastError(L"Cannot write " + path);
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
      DWORD code = ::GetLastError();
      file.reset();
      ::DeleteFileW(partial.c_str());
      ::SetLastError(code);
      ThrowLastError(L"Cannot write " + path);
    }
  }
  // Another client may be reading the file it has just written (a file open
  // elsewhere cannot be replaced): wait a little for it. If it already holds
  // these very bytes, there is nothing to replace.
  DWORD code = 0;
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (::MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return;
    code = ::GetLastError();
    if (HoldsExactly(path, bytes)) break;
    if (code != ERROR_ACCESS_DENIED && code != ERROR_SHARING_VIOLATION) break;
    ::Sleep(25);
  }
  ::DeleteFileW(partial.c_str());
  if (HoldsExactly(path, bytes)) return;
  ::SetLastError(code);
  ThrowLastError(L"Cannot replace " + path);
}

}  // namespace win
