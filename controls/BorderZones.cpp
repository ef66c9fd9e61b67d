#include "controls/BorderZones.h"

#include <cstdlib>

#include "forms/Rounding.h"
#include "forms/Twips.h"

namespace controls {

namespace {
bool Near(std::int32_t edge, std::int32_t at) { return std::abs(std::int64_t{edge} - at) <= kZoneTolerance; }
bool Between(std::int32_t low, std::int32_t at, std::int32_t high) {
  return std::int64_t{low} + kZoneTolerance < at && at < std::int64_t{high} - kZoneTolerance;
}
}  // namespace

std::int32_t HitTestBorder(const ScreenRect& w, std::int32_t x, std::int32_t y) {
  if (Near(w.left, x) && Near(w.bottom, y)) return 5;
  if (Near(w.top, y) && Near(w.left, x)) return 7;
  if (Near(w.right, x) && Near(w.bottom, y)) return 3;
  if (Near(w.right, x) && Near(w.top, y)) return 1;
  if (Near(w.top, y) && Between(w.left, x, w.right)) return 0;
  if (Near(w.right, x) && Between(w.top, y, w.bottom)) return 2;
  if (Near(w.bottom, y) && Between(w.left, x, w.right)) return 4;
  if (Near(w.left, x) && Between(w.top, y, w.bottom)) return 6;
  return kNoZone;
}

ZoneCursor CursorOfZone(std::int32_t zone) {
  switch (zone) {
    case 0:
    case 4: return ZoneCursor::NorthSouth;
    case 1:
    case 5: return ZoneCursor::NortheastSouthwest;
    case 2:
    case 6: return ZoneCursor::WestEast;
    case 3:
    case 7: return ZoneCursor::NorthwestSoutheast;
    default: return ZoneCursor::Arrow;
  }
}

ScreenRect DragOutline(ScreenRect r, std::int32_t zone, std::int32_t x, std::int32_t y) {
  const bool wideEnoughRight = std::int64_t{x} > std::int64_t{r.left} + kMinDragWidth;
  const bool wideEnoughLeft = std::int64_t{r.right} - x > kMinDragWidth;
  const bool tallEnough = std::int64_t{y} > std::int64_t{r.top} + kMinDragHeight;
  switch (zone) {
    case 0: r.top = y; break;
    case 1: r.top = y; r.right = x; break;
    case 2: if (wideEnoughRight) r.right = x; break;
    case 3:
      if (wideEnoughRight) r.right = x;
      if (tallEnough) r.bottom = y;
      break;
    case 4: if (tallEnough) r.bottom = y; break;
    case 5:
      if (wideEnoughLeft) r.left = x;
      if (tallEnough) r.bottom = y;
      break;
    case 6: if (wideEnoughLeft) r.left = x; break;
    case 7: r.top = y; r.left = x; break;
    default: break;
  }
  return r;
}

TwipsPlace SavedPlace(double left, double top, double width, double height) {
  return {forms::CLng(left), forms::CLng(top), forms::CLng(width), forms::CLng(height)};
}

TwipsPlace FillPlace(const forms::PixelRect& workArea) {
  constexpr std::int32_t k = forms::kTwipsPerPixel;
  return {workArea.left * k, workArea.top * k, workArea.width() * k, workArea.height() * k};
}

}  // namespace controls
