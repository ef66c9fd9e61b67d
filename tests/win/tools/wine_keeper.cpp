// Holds the Wine session open while tests run. Wine ends its desktop process
// a few seconds after the last window is gone, and its system processes a few
// seconds after the last program has ended; every program started after that
// pays about a second to bring them back. This program keeps one hidden window
// and waits, so they stay.
#include <windows.h>

int wmain() {
  HWND hwnd = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"wine keeper", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) return 1;
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
  return 0;
}
