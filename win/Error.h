// Errors raised by the platform layer. Forms let them end the event handler in
// which they arose (see forms::RunHandler); the text is what the user or the log sees.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace win {

class Win32Error : public std::runtime_error {
 public:
  Win32Error(std::wstring message, DWORD code);
  const std::wstring& message() const noexcept { return message_; }
  DWORD code() const noexcept { return code_; }

 private:
  std::wstring message_;
  DWORD code_;
};

// Throws Win32Error with `what` and the system's text for GetLastError().
[[noreturn]] void ThrowLastError(const std::wstring& what);
std::wstring SystemMessage(DWORD code);

}  // namespace win
