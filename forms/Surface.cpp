#include "forms/Surface.h"

#include "win/UniqueHandle.h"

namespace forms {

void Surface::Resize(HWND hwnd, COLORREF background) {
  RECT rc{};
  ::GetClientRect(hwnd, &rc);
  int w = rc.right > 0 ? rc.right : 1, h = rc.bottom > 0 ? rc.bottom : 1;
  if (bitmap_ && bitmap_.width() == w && bitmap_.height() == h) return;
  win::ScopedGetDC screen(hwnd);
  win::MemoryBitmapDC fresh(screen, w, h);
  RECT all{0, 0, w, h};
  win::UniqueHbrush brush(::CreateSolidBrush(background));
  ::FillRect(fresh.dc(), &all, brush.get());
  if (bitmap_) ::BitBlt(fresh.dc(), 0, 0, bitmap_.width(), bitmap_.height(), bitmap_.dc(), 0, 0, SRCCOPY);
  bitmap_ = std::move(fresh);
}

void Surface::Clear(COLORREF background) {
  if (!bitmap_) return;
  RECT all{0, 0, bitmap_.width(), bitmap_.height()};
  win::UniqueHbrush brush(::CreateSolidBrush(background));
  ::FillRect(bitmap_.dc(), &all, brush.get());
}

void Surface::PaintTo(HDC target, const RECT& dirty) const {
  if (!bitmap_) return;
  ::BitBlt(target, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, bitmap_.dc(),
           dirty.left, dirty.top, SRCCOPY);
}

}  // namespace forms
