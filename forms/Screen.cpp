#include "forms/Screen.h"

namespace forms {

namespace {
PixelRect WorkAreaOfMonitor(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  // The primary monitor's work area is the system's setting (one and the
  // same on Windows; Wine leaves the monitor's own as it was when the
  // setting moves). No monitor answering: the primary's.
  if (!monitor || !::GetMonitorInfoW(monitor, &info) || (info.dwFlags & MONITORINFOF_PRIMARY)) {
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
  }
  return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}
}  // namespace

PixelRect WorkAreaOf(HWND hwnd) { return WorkAreaOfMonitor(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST)); }

PixelRect WorkAreaAtPointer() {
  POINT at{};
  ::GetCursorPos(&at);
  return WorkAreaOfMonitor(::MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST));
}

}  // namespace forms
