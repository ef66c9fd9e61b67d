// A control: a child window of a form with its own drawing surface, stored
// design properties read from and written to a PropertyBag, and events.
#pragma once

#include <windows.h>

#include "forms/PropertyBag.h"
#include "forms/Surface.h"
#include "forms/WindowBase.h"

namespace forms {

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

  // Retained surface, sized to the control; painted to the screen on WM_PAINT.
  Surface surface_;
  COLORREF surfaceBackground_ = RGB(255, 255, 255);
};

}  // namespace forms
