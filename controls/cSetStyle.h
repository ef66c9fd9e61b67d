// The frame behaviour of a borderless window: its style cut down to a system
// menu and a minimise box, resizing by its edges and corners with a dotted
// outline drawn by inversion on the screen while dragging (ended without a
// resize when the mouse is lost or Escape is pressed), a maximise/restore
// toggle that fills the work area of the window's monitor (the window's own
// state stays normal), the refit of a filled window when the system's
// settings or the display change, and
// the system menu's Close reported as CloseClick. It sees every message of the
// window before the window's own procedure and never keeps one from it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "controls/BorderZones.h"
#include "forms/Event.h"
#include "forms/Form.h"
#include "hooks/cFormSubclass.h"
#include "win/Gdi.h"

namespace controls {

class cSetStyle {
 public:
  cSetStyle();
  ~cSetStyle();
  cSetStyle(const cSetStyle&) = delete;
  cSetStyle& operator=(const cSetStyle&) = delete;

  // The window's form: every move and pointer change goes through it. Set first.
  forms::Form* objForm = nullptr;

  // Replaces the window's style with WS_SYSMENU | WS_MINIMIZEBOX and hooks it.
  void SetWindowStyle(HWND hWnd);
  // Fills the work area of the window's monitor, or goes back to the place kept; the new state.
  bool CallWindowStateChange();
  bool Maximised() const noexcept { return m_Maximised; }

  forms::Event<> CloseClick;
  forms::Event<> SettingChange;
  forms::Event<std::int32_t /*theMouseStyle*/> MouseSize;

 private:
  friend struct cSetStyleProbe;  // the tests' view of a drag

  void objSubclass_MsgCome(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND& hwnd, UINT& msg, WPARAM& wParam,
                           LPARAM& lParam);
  ScreenRect WindowRect() const;
  forms::PixelRect WindowPixels() const;
  void StoreCursor(LPARAM lParam);
  void SetSizeCursor(std::int32_t zone);
  void DrawOutline(const ScreenRect& rect);
  void FillScreen();
  void EndSizing();
  // Ends a drag without resizing: the outline goes and the screen is let go.
  void CancelSizing();

  std::unique_ptr<hooks::cFormSubclass> objSubclass;
  HWND m_hWnd = nullptr;
  bool m_Maximised = false;
  TwipsPlace m_Restore;
  bool m_Sizing = false;
  std::int32_t m_Zone = kNoZone;
  POINT m_Cursor{};
  ScreenRect m_OldRect, m_NewRect;
  std::optional<win::ScopedGetDC> m_ScreenDC;  // the whole screen's, held from a press on a zone to the release
};

}  // namespace controls
