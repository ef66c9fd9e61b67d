// The tab frames stretched to the widths the strip draws them at, kept from
// one paint to the next: stretching a frame (nine slices with halftone) costs
// far more than copying it, and every tab of a width and state draws the same
// picture. The strip forgets them when the tab width or the skin changes.
#pragma once

#include <windows.h>

#include <vector>

#include "win/Gdi.h"

namespace tabstrip {

class TabFrames {
 public:
  // The frame at column `frameX` of `skin` (frameWidth x frameHeight, 14-pixel
  // ends kept) stretched to w x h: made on first use, then kept. Null when a
  // size is 0 or less. Throws as mdlTabAPI::CreateMemDC.
  HDC Frame(HDC skin, int frameX, int frameWidth, int frameHeight, int w, int h);
  void Clear() noexcept { frames_.clear(); }
  std::size_t Count() const noexcept { return frames_.size(); }

 private:
  struct Entry {
    HDC skin;
    int frameX, w, h;
    win::MemoryBitmapDC picture;
  };
  std::vector<Entry> frames_;
};

}  // namespace tabstrip
