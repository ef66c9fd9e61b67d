#include "win/WindowShape.h"

#include "win/UniqueHandle.h"

namespace win {

void DragWindow(HWND hwnd) {
  ::ReleaseCapture();
  ::SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void RoundWindowCorners(HWND hwnd, int right, int bottom, int x, int y) {
  UniqueHrgn region(::CreateRoundRectRgn(0, 0, right, bottom, x, y));
  if (region && ::SetWindowRgn(hwnd, region.get(), TRUE)) region.release();
}

}  // namespace win
