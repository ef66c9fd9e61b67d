#include "win/WindowShape.h"

namespace win {

void DragWindow(HWND hwnd) {
  ::ReleaseCapture();
  ::SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void RoundWindowCorners(HWND hwnd, int right, int bottom, int x, int y) {
  HRGN region = ::CreateRoundRectRgn(0, 0, right, bottom, x, y);
  if (region && !::SetWindowRgn(hwnd, region, TRUE)) ::DeleteObject(region);
}

}  // namespace win
