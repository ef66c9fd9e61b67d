// The pieces a tab is drawn from, kept from one paint to the next: its frame
// stretched to the tab's width and its close glyph, each with the magenta of
// the skin already left out. Stretching a frame (nine slices, halftone) and
// leaving a colour out (a mask made on every call) cost far more than the two
// block copies that lay a ready piece; every tab of one width and state draws
// the same pieces. The strip forgets them when the tab width or the skin changes.
#pragma once

#include <windows.h>

#include <vector>

#include "tabstrip/mdlTabAPI.h"

namespace tabstrip {

class TabPieces {
 public:
  // The frame at column `frameX` of `skin` (frameWidth x frameHeight, its
  // 14-pixel ends kept) stretched to w x h. Null when a size is 0 or less.
  // Made on first use, then kept. Throws as mdlTabAPI::CreateMemDC.
  const mdlTabAPI::KeyedPicture* Frame(HDC skin, int frameX, int frameWidth, int frameHeight, int w, int h);
  // The size x size glyph at column `glyphX` of `skin`, one to one.
  const mdlTabAPI::KeyedPicture* Glyph(HDC skin, int glyphX, int size);
  void Clear() noexcept { pieces_.clear(); }
  std::size_t Count() const noexcept { return pieces_.size(); }

 private:
  struct Piece {
    HDC skin;
    int x, w, h;
    bool stretched;
    mdlTabAPI::KeyedPicture picture;
  };
  const Piece* Find(HDC skin, int x, int w, int h, bool stretched) const;
  std::vector<Piece> pieces_;
};

}  // namespace tabstrip
