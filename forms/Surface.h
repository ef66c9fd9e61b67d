// A retained drawing surface: what is drawn stays in a backing bitmap of the
// window's client size and is copied to the screen on WM_PAINT.
#pragma once

#include <windows.h>

#include "win/Gdi.h"

namespace forms {

class Surface {
 public:
  // Makes the surface match the window's client size, keeping what it holds.
  void Resize(HWND hwnd, COLORREF background);
  void Clear(COLORREF background);
  void Release() noexcept { bitmap_.Release(); }
  void PaintTo(HDC target, const RECT& dirty) const;

  HDC dc() const noexcept { return bitmap_.dc(); }
  int width() const noexcept { return bitmap_.width(); }
  int height() const noexcept { return bitmap_.height(); }

 private:
  win::MemoryBitmapDC bitmap_;
};

}  // namespace forms
