// Where a window goes on a monitor's work area (the monitor less the taskbar
// and any bar docked on it, on whatever edge): centred, and kept wholly on
// it where it fits. Pure; pixels unless named twips.
#pragma once

#include <cstdint>

namespace forms {

struct PixelRect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  std::int32_t width() const noexcept { return right - left; }
  std::int32_t height() const noexcept { return bottom - top; }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// A window of `width` by `height` centred in `area` (each leftover halved
// toward zero), then kept on it.
PixelRect CentredIn(const PixelRect& area, std::int32_t width, std::int32_t height);

// `window` moved, never resized, so that it lies wholly on `area`; along a
// side where it is larger than the area its left or top edge is the area's,
// so that its caption and close button stay reachable.
PixelRect KeptOn(const PixelRect& area, const PixelRect& window);

// The edge, in twips, that centres `size` twips in an area starting at
// `areaStart` and `areaSize` long: the difference rounded (halves to even),
// then halved toward zero.
std::int32_t CentredEdgeTwips(double areaStart, double areaSize, double size);

}  // namespace forms
