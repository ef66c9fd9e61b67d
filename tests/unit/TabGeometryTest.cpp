// The strip's widths, layout and hit-test, with the worked examples of both styles.
#include <gtest/gtest.h>

#include <vector>

#include "tabstrip/TabGeometry.h"

namespace {

using tabstrip::HitTestTabs;
using tabstrip::StripMeasures;
using tabstrip::TabBox;

std::vector<TabBox> Tabs(int count, std::vector<int> locked = {}) {
  std::vector<TabBox> tabs(static_cast<std::size_t>(count));
  for (int i : locked) tabs[static_cast<std::size_t>(i)].lockSize = true;
  return tabs;
}

// Computes the shared width and lays out, as the strip does.
std::vector<TabBox> LaidOut(const StripMeasures& strip, std::vector<TabBox> tabs) {
  tabstrip::LayOutTabs(strip.tabStyle, tabstrip::SharedTabWidth(strip, tabs), tabs);
  return tabs;
}

std::vector<int> Lefts(const std::vector<TabBox>& tabs) {
  std::vector<int> lefts;
  for (const TabBox& t : tabs) lefts.push_back(t.left);
  return lefts;
}

TEST(TabGeometry, SlantedTabsShareTheRoomUpToTheirFullWidthAndOverlap) {
  const StripMeasures strip{0, 700, 40, 0};
  auto tabs = LaidOut(strip, Tabs(3));  // 646 free: 215 each, capped to 108
  EXPECT_EQ(Lefts(tabs), (std::vector<int>{14, 122, 230}));
  for (const TabBox& t : tabs) EXPECT_EQ(t.width, 108);
  // Many tabs: the free room shared out, halves to even.
  EXPECT_EQ(tabstrip::SharedTabWidth(strip, Tabs(12)), 54);               // 646 / 12 = 53.8
  EXPECT_EQ(tabstrip::SharedTabWidth({0, 200, 40, 0}, Tabs(4)), 36);      // 146 / 4 = 36.5
  EXPECT_EQ(tabstrip::SharedTabWidth({0, 200, 40, 0}, Tabs(3, {0})), 19);  // (146 - 108) / 2
}

TEST(TabGeometry, RoundedTabsLeaveFivePixelsAfterEach) {
  auto tabs = LaidOut({1, 1000, 10, 0}, Tabs(10));  // 990 - 50 = 940: 94 each
  ASSERT_EQ(tabs.size(), 10u);
  EXPECT_EQ(tabs[0].width, 94);
  EXPECT_EQ(Lefts(tabs), (std::vector<int>{0, 99, 198, 297, 396, 495, 594, 693, 792, 891}));
  // One of three locked on 410: 400 - 200 - 15 = 185 shared by two, 92.5 -> 92.
  tabs = LaidOut({1, 410, 10, 0}, Tabs(3, {1}));
  EXPECT_EQ(tabs[0].width, 92);
  EXPECT_EQ(tabs[1].width, 200);
  EXPECT_EQ(Lefts(tabs), (std::vector<int>{0, 97, 302}));
  // 93.5 goes up to the even 94.
  EXPECT_EQ(tabstrip::SharedTabWidth({1, 412, 10, 0}, Tabs(3, {1})), 94);
}

TEST(TabGeometry, LockedTabsKeepTheirFullWidthWhateverTheSpace) {
  for (int style : {0, 1}) {
    auto tabs = LaidOut({style, 100, 40, 0}, Tabs(3, {0, 1, 2}));
    const int full = style == 0 ? 108 : 200;
    for (const TabBox& t : tabs) EXPECT_EQ(t.width, full) << style;
    EXPECT_EQ(tabs[2].left - tabs[1].left, style == 0 ? 108 : 205);
  }
}

TEST(TabGeometry, ANarrowStripGivesWidthsOfZeroOrLessWithoutFailing) {
  const StripMeasures strip{0, 60, 40, 0};
  auto tabs = LaidOut(strip, Tabs(3));  // 60 - 40 - 14 = 6 -> 2 each
  EXPECT_EQ(tabs[2].left, 18);
  tabs = LaidOut({0, 40, 40, 0}, Tabs(7));  // -14 / 7 = -2
  EXPECT_EQ(tabs[0].width, -2);
  EXPECT_EQ(Lefts(tabs), (std::vector<int>{14, 12, 10, 8, 6, 4, 2}));
  EXPECT_EQ(HitTestTabs({0, 40, 40, 0}, tabs, 40, 10).index, 0);
}

TEST(TabGeometry, HitTestOutsideTheStripAndInItsMargins) {
  const StripMeasures slanted{0, 700, 40, 20};
  const StripMeasures rounded{1, 700, 40, 20};
  auto tabs = LaidOut(slanted, Tabs(3));
  for (const StripMeasures& s : {slanted, rounded}) {
    EXPECT_EQ(HitTestTabs(s, tabs, 190, 26).index, tabstrip::kHitOutside) << "the 25-pixel bound holds in both styles";
    EXPECT_EQ(HitTestTabs(s, tabs, 190, 25).index, 1);
    EXPECT_EQ(HitTestTabs(s, tabs, 100, -1).index, tabstrip::kHitOutside);
    EXPECT_EQ(HitTestTabs(s, tabs, -1, 5).index, tabstrip::kHitOutside);
    EXPECT_EQ(HitTestTabs(s, tabs, 701, 5).index, tabstrip::kHitOutside);
    EXPECT_EQ(HitTestTabs(s, tabs, 39, 5).index, tabstrip::kHitMargin);
    EXPECT_EQ(HitTestTabs(s, tabs, 681, 5).index, tabstrip::kHitMargin);
    EXPECT_EQ(HitTestTabs(s, tabs, 680, 5).index, tabstrip::kHitNoTab);  // past the last tab
    EXPECT_EQ(HitTestTabs(s, {}, 100, 5).index, tabstrip::kHitNoTab);
  }
}

TEST(TabGeometry, HitTestFindsTheFirstTabThatHoldsThePoint) {
  const StripMeasures strip{0, 700, 40, 0};
  auto tabs = LaidOut(strip, Tabs(3));  // lefts 14, 122, 230, width 108
  // The first 14 pixels of the area are tab 0's, whatever the tabs say.
  tabs[0].left = 50;
  for (int u = 0; u <= 14; ++u) EXPECT_EQ(HitTestTabs(strip, tabs, 40 + u, 10).index, 0) << u;
  EXPECT_EQ(HitTestTabs(strip, tabs, 40 + 15, 10).index, tabstrip::kHitNoTab);
  tabs = LaidOut(strip, Tabs(3));
  // The slanted left edge of tab 1 (u just below its Left) belongs to tab 0,
  // and the shared border to the first tab that holds it.
  EXPECT_EQ(HitTestTabs(strip, tabs, 40 + 122 - 7, 10).index, 0);
  EXPECT_EQ(HitTestTabs(strip, tabs, 40 + 122, 10).index, 0);
  EXPECT_EQ(HitTestTabs(strip, tabs, 40 + 123, 10).index, 1);
  EXPECT_EQ(HitTestTabs(strip, tabs, 40 + 338, 10).index, 2);
  EXPECT_EQ(HitTestTabs(strip, tabs, 40 + 339, 10).index, tabstrip::kHitNoTab);
}

TEST(TabGeometry, TheCloseFlagCoversTheGlyphAndOnePixelMoreOnTabsThatShowIt) {
  struct Case {
    StripMeasures strip;
    int left, right, top, bottom;  // the inclusive close area of tab 1, in u and y
  };
  const auto slanted = LaidOut({0, 700, 40, 0}, Tabs(3));  // tab 1: 122 .. 230
  const auto rounded = LaidOut({1, 700, 40, 0}, Tabs(3));  // tab 1: 205 .. 405
  for (const Case& c : {Case{{0, 700, 40, 0}, 230 - 24, 230 - 12, 6, 18}, Case{{1, 700, 40, 0}, 405 - 20, 405 - 8, 7, 19}}) {
    const StripMeasures strip = c.strip;
    const std::vector<TabBox>& tabs = strip.tabStyle == 0 ? slanted : rounded;
    const int left = c.left, right = c.right, top = c.top, bottom = c.bottom;
    auto hit = [&](int u, int y) { return HitTestTabs(strip, tabs, 40 + u, y); };
    EXPECT_TRUE(hit(left, top).close);
    EXPECT_TRUE(hit(right, bottom).close);
    EXPECT_EQ(hit(right, bottom).index, 1);
    EXPECT_FALSE(hit(left - 1, top).close);
    EXPECT_FALSE(hit(right + 1, top).close);
    EXPECT_FALSE(hit(left, top - 1).close);
    EXPECT_FALSE(hit(left, bottom + 1).close);
    auto hidden = tabs;
    hidden[1].hideButton = true;
    EXPECT_FALSE(HitTestTabs(strip, hidden, 40 + left + 3, top + 3).close);
    EXPECT_EQ(HitTestTabs(strip, hidden, 40 + left + 3, top + 3).index, 1);
  }
  // Outside, in a margin or on no tab, the flag is never set.
  EXPECT_FALSE(HitTestTabs({0, 700, 40, 0}, slanted, 39, 10).close);
  EXPECT_FALSE(HitTestTabs({0, 700, 40, 0}, slanted, 40 + 400, 10).close);
}

}  // namespace
