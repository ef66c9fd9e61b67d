// GDI+ through its flat interface: one session per form that draws with it, an
// image decoded from resource bytes, and a graphics surface on a DC.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <span>

#include "win/ComPtr.h"
#include "win/UniqueHandle.h"

namespace win {

class GdiplusSession {
 public:
  GdiplusSession() = default;
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  ~GdiplusSession() { Shutdown(); }

  bool Start();  // version 1, no output structure
  void Shutdown() noexcept;
  ULONG_PTR token() const noexcept { return token_; }

 private:
  ULONG_PTR token_ = 0;
};

// A picture decoded from bytes through a stream on a global memory block. GDI+
// may read the stream whenever the image is drawn, so the block and the stream
// live exactly as long as the image and are released after it is disposed.
class StreamImage {
 public:
  StreamImage() = default;
  StreamImage(const StreamImage&) = delete;
  StreamImage& operator=(const StreamImage&) = delete;
  StreamImage(StreamImage&& o) noexcept;
  StreamImage& operator=(StreamImage&& o) noexcept;
  ~StreamImage() { Dispose(); }

  static StreamImage FromBytes(std::span<const std::byte> bytes);
  void Dispose() noexcept;

  Gdiplus::GpImage* get() const noexcept { return image_; }
  explicit operator bool() const noexcept { return image_ != nullptr; }
  UINT width() const noexcept;
  UINT height() const noexcept;

 private:
  UniqueHglobal block_;
  ComPtr<IStream> stream_;
  Gdiplus::GpImage* image_ = nullptr;
};

class GdipGraphics {
 public:
  GdipGraphics() = default;
  GdipGraphics(const GdipGraphics&) = delete;
  GdipGraphics& operator=(const GdipGraphics&) = delete;
  ~GdipGraphics() { Delete(); }

  bool FromDC(HDC dc) noexcept;
  void Delete() noexcept;
  bool DrawImage(const StreamImage& image, int x, int y, int width, int height) noexcept;
  Gdiplus::GpGraphics* get() const noexcept { return graphics_; }

 private:
  Gdiplus::GpGraphics* graphics_ = nullptr;
};

}  // namespace win
