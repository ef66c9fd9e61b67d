#include "win/GdiPlus.h"

#include <cstring>
#include <utility>

namespace win {

using namespace Gdiplus;

bool GdiplusSession::Start() {
  Shutdown();
  GdiplusStartupInput input;  // version 1
  return GdiplusStartup(&token_, &input, nullptr) == Ok;
}

void GdiplusSession::Shutdown() noexcept {
  if (token_) GdiplusShutdown(std::exchange(token_, 0));
}

StreamImage::StreamImage(StreamImage&& o) noexcept
    : block_(std::move(o.block_)), stream_(std::move(o.stream_)), image_(std::exchange(o.image_, nullptr)) {}

StreamImage& StreamImage::operator=(StreamImage&& o) noexcept {
  if (this != &o) {
    Dispose();
    image_ = std::exchange(o.image_, nullptr);
    stream_ = std::move(o.stream_);
    block_ = std::move(o.block_);
  }
  return *this;
}

StreamImage StreamImage::FromBytes(std::span<const std::byte> bytes) {
  StreamImage result;
  result.block_.reset(::GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
  if (!result.block_) return result;
  if (void* p = ::GlobalLock(result.block_.get())) {
    std::memcpy(p, bytes.data(), bytes.size());
    ::GlobalUnlock(result.block_.get());
  }
  if (FAILED(::CreateStreamOnHGlobal(result.block_.get(), FALSE, result.stream_.put()))) return result;
  DllExports::GdipLoadImageFromStream(result.stream_.get(), &result.image_);
  return result;
}

void StreamImage::Dispose() noexcept {
  if (image_) DllExports::GdipDisposeImage(std::exchange(image_, nullptr));
  stream_.reset();
  block_.reset();
}

UINT StreamImage::width() const noexcept {
  UINT w = 0;
  if (image_) DllExports::GdipGetImageWidth(image_, &w);
  return w;
}

UINT StreamImage::height() const noexcept {
  UINT h = 0;
  if (image_) DllExports::GdipGetImageHeight(image_, &h);
  return h;
}

bool GdipGraphics::FromDC(HDC dc) noexcept {
  Delete();
  return DllExports::GdipCreateFromHDC(dc, &graphics_) == Ok;
}

void GdipGraphics::Delete() noexcept {
  if (graphics_) DllExports::GdipDeleteGraphics(std::exchange(graphics_, nullptr));
}

bool GdipGraphics::DrawImage(const StreamImage& image, int x, int y, int width, int height) noexcept {
  if (!graphics_ || !image) return false;
  return DllExports::GdipDrawImageRectI(graphics_, image.get(), x, y, width, height) == Ok;
}

}  // namespace win
