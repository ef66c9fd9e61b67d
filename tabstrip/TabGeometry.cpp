#include "tabstrip/TabGeometry.h"

#include <algorithm>

#include "forms/Rounding.h"

namespace tabstrip {

std::int32_t SharedTabWidth(const StripMeasures& strip, std::span<const TabBox> tabs) {
  const StyleMeasures m = MeasuresOf(strip.tabStyle);
  const std::int64_t available = std::int64_t{strip.scaleWidth} - strip.leftSize - strip.rightSize;
  const std::int64_t count = static_cast<std::int64_t>(tabs.size());
  const std::int64_t locked = std::count_if(tabs.begin(), tabs.end(), [](const TabBox& t) { return t.lockSize; });
  const std::int64_t free = strip.tabStyle == 0 ? available - m.fullWidth * locked - kSlantWidth
                                                : available - m.fullWidth * locked - m.spaceAfter * count;
  if (count <= locked) return m.fullWidth;
  const double shared = forms::RoundHalfEven(static_cast<double>(free) / static_cast<double>(count - locked));
  return shared > m.fullWidth ? m.fullWidth : static_cast<std::int32_t>(shared);
}

void LayOutTabs(std::int32_t tabStyle, std::int32_t sharedWidth, std::span<TabBox> tabs) {
  const StyleMeasures m = MeasuresOf(tabStyle);
  std::int64_t x = m.firstLeft;
  for (TabBox& tab : tabs) {
    tab.left = static_cast<std::int32_t>(x);
    tab.width = tab.lockSize ? m.fullWidth : sharedWidth;
    x += tab.width + m.spaceAfter;
  }
}

HitTestResult HitTestTabs(const StripMeasures& strip, std::span<const TabBox> tabs, std::int32_t x, std::int32_t y) {
  if (x < 0 || x > strip.scaleWidth || y < 0 || y > kHitTestBottom) return {kHitOutside, false};
  if (x < strip.leftSize || x > strip.scaleWidth - strip.rightSize) return {kHitMargin, false};
  if (tabs.empty()) return {kHitNoTab, false};
  const std::int64_t u = std::int64_t{x} - strip.leftSize;
  if (u <= kSlantWidth) return {0, false};
  const StyleMeasures m = MeasuresOf(strip.tabStyle);
  for (std::size_t i = 0; i < tabs.size(); ++i) {
    const TabBox& tab = tabs[i];
    const std::int64_t right = std::int64_t{tab.left} + tab.width;
    if (u < tab.left || u > right) continue;
    // The close hit area is one pixel larger than the glyph each way (bounds inclusive).
    const std::int64_t closeLeft = right - m.closeFromRight;
    const bool close = !tab.hideButton && u >= closeLeft && u <= closeLeft + kCloseGlyphSize && y >= m.closeTop &&
                       y <= m.closeTop + kCloseGlyphSize;
    return {static_cast<std::int32_t>(i), close};
  }
  return {kHitNoTab, false};
}

}  // namespace tabstrip
