#include "forms/Control.h"

#include <windowsx.h>

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

bool Control::DispatchInput(UINT msg, WPARAM wParam, LPARAM lParam) {
  const std::optional<InputKind> decoded = InputKindOf(msg);
  if (!decoded) return false;
  const InputKind kind = *decoded;
  InputArgs args;
  args.shift = ShiftState();
  if (kind == InputKind::KeyDown || kind == InputKind::KeyUp || kind == InputKind::KeyPress) {
    args.key = static_cast<std::int16_t>(wParam);
  } else {
    args.held = ButtonState(wParam);
    args.button = MessageButton(msg, wParam);
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
