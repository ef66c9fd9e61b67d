// A label: text that a form draws on its own surface, under every control
// that has a window of its own. A label has no window, so it never hides a
// control that overlaps it.
#pragma once

#include <windows.h>

#include <string>

#include "win/UniqueHandle.h"

namespace forms {

struct Label {
  RECT box{};  // pixels, in the form's client area
  std::wstring caption;
  win::UniqueHfont font;  // null: the system's default GUI font
  COLORREF foreColor = RGB(0, 0, 0);

  // Draws the caption word-wrapped in its box, on a transparent background.
  void Paint(HDC dc) const;
};

}  // namespace forms
