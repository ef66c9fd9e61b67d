#include "win/Shell.h"

#include "win/SystemLibrary.h"

namespace win {

bool ShellOpen(const wchar_t* file, const wchar_t* parameters) {
  static const auto shellExecute = VELMORA_SYSTEM_FUNCTION(L"shell32.dll", ShellExecuteW);
  if (!shellExecute) return false;
  const auto result = shellExecute(nullptr, L"open", file, parameters, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

BOOL NotifyIcon(DWORD message, NOTIFYICONDATAW* data) {
  static const auto notifyIcon = VELMORA_SYSTEM_FUNCTION(L"shell32.dll", Shell_NotifyIconW);
  return notifyIcon ? notifyIcon(message, data) : FALSE;
}

}  // namespace win
