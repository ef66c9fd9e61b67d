// Scoped GDI helpers: selection, window DCs and paint cycles undo themselves.
#pragma once

#include <windows.h>

#include <utility>

namespace win {

class ScopedSelectObject {
 public:
  ScopedSelectObject(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), previous_(::SelectObject(dc, obj)) {}
  ScopedSelectObject(const ScopedSelectObject&) = delete;
  ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;
  ~ScopedSelectObject() {
    if (previous_ && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

class ScopedGetDC {
 public:
  explicit ScopedGetDC(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
  ScopedGetDC(const ScopedGetDC&) = delete;
  ScopedGetDC& operator=(const ScopedGetDC&) = delete;
  ~ScopedGetDC() {
    if (dc_) ::ReleaseDC(hwnd_, dc_);
  }
  HDC get() const noexcept { return dc_; }
  operator HDC() const noexcept { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

class ScopedPaint {
 public:
  explicit ScopedPaint(HWND hwnd) noexcept : hwnd_(hwnd) { dc_ = ::BeginPaint(hwnd, &ps_); }
  ScopedPaint(const ScopedPaint&) = delete;
  ScopedPaint& operator=(const ScopedPaint&) = delete;
  ~ScopedPaint() { ::EndPaint(hwnd_, &ps_); }
  HDC get() const noexcept { return dc_; }
  operator HDC() const noexcept { return dc_; }
  const RECT& dirty() const noexcept { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_ = nullptr;
};

// A memory DC holding one bitmap. The bitmap is selected in for the life of the
// object and the DC's original bitmap is put back before either is deleted.
class MemoryBitmapDC {
 public:
  MemoryBitmapDC() = default;
  MemoryBitmapDC(HDC compatibleWith, int width, int height) { Create(compatibleWith, width, height); }
  MemoryBitmapDC(const MemoryBitmapDC&) = delete;
  MemoryBitmapDC& operator=(const MemoryBitmapDC&) = delete;
  MemoryBitmapDC(MemoryBitmapDC&& o) noexcept { *this = std::move(o); }
  MemoryBitmapDC& operator=(MemoryBitmapDC&& o) noexcept {
    if (this != &o) {
      Release();
      dc_ = std::exchange(o.dc_, nullptr);
      bitmap_ = std::exchange(o.bitmap_, nullptr);
      previous_ = std::exchange(o.previous_, nullptr);
      width_ = std::exchange(o.width_, 0);
      height_ = std::exchange(o.height_, 0);
    }
    return *this;
  }
  ~MemoryBitmapDC() { Release(); }

  // Takes ownership of an existing bitmap (e.g. one loaded from the resources).
  void Adopt(HDC compatibleWith, HBITMAP bitmap) {
    Release();
    dc_ = ::CreateCompatibleDC(compatibleWith);
    bitmap_ = bitmap;
    if (dc_ && bitmap_) previous_ = ::SelectObject(dc_, bitmap_);
    BITMAP info{};
    if (bitmap_ && ::GetObjectW(bitmap_, sizeof(info), &info)) {
      width_ = info.bmWidth;
      height_ = info.bmHeight;
    }
  }
  void Create(HDC compatibleWith, int width, int height) {
    Adopt(compatibleWith, ::CreateCompatibleBitmap(compatibleWith, width, height));
  }
  void Release() noexcept {
    if (dc_ && previous_) ::SelectObject(dc_, previous_);
    if (bitmap_) ::DeleteObject(bitmap_);
    if (dc_) ::DeleteDC(dc_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    previous_ = nullptr;
    width_ = height_ = 0;
  }

  HDC dc() const noexcept { return dc_; }
  HBITMAP bitmap() const noexcept { return bitmap_; }
  int width() const noexcept { return width_; }
  int height() const noexcept { return height_; }
  explicit operator bool() const noexcept { return dc_ != nullptr && bitmap_ != nullptr; }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace win
