// The frame behaviour of a borderless window as arithmetic: which border zone
// a point lies in, the pointer shape of each zone, how a drag by a zone moves
// the outline's edges (keeping at least 800 x 600 pixels when dragged by the
// right, bottom or left side), and the place that fills a monitor's work
// area. Screen pixels for zones and drags; twips for places.
#pragma once

#include <cstdint>

#include "forms/WorkArea.h"

namespace controls {

// Zones clockwise from the top edge; kNoZone elsewhere.
inline constexpr std::int32_t kNoZone = -1;
inline constexpr std::int32_t kZoneTolerance = 5;  // pixels on either side of an edge
inline constexpr std::int32_t kMinDragWidth = 800;
inline constexpr std::int32_t kMinDragHeight = 600;

struct ScreenRect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// The zone of (x, y) for a window at `window`; corners win over edges.
std::int32_t HitTestBorder(const ScreenRect& window, std::int32_t x, std::int32_t y);

enum class ZoneCursor { Arrow, NorthSouth, NortheastSouthwest, WestEast, NorthwestSoutheast };
ZoneCursor CursorOfZone(std::int32_t zone);

// The outline after the pointer moved to (x, y) during a drag by `zone`.
ScreenRect DragOutline(ScreenRect outline, std::int32_t zone, std::int32_t x, std::int32_t y);

// A form's place in twips.
struct TwipsPlace {
  std::int32_t left = 0, top = 0, width = 0, height = 0;
  friend bool operator==(const TwipsPlace&, const TwipsPlace&) = default;
};

// The place kept to come back to: each measure rounded to a whole twip (halves to even).
TwipsPlace SavedPlace(double left, double top, double width, double height);
// The whole work area of a monitor (pixels), wherever its taskbar stands.
TwipsPlace FillPlace(const forms::PixelRect& workArea);

}  // namespace controls
