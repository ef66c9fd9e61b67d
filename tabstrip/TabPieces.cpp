#include "tabstrip/TabPieces.h"

#include <utility>

namespace tabstrip {

namespace {
constexpr int kFrameEnd = 14;  // the ends of a frame that keep their size
constexpr COLORREF kMagenta = RGB(255, 0, 255);
}  // namespace

const TabPieces::Piece* TabPieces::Find(HDC skin, int x, int w, int h, bool stretched) const {
  for (const Piece& p : pieces_) {
    if (p.skin == skin && p.x == x && p.w == w && p.h == h && p.stretched == stretched) return &p;
  }
  return nullptr;
}

const mdlTabAPI::KeyedPicture* TabPieces::Frame(HDC skin, int frameX, int frameWidth, int frameHeight, int w,
                                                int h) {
  if (w <= 0 || h <= 0) return nullptr;
  if (const Piece* kept = Find(skin, frameX, w, h, true)) return &kept->picture;
  const win::MemoryBitmapDC stretched =
      mdlTabAPI::StretchSlices(w, h, skin, frameX, 0, frameWidth, frameHeight, kFrameEnd, 0, kFrameEnd, 0);
  if (!stretched) return nullptr;
  pieces_.push_back({skin, frameX, w, h, true, mdlTabAPI::KeyOut(stretched.dc(), 0, 0, w, h, kMagenta)});
  return &pieces_.back().picture;
}

const mdlTabAPI::KeyedPicture* TabPieces::Glyph(HDC skin, int glyphX, int size) {
  if (const Piece* kept = Find(skin, glyphX, size, size, false)) return &kept->picture;
  pieces_.push_back({skin, glyphX, size, size, false, mdlTabAPI::KeyOut(skin, glyphX, 0, size, size, kMagenta)});
  return &pieces_.back().picture;
}

const mdlTabAPI::KeyedPicture* TabPieces::Tab(const TabLook& look) const {
  for (const WholeTab& t : tabs_) {
    if (t.look == look) return &t.picture;
  }
  return nullptr;
}

const mdlTabAPI::KeyedPicture* TabPieces::KeepTab(TabLook look, mdlTabAPI::KeyedPicture picture) {
  if (tabs_.size() >= kMaxTabs) tabs_.clear();
  tabs_.push_back({std::move(look), std::move(picture)});
  return &tabs_.back().picture;
}

}  // namespace tabstrip
