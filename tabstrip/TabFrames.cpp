#include "tabstrip/TabFrames.h"

#include "tabstrip/mdlTabAPI.h"

namespace tabstrip {

namespace {
constexpr int kFrameEnd = 14;  // the ends of a frame that keep their size
}  // namespace

HDC TabFrames::Frame(HDC skin, int frameX, int frameWidth, int frameHeight, int w, int h) {
  if (w <= 0 || h <= 0) return nullptr;
  for (const Entry& e : frames_) {
    if (e.skin == skin && e.frameX == frameX && e.w == w && e.h == h) return e.picture.dc();
  }
  win::MemoryBitmapDC picture =
      mdlTabAPI::StretchSlices(w, h, skin, frameX, 0, frameWidth, frameHeight, kFrameEnd, 0, kFrameEnd, 0);
  if (!picture) return nullptr;
  frames_.push_back({skin, frameX, w, h, std::move(picture)});
  return frames_.back().picture.dc();
}

}  // namespace tabstrip
