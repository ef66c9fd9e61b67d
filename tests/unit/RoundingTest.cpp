#include "forms/Rounding.h"

#include <gtest/gtest.h>

#include "forms/Twips.h"

namespace {

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(forms::CInt(0.5), 0);
  EXPECT_EQ(forms::CInt(1.5), 2);
  EXPECT_EQ(forms::CInt(2.5), 2);
  EXPECT_EQ(forms::CInt(3.5), 4);
  EXPECT_EQ(forms::CInt(-0.5), 0);
  EXPECT_EQ(forms::CInt(-1.5), -2);
  EXPECT_EQ(forms::CInt(-2.5), -2);
}

TEST(Rounding, NonHalvesGoToTheNearest) {
  EXPECT_EQ(forms::CInt(2.4999), 2);
  EXPECT_EQ(forms::CInt(2.5001), 3);
  EXPECT_EQ(forms::CInt(-2.5001), -3);
  EXPECT_EQ(forms::CLng(48.6666), 49);
}

TEST(Rounding, OutOfRangeRaisesOverflow) {
  EXPECT_EQ(forms::CInt(32767.4), 32767);
  EXPECT_EQ(forms::CInt(-32768.5), -32768);  // tie to even stays in range
  EXPECT_THROW(forms::CInt(32767.5), forms::OverflowError);
  EXPECT_THROW(forms::CInt(-32769), forms::OverflowError);
  EXPECT_THROW(forms::CInt(std::nan("")), forms::OverflowError);
  EXPECT_THROW(forms::CLng(3e9), forms::OverflowError);
}

TEST(Twips, FifteenToAPixelRoundedHalfEven) {
  EXPECT_EQ(forms::PixelsToTwips(33), 495);
  EXPECT_EQ(forms::TwipsToPixels(500), 33);     // 33.33
  EXPECT_EQ(forms::TwipsToPixels(730), 49);     // 48.67
  EXPECT_EQ(forms::TwipsToPixels(37.5), 2);     // 2.5 -> 2
  EXPECT_EQ(forms::TwipsToPixels(52.5), 4);     // 3.5 -> 4
}

}  // namespace
