// The tab strip's geometry, in pixels: the two tab styles and their measures,
// the width that every unlocked tab shares, each tab's place in the tab area,
// and which tab (or close glyph) lies under a point. Positions are relative to
// the tab area, which begins leftSize pixels from the strip's left edge and
// ends rightSize pixels before its right edge.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tabstrip {

// TabStyle 0 is the slanted style; any other value the rounded one.
struct StyleMeasures {
  std::int32_t height;          // of the strip
  std::int32_t fullWidth;       // the upper bound of the shared width; the width of a locked tab
  std::int32_t firstLeft;       // x of the first tab in the tab area
  std::int32_t spaceAfter;      // between one tab and the next
  std::int32_t closeFromRight;  // the close glyph's left edge is at Width minus this
  std::int32_t closeTop;        // and its top edge at this y
};

constexpr StyleMeasures MeasuresOf(std::int32_t tabStyle) {
  return tabStyle == 0 ? StyleMeasures{25, 108, 14, 0, 24, 6} : StyleMeasures{32, 200, 0, 5, 20, 7};
}

// A slanted tab is drawn from Left - kSlantWidth to Left + Width: neighbours
// overlap by this much, and the first tab's edge starts at x 0 of the area.
inline constexpr std::int32_t kSlantWidth = 14;
inline constexpr std::int32_t kCloseGlyphSize = 12;
// Points below this y are outside the strip for the hit-test, in both styles.
inline constexpr std::int32_t kHitTestBottom = 25;

// What the hit-test answers besides a tab index.
inline constexpr std::int32_t kHitNoTab = -1;    // in the tab area, on no tab
inline constexpr std::int32_t kHitMargin = -2;   // in the left or right margin
inline constexpr std::int32_t kHitOutside = -3;  // outside the strip

struct StripMeasures {
  std::int32_t tabStyle = 0;
  std::int32_t scaleWidth = 0;  // the strip's client width
  std::int32_t leftSize = 40;
  std::int32_t rightSize = 0;
};

// One tab as the geometry sees it.
struct TabBox {
  bool lockSize = false;
  bool hideButton = false;
  std::int32_t left = 0;
  std::int32_t width = 0;
};

// The width every unlocked tab gets: the free room shared out, rounded to the
// nearest integer (halves to even), never more than the full tab width. There
// is no lower bound: on a narrow strip with many tabs it reaches 0 or less.
std::int32_t SharedTabWidth(const StripMeasures& strip, std::span<const TabBox> tabs);

// Sets each tab's left and width, in index order.
void LayOutTabs(std::int32_t tabStyle, std::int32_t sharedWidth, std::span<TabBox> tabs);

struct HitTestResult {
  std::int32_t index = kHitNoTab;  // a tab index, or kHitNoTab, kHitMargin, kHitOutside
  bool close = false;              // on that tab's close glyph
};

// The tab under (x, y), in the strip's client pixels. The first kSlantWidth
// pixels of the tab area belong to tab 0; elsewhere the first tab whose span
// holds the point wins, so a slanted left edge belongs to the tab before it.
HitTestResult HitTestTabs(const StripMeasures& strip, std::span<const TabBox> tabs, std::int32_t x, std::int32_t y);

}  // namespace tabstrip
