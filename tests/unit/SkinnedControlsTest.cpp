// The image button's frames and places, and the form skin's pieces, with the
// worked examples.
#include <gtest/gtest.h>

#include <vector>

#include "controls/ButtonFrames.h"
#include "controls/ButtonText.h"
#include "controls/SkinLayout.h"

namespace {

using controls::FrameSize;
using controls::SkinPiece;

FrameSize FrameOfStrip(int widthPixels, int heightPixels, int style) {
  return controls::FrameSizeOf(controls::HimetricOfPixels(widthPixels), controls::HimetricOfPixels(heightPixels),
                               style);
}

TEST(ImageButton, StripsAreCutIntoTheirFramesAndAutoSizeTakesOne) {
  const FrameSize close = FrameOfStrip(129, 18, 0);
  EXPECT_EQ(close, (FrameSize{43, 18}));
  EXPECT_EQ(close.width * controls::kTwipsPerPixel, 645);
  EXPECT_EQ(close.height * controls::kTwipsPerPixel, 270);
  EXPECT_EQ(FrameOfStrip(150, 18, 1), (FrameSize{25, 18}));  // the maximise/restore toggle
  EXPECT_EQ(FrameOfStrip(225, 22, 0), (FrameSize{75, 22}));  // the answer buttons
  EXPECT_EQ(FrameOfStrip(72, 18, 0), (FrameSize{24, 18}));
  EXPECT_EQ(controls::FrameCount(0), 3);
  EXPECT_EQ(controls::FrameCount(1), 6);
  // The rounding comes after the division: a 10-pixel strip of six frames gives 1.67, so 2.
  EXPECT_EQ(FrameOfStrip(10, 1, 1), (FrameSize{2, 1}));
  EXPECT_EQ(FrameOfStrip(0, 0, 0), (FrameSize{0, 0}));
}

TEST(ImageButton, TheStateOfTheMomentAndItsFrame) {
  EXPECT_EQ(controls::CurrentButtonState(true, false, true), controls::kButtonOver);
  EXPECT_EQ(controls::CurrentButtonState(true, false, false), controls::kButtonNormal);
  EXPECT_EQ(controls::CurrentButtonState(true, true, true), controls::kButtonPressed);
  EXPECT_EQ(controls::CurrentButtonState(true, true, false), controls::kButtonNormal);  // dragged off while held
  EXPECT_EQ(controls::CurrentButtonState(false, true, true), controls::kButtonDisabled);
  // A checked toggle button takes the second group; a push button never does.
  EXPECT_EQ(controls::FrameIndex(1, true, false, 1, true), 4);
  EXPECT_EQ(controls::FrameIndex(1, true, false, 0, true), 1);
  EXPECT_EQ(controls::FrameIndex(2, false, false, 1, true), 2);
  // Locked: the pressed frame whatever the state; disabled: the normal one of its group.
  EXPECT_EQ(controls::FrameIndex(0, false, true, 0, true), 2);
  EXPECT_EQ(controls::FrameIndex(0, true, true, 1, true), 5);
  EXPECT_EQ(controls::FrameIndex(controls::kButtonDisabled, true, false, 1, true), 3);
  EXPECT_EQ(controls::FrameIndex(controls::kButtonDisabled, false, false, 0, true), 0);
  EXPECT_EQ(controls::FrameIndex(1, false, false, 0, false), std::nullopt);
}

TEST(ImageButton, TheIconStandsHalfAnIconLeftOfTheCentredCaptionWhichMovesRight) {
  // A 1500 x 450 twip button, a 600 x 180 caption, a 16-pixel icon (423 HIMETRIC).
  const int icon = controls::IconWidthTwips(423);
  EXPECT_EQ(icon, 240);  // 423 \ 26 = 16 pixels
  EXPECT_DOUBLE_EQ(controls::IconLeft(1500, 600, icon), 750 - 300 - 120);
  EXPECT_EQ(controls::CaptionOrigin(1500, 450, 600, 180, icon, controls::kButtonNormal),
            (controls::TwipsPoint{690, 135}));
  EXPECT_EQ(controls::CaptionOrigin(1500, 450, 600, 180, 0, controls::kButtonOver), (controls::TwipsPoint{450, 135}));
  // Pressed: one pixel right and down.
  EXPECT_EQ(controls::CaptionOrigin(1500, 450, 600, 180, 0, controls::kButtonPressed),
            (controls::TwipsPoint{465, 150}));
  // Halves go to the even twip.
  EXPECT_EQ(controls::CaptionOrigin(645, 270, 100, 91, 0, controls::kButtonNormal), (controls::TwipsPoint{272, 90}));
}

std::vector<int> Xs(const std::vector<SkinPiece>& pieces, int width) {
  std::vector<int> xs;
  for (const SkinPiece& p : pieces)
    if (p.width == width) xs.push_back(p.x);
  return xs;
}

TEST(FormSkin, TheTitleBandTilesFromThreeHundredThenTheCapsCoverTheEnds) {
  const auto pieces = controls::TitleBarPieces(1000);
  ASSERT_EQ(pieces.size(), 6u);
  EXPECT_EQ(Xs(pieces, 300), (std::vector<int>{300, 600, 900, 1200}));
  EXPECT_EQ(pieces[4], (SkinPiece{0, 0, 545, 545, 0, 0}));
  EXPECT_EQ(pieces[5], (SkinPiece{410, 0, 1000, 545, 0, 0}));  // over 0 .. 1000, last
  // Narrower than the right cap: it starts left of 0.
  EXPECT_EQ(controls::TitleBarPieces(700).back().x, -300);
  EXPECT_EQ(controls::CaptionLeft(true), 600);
  EXPECT_EQ(controls::CaptionLeft(false), 150);
}

TEST(FormSkin, TheFramesSidesStartBelowTheTitleAndCornersComeLast) {
  // 300 twips high: the side tiles fall at 300 and 600, below the form.
  auto pieces = controls::FramePieces(1200, 300);
  std::vector<int> leftYs;
  for (const SkinPiece& p : pieces)
    if (p.width == 60 && p.x == 0) leftYs.push_back(p.y);
  EXPECT_EQ(leftYs, (std::vector<int>{300, 600}));
  EXPECT_EQ(pieces.back(), (SkinPiece{910, 1215, 500, 60, 700, 240}));
  EXPECT_EQ(pieces[pieces.size() - 2], (SkinPiece{0, 1215, 545, 60, 0, 240}));
  // The bottom border: 300-twip tiles from 300 on, at the form's bottom.
  pieces = controls::FramePieces(1000, 3000);
  std::vector<int> bottomXs;
  for (const SkinPiece& p : pieces)
    if (p.height == 60 && p.width == 300) bottomXs.push_back(p.x);
  EXPECT_EQ(bottomXs, (std::vector<int>{300, 600, 900, 1200}));
  EXPECT_EQ(pieces.front().y, 2940);
  int rightTiles = 0;
  for (const SkinPiece& p : pieces) rightTiles += p.x == 940 && p.sourceX == 1350;
  EXPECT_EQ(rightTiles, 11);  // 3000 / 300 + 1
}

TEST(ImageButton, TheStoredFontReadsBackAndBadTextIsNoFont) {
  const controls::FontChoice font{L"宋体", -12, 700};
  EXPECT_EQ(controls::FormatFont(font), L"宋体,-12,700");
  EXPECT_EQ(controls::ParseFont(L"宋体,-12,700"), font);
  EXPECT_EQ(controls::ParseFont(L"A, B,9,400"), (controls::FontChoice{L"A, B", 9, 400}));
  for (const wchar_t* bad : {L"", L"Tahoma", L"Tahoma,-11", L",-11,400", L"Tahoma,x,400", L"Tahoma,-11,", L"Tahoma,-11,4 0"})
    EXPECT_FALSE(controls::ParseFont(bad)) << bad;
}

TEST(ImageButton, SystemColoursAreTheOnesWithTheHighBitByte) {
  EXPECT_EQ(controls::SystemColourIndex(0x80000005u), 5);
  EXPECT_EQ(controls::SystemColourIndex(0x80000012u), 0x12);
  EXPECT_FALSE(controls::SystemColourIndex(0x00FF00FFu));
  EXPECT_FALSE(controls::SystemColourIndex(0x01000005u));
}

}  // namespace
