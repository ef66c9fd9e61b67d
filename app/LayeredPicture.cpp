#include "app/LayeredPicture.h"

#include "app/LoadResourceImage.h"
#include "win/Gdi.h"

namespace app {

void LayeredPicture::Prepare(HWND hwnd) {
  Release();
  ::SetWindowLongW(hwnd, GWL_EXSTYLE, ::GetWindowLongW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
  gdiplus_.Start();
}

void LayeredPicture::Show(HWND hwnd, WORD id, const wchar_t* type) {
  if (Shown() || !gdiplus_.token()) Prepare(hwnd);
  image_ = LoadResourceImage(id, type);
  const int width = static_cast<int>(image_.width()), height = static_cast<int>(image_.height());

  win::ScopedGetDC windowDc(hwnd);
  memoryDc_.reset(::CreateCompatibleDC(windowDc));
  bitmap_.reset(::CreateCompatibleBitmap(windowDc, width, height));
  previousBitmap_ = ::SelectObject(memoryDc_.get(), bitmap_.get());
  graphics_.FromDC(memoryDc_.get());
  graphics_.DrawImage(image_, 0, 0, width, height);

  SIZE size{width, height};
  POINT source{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ::UpdateLayeredWindow(hwnd, windowDc, nullptr, &size, memoryDc_.get(), &source, 0, &blend, ULW_ALPHA);
}

void LayeredPicture::Release() noexcept {
  image_.Dispose();
  graphics_.Delete();
  gdiplus_.Shutdown();
  if (memoryDc_) ::SelectObject(memoryDc_.get(), previousBitmap_);
  previousBitmap_ = nullptr;
  bitmap_.reset();
  memoryDc_.reset();
}

}  // namespace app
