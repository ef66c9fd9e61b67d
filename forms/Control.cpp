#include "forms/Control.h"

#include "win/Gdi.h"

namespace forms {

bool Control::Create(HWND parent, int x, int y, int width, int height, const PropertyBag& stored) {
  if (!CreateWindowFor(ClassName(), 0, L"", WindowStyle(), x, y, width, height, parent)) return false;
  surface_.Resize(window(), surfaceBackground_);
  ReadProperties(stored);
  return true;
}

void Control::Move(int x, int y, int width, int height) {
  if (window()) ::MoveWindow(window(), x, y, width, height, TRUE);
}

void Control::SetVisible(bool visible) {
  if (window()) ::ShowWindow(window(), visible ? SW_SHOWNA : SW_HIDE);
}

RECT Control::Bounds() const {
  RECT rc{};
  if (!window()) return rc;
  ::GetWindowRect(window(), &rc);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window()), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

LRESULT Control::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      win::ScopedPaint paint(window());
      surface_.PaintTo(paint, paint.dirty());
      return 0;
    }
    case WM_SIZE:
      surface_.Resize(window(), surfaceBackground_);
      break;
  }
  return DefaultProc(msg, wParam, lParam);
}

}  // namespace forms
