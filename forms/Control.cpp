#include "forms/Control.h"

#include <windowsx.h>

#include "forms/MouseState.h"
#include "forms/Twips.h"
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

namespace {
std::int16_t ButtonOf(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: return 1;
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: return 2;
    default: return 4;
  }
}
}  // namespace

bool Control::DispatchInput(UINT msg, WPARAM wParam, LPARAM lParam) {
  InputKind kind;
  switch (msg) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: kind = InputKind::MouseDown; break;
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: kind = InputKind::MouseUp; break;
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK: kind = InputKind::DoubleClick; break;
    case WM_MOUSEMOVE: kind = InputKind::MouseMove; break;
    case WM_KEYDOWN: kind = InputKind::KeyDown; break;
    case WM_KEYUP: kind = InputKind::KeyUp; break;
    case WM_CHAR: kind = InputKind::KeyPress; break;
    default: return false;
  }
  InputArgs args;
  args.shift = ShiftState();
  if (kind == InputKind::KeyDown || kind == InputKind::KeyUp || kind == InputKind::KeyPress) {
    args.key = static_cast<std::int16_t>(wParam);
  } else {
    args.held = ButtonState(wParam);
    args.button = kind == InputKind::MouseMove ? args.held : ButtonOf(msg);
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    args.x = static_cast<float>(MeasuresInPixels() ? x : PixelsToTwips(x));
    args.y = static_cast<float>(MeasuresInPixels() ? y : PixelsToTwips(y));
  }
  return OnInput(kind, args);
}

LRESULT Control::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (DispatchInput(msg, wParam, lParam)) return 0;
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      win::ScopedPaint paint(window());
      surface_.PaintTo(paint, paint.dirty());
      return 0;
    }
    case WM_SIZE: {
      surface_.Resize(window(), surfaceBackground_);
      const LRESULT result = DefaultProc(msg, wParam, lParam);
      OnSize(LOWORD(lParam), HIWORD(lParam));
      return result;
    }
    case WM_TIMER:
      if (OnTimer(wParam)) return 0;
      break;
  }
  return DefaultProc(msg, wParam, lParam);
}

}  // namespace forms
