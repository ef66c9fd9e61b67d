// The pieces a tab is drawn from, kept from one paint to the next: its frame
// stretched to the tab's width and its close glyph, each with the magenta of
// the skin already left out, and whole tabs (frame, caption and glyph in one
// picture) for the looks the strip has drawn. Stretching a frame (nine slices, halftone) and
// leaving a colour out (a mask made on every call) cost far more than the two
// block copies that lay a ready piece; every tab of one width and state draws
// the same pieces. The strip forgets them when the tab width or the skin changes.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
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

  // What a whole tab looks like: its frame piece, caption, font and glyph.
  struct TabLook {
    const mdlTabAPI::KeyedPicture* frame;
    std::wstring caption;
    bool selected;
    int glyphX;  // -1 without a glyph
    bool operator==(const TabLook&) const = default;
  };
  // A whole tab of that look drawn before: its picture, or an empty picture
  // (width 0) when the tab must be drawn piece by piece. Null when unknown.
  const mdlTabAPI::KeyedPicture* Tab(const TabLook& look) const;
  const mdlTabAPI::KeyedPicture* KeepTab(TabLook look, mdlTabAPI::KeyedPicture picture);

  void Clear() noexcept {
    tabs_.clear();
    pieces_.clear();
  }

 private:
  struct Piece {
    HDC skin;
    int x, w, h;
    bool stretched;
    mdlTabAPI::KeyedPicture picture;
  };
  const Piece* Find(HDC skin, int x, int w, int h, bool stretched) const;
  struct WholeTab {
    TabLook look;
    mdlTabAPI::KeyedPicture picture;
  };
  // Looks of tabs closed or renamed stay until the next clear; this many at most.
  static constexpr std::size_t kMaxTabs = 96;
  std::vector<WholeTab> tabs_;
  std::deque<Piece> pieces_;  // a deque: what Frame and Glyph returned stays in place
};

}  // namespace tabstrip
