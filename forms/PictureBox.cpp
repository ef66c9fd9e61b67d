#include "forms/PictureBox.h"

#include <windowsx.h>

#include "win/Gdi.h"
#include "win/UniqueHandle.h"

namespace forms {

PictureBox::PictureBox() { surfaceBackground_ = ::GetSysColor(COLOR_BTNFACE); }

PictureBox::~PictureBox() {
  image_.Dispose();  // before its GDI+ instance ends
  gdiplus_.Shutdown();
}

void PictureBox::SetBackColor(COLORREF colour) {
  surfaceBackground_ = colour;
  Redraw();
}

void PictureBox::SetPicture(std::span<const std::byte> bytes) {
  if (!gdiplus_.token()) gdiplus_.Start();
  image_ = win::StreamImage::FromBytes(bytes);
  Redraw();
}

void PictureBox::SetPicture(HBITMAP bitmap) {
  bitmap_.reset(bitmap);
  Redraw();
}

void PictureBox::Redraw() {
  if (!window()) return;
  surface_.Resize(window(), surfaceBackground_);
  surface_.Clear(surfaceBackground_);
  if (image_) {
    win::GdipGraphics graphics;
    if (graphics.FromDC(surface_.dc()))
      graphics.DrawImage(image_, 0, 0, static_cast<int>(image_.width()), static_cast<int>(image_.height()));
  } else if (bitmap_) {
    BITMAP info{};
    ::GetObjectW(bitmap_.get(), sizeof(info), &info);
    win::UniqueHdc source(::CreateCompatibleDC(surface_.dc()));
    win::ScopedSelectObject select(source.get(), bitmap_.get());
    ::BitBlt(surface_.dc(), 0, 0, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
  }
  ::InvalidateRect(window(), nullptr, FALSE);
}

LRESULT PictureBox::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SIZE: {
      LRESULT r = Control::WindowProc(msg, wParam, lParam);
      Redraw();
      return r;
    }
    case WM_LBUTTONDOWN:
      pressed_ = true;
      ::SetCapture(window());
      MouseDown(1, 0, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP: {
      bool wasPressed = pressed_;
      pressed_ = false;
      if (::GetCapture() == window()) ::ReleaseCapture();
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      RECT rc{};
      ::GetClientRect(window(), &rc);
      if (wasPressed && ::PtInRect(&rc, pt)) Click();  // may destroy this control's form
      return 0;
    }
  }
  return Control::WindowProc(msg, wParam, lParam);
}

}  // namespace forms
