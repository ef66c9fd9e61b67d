// A picture resource shown as the whole content of a layered window, with its
// per-pixel alpha: the splash and the login backdrop. Each window that shows
// one runs its own GDI+ instance for as long as it shows the picture.
#pragma once

#include <windows.h>

#include "win/GdiPlus.h"
#include "win/UniqueHandle.h"

namespace app {

class LayeredPicture {
 public:
  LayeredPicture() = default;
  LayeredPicture(const LayeredPicture&) = delete;
  LayeredPicture& operator=(const LayeredPicture&) = delete;
  ~LayeredPicture() { Release(); }

  // Makes `hwnd` layered and shows the picture (id, type) as its content; the
  // window takes the picture's size and keeps its position. GDI and GDI+
  // results are not looked at: a missing picture leaves the window empty.
  void Show(HWND hwnd, WORD id, const wchar_t* type);
  // The first half of Show: the window becomes layered and GDI+ starts, for a
  // window whose picture is drawn later.
  void Prepare(HWND hwnd);
  bool Shown() const noexcept { return memoryDc_.get() != nullptr; }
  // Disposes the image, deletes the graphics, shuts GDI+ down, puts the
  // previous bitmap back and deletes the bitmap and the memory DC, in that order.
  void Release() noexcept;

 private:
  win::UniqueHdc memoryDc_;
  HGDIOBJ previousBitmap_ = nullptr;
  win::UniqueHbitmap bitmap_;
  win::GdiplusSession gdiplus_;
  win::GdipGraphics graphics_;
  win::StreamImage image_;
};

}  // namespace app
