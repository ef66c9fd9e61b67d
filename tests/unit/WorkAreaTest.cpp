// Where a window goes on a monitor's work area: centred, kept on it, and the
// main window's centring in twips.
#include <gtest/gtest.h>

#include "forms/WorkArea.h"

namespace {

using forms::PixelRect;

TEST(WorkArea, AWindowIsCentredInTheWorkAreaWhereverItLies) {
  // A taskbar of 30 at the top of a 1920 x 1080 screen.
  EXPECT_EQ(forms::CentredIn({0, 30, 1920, 1080}, 1237, 696), (PixelRect{341, 207, 1578, 903}));
  // A second monitor left of the primary one; an odd leftover halves toward zero.
  EXPECT_EQ(forms::CentredIn({-1280, 0, 0, 1024}, 1237, 697), (PixelRect{-1259, 163, -22, 860}));
}

TEST(WorkArea, AWindowLargerThanTheWorkAreaKeepsItsTopLeftOnIt) {
  // The login backdrop on 1280 x 720 less a 40-pixel taskbar: it fits across, not down.
  EXPECT_EQ(forms::CentredIn({0, 0, 1280, 680}, 1237, 696), (PixelRect{21, 0, 1258, 696}));
  EXPECT_EQ(forms::CentredIn({100, 50, 600, 450}, 800, 600), (PixelRect{100, 50, 900, 650}));
}

TEST(WorkArea, AWindowIsMovedOntoTheWorkAreaNeverResized) {
  const PixelRect area{0, 40, 1600, 900};
  EXPECT_EQ(forms::KeptOn(area, {100, 100, 500, 400}), (PixelRect{100, 100, 500, 400})) << "already on it";
  EXPECT_EQ(forms::KeptOn(area, {1400, 800, 1800, 1100}), (PixelRect{1200, 600, 1600, 900}));
  EXPECT_EQ(forms::KeptOn(area, {-300, 0, 100, 300}), (PixelRect{0, 40, 400, 340})) << "under a top taskbar";
  EXPECT_EQ(forms::KeptOn(area, {1900, 200, 2300, 500}), (PixelRect{1200, 200, 1600, 500})) << "off to another monitor";
}

TEST(WorkArea, TheMainWindowsTwipsAreCentredWithTheDifferenceRoundedThenHalved) {
  // 15540 twips wide on a work area of 1600 pixels (24000 twips) starting at 0.
  EXPECT_EQ(forms::CentredEdgeTwips(0, 24000, 15540), 4230);
  // Starting at -1280 pixels; 0.5 and 2.5 round to even (0 and 2) before the halving.
  EXPECT_EQ(forms::CentredEdgeTwips(-19200, 19200, 19199.5), -19200);
  EXPECT_EQ(forms::CentredEdgeTwips(600, 9000, 8997.5), 601);
  EXPECT_EQ(forms::CentredEdgeTwips(0, 9000, 9003), -1) << "halved toward zero";
}

}  // namespace
