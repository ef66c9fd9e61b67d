#include "forms/WorkArea.h"

#include "forms/Rounding.h"

namespace forms {

namespace {
// The start of a span of `size` kept within [start, end).
std::int32_t KeptStart(std::int32_t at, std::int32_t size, std::int32_t start, std::int32_t end) {
  if (size >= end - start || at < start) return start;
  return at + size > end ? end - size : at;
}
}  // namespace

PixelRect CentredIn(const PixelRect& area, std::int32_t width, std::int32_t height) {
  const std::int32_t left = area.left + (area.width() - width) / 2;
  const std::int32_t top = area.top + (area.height() - height) / 2;
  return KeptOn(area, {left, top, left + width, top + height});
}

PixelRect KeptOn(const PixelRect& area, const PixelRect& window) {
  const std::int32_t left = KeptStart(window.left, window.width(), area.left, area.right);
  const std::int32_t top = KeptStart(window.top, window.height(), area.top, area.bottom);
  return {left, top, left + window.width(), top + window.height()};
}

std::int32_t CentredEdgeTwips(double areaStart, double areaSize, double size) {
  return CLng(areaStart) + CLng(areaSize - size) / 2;
}

}  // namespace forms
