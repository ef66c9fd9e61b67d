#include "win/Error.h"

#include "win/Text.h"

namespace win {

Win32Error::Win32Error(std::wstring message, DWORD code)
    : std::runtime_error(ToUtf8(message)), message_(std::move(message)), code_(code) {}

std::wstring SystemMessage(DWORD code) {
  wchar_t* text = nullptr;
  DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring result = n && text ? std::wstring(text, n) : L"error " + std::to_wstring(code);
  if (text) ::LocalFree(text);
  while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r' || result.back() == L' '))
    result.pop_back();
  return result;
}

void ThrowLastError(const std::wstring& what) {
  DWORD code = ::GetLastError();
  throw Win32Error(what + L": " + SystemMessage(code), code);
}

}  // namespace win
