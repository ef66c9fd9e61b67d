// The borderless frame's zones, drags and places, with the worked examples.
#include <gtest/gtest.h>

#include "controls/BorderZones.h"

namespace {

using controls::HitTestBorder;
using controls::ScreenRect;
using controls::ZoneCursor;

const ScreenRect kWindow{100, 50, 1100, 750};

TEST(BorderZones, CornersWinOverEdgesAndEdgesNeedTheirMiddle) {
  EXPECT_EQ(HitTestBorder(kWindow, 103, 747), 5);  // 3 inside the left and the bottom edge
  EXPECT_EQ(controls::CursorOfZone(5), ZoneCursor::NortheastSouthwest);
  EXPECT_EQ(HitTestBorder(kWindow, 104, 53), 7);  // 4 from the left on the top edge: not 0
  EXPECT_EQ(HitTestBorder(kWindow, 1097, 747), 3);
  EXPECT_EQ(HitTestBorder(kWindow, 1097, 53), 1);
  EXPECT_EQ(HitTestBorder(kWindow, 106, 53), 0);
  EXPECT_EQ(HitTestBorder(kWindow, 1105, 400), 2);  // outside by 5 still counts
  EXPECT_EQ(HitTestBorder(kWindow, 600, 745), 4);
  EXPECT_EQ(HitTestBorder(kWindow, 95, 400), 6);
  EXPECT_EQ(HitTestBorder(kWindow, 94, 400), controls::kNoZone);
  EXPECT_EQ(HitTestBorder(kWindow, 600, 400), controls::kNoZone);
  // The edge rules need x (or y) strictly more than 5 inside the other edges.
  EXPECT_EQ(HitTestBorder(kWindow, 106, 56), controls::kNoZone);
  EXPECT_EQ(HitTestBorder(kWindow, 1094, 745), 4);
  EXPECT_EQ(HitTestBorder(kWindow, 1095, 745), 3);
}

TEST(BorderZones, EachZoneHasItsPointer) {
  const ZoneCursor expected[] = {ZoneCursor::NorthSouth,         ZoneCursor::NortheastSouthwest,
                                 ZoneCursor::WestEast,           ZoneCursor::NorthwestSoutheast,
                                 ZoneCursor::NorthSouth,         ZoneCursor::NortheastSouthwest,
                                 ZoneCursor::WestEast,           ZoneCursor::NorthwestSoutheast};
  for (int zone = 0; zone < 8; ++zone) EXPECT_EQ(controls::CursorOfZone(zone), expected[zone]) << zone;
  EXPECT_EQ(controls::CursorOfZone(-1), ZoneCursor::Arrow);
  EXPECT_EQ(controls::CursorOfZone(8), ZoneCursor::Arrow);
}

TEST(BorderZones, DraggingKeepsEightHundredBySixHundredExceptByTheTop) {
  // The right edge stops following at 800 wide and follows again beyond.
  ScreenRect r = controls::DragOutline(kWindow, 2, 901, 400);
  EXPECT_EQ(r.right, 901);
  r = controls::DragOutline(r, 2, 900, 400);
  EXPECT_EQ(r.right, 901);
  r = controls::DragOutline(r, 2, 1200, 400);
  EXPECT_EQ(r.right, 1200);
  // Bottom-left: both limits at once; each edge on its own.
  r = controls::DragOutline(kWindow, 5, 400, 600);
  EXPECT_EQ(r, (ScreenRect{100, 50, 1100, 750}));  // 700 wide and 550 high would be too small
  r = controls::DragOutline(kWindow, 5, 299, 651);
  EXPECT_EQ(r, (ScreenRect{299, 50, 1100, 651}));
  // The top, and the top-left corner, follow without a minimum.
  EXPECT_EQ(controls::DragOutline(kWindow, 0, 5, 740), (ScreenRect{100, 740, 1100, 750}));
  EXPECT_EQ(controls::DragOutline(kWindow, 7, 1090, 740), (ScreenRect{1090, 740, 1100, 750}));
  EXPECT_EQ(controls::DragOutline(kWindow, 1, 150, 10), (ScreenRect{100, 10, 150, 750}));
  EXPECT_EQ(controls::DragOutline(kWindow, 4, 0, 651), (ScreenRect{100, 50, 1100, 651}));
  EXPECT_EQ(controls::DragOutline(kWindow, 3, 901, 650), (ScreenRect{100, 50, 901, 750}));
  EXPECT_EQ(controls::DragOutline(kWindow, -1, 0, 0), kWindow);
}

TEST(BorderZones, TheFilledPlaceIsTheWorkAreaInTwipsAndTheSavedOneIsInWholeTwips) {
  // A taskbar of 40 pixels at the bottom, at the top, and a second monitor on the left.
  EXPECT_EQ(controls::FillPlace({0, 0, 1600, 860}), (controls::TwipsPlace{0, 0, 24000, 12900}));
  EXPECT_EQ(controls::FillPlace({0, 40, 1600, 900}), (controls::TwipsPlace{0, 600, 24000, 12900}));
  EXPECT_EQ(controls::FillPlace({-1280, 0, 0, 720}), (controls::TwipsPlace{-19200, 0, 19200, 10800}));
  EXPECT_EQ(controls::SavedPlace(1500.5, 2501.5, 12000.4, 9000.6), (controls::TwipsPlace{1500, 2502, 12000, 9001}));
}

}  // namespace
