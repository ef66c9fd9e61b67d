#include "win/File.h"

#include "win/Error.h"
#include "win/UniqueHandle.h"

namespace win {

void ReplaceFileContents(const std::wstring& path, std::span<const std::byte> bytes) {
  const std::wstring partial = path + L".part";
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
  if (!::MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DWORD code = ::GetLastError();
    ::DeleteFileW(partial.c_str());
    ::SetLastError(code);
    ThrowLastError(L"Cannot replace " + path);
  }
}

}  // namespace win
