// A control: a child window of a form with its own drawing surface, stored
// design properties read from and written to a PropertyBag, and events.
#pragma once

#include <windows.h>

#include <cstdint>

#include "forms/MouseState.h"
#include "forms/PropertyBag.h"
#include "forms/Surface.h"
#include "forms/WindowBase.h"

namespace forms {

// A mouse or key message as every control's handlers receive it.
struct InputArgs {
  // 1 left, 2 right, 4 middle: the button pressed, released or double-clicked;
  // on a move, the buttons held.
  std::int16_t button = 0;
  std::int16_t held = 0;   // the buttons held once the message is handled
  std::int16_t shift = 0;  // 1 Shift, 2 Ctrl, 4 Alt
  float x = 0, y = 0;      // the pointer, in the control's scale
  std::int16_t key = 0;    // the key code (down, up) or the character (press)
};

class Control : public WindowBase {
 public:
  // Creates the control's window inside `parent` at a rectangle in pixels and
  // reads its stored properties from `stored`.
  bool Create(HWND parent, int x, int y, int width, int height, const PropertyBag& stored = {});
  HWND hWnd() const noexcept { return window(); }

  void Move(int x, int y, int width, int height);
  void SetVisible(bool visible);
  RECT Bounds() const;  // in the parent's client pixels

  // Stored properties: read when the control is created, written when its holder saves.
  virtual void ReadProperties(const PropertyBag& /*bag*/) {}
  virtual void WriteProperties(PropertyBag& /*bag*/) const {}

 protected:
  virtual const wchar_t* ClassName() const { return L"VelmoraControl"; }
  virtual DWORD WindowStyle() const { return WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN; }
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  // Decodes a mouse or key message and hands it to OnInput: true when the
  // control handled it (the message then answers 0).
  bool DispatchInput(UINT msg, WPARAM wParam, LPARAM lParam);
  virtual bool OnInput(InputKind /*kind*/, InputArgs& /*args*/) { return false; }
  // The scale of the pointer's position: twips, unless the control measures in pixels.
  virtual bool MeasuresInPixels() const { return false; }
  // After the surface has followed the window's new size (in pixels).
  virtual void OnSize(int /*width*/, int /*height*/) {}
  // True when the timer was the control's own.
  virtual bool OnTimer(UINT_PTR /*id*/) { return false; }

  // Retained surface, sized to the control; painted to the screen on WM_PAINT.
  Surface surface_;
  COLORREF surfaceBackground_ = RGB(255, 255, 255);
};

}  // namespace forms
