// The tab strip in the rounded style, the one the game window uses, read back
// by pixel from its window and compared with the rounded skin: each frame at
// its tab's Left, 26 rows high, from the normal, hovered or selected column of
// the skin; the close glyph at (Left + Width - 20, 7); captions centred in
// their boxes (Left + 12, Width - 28).
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/PropertyBag.h"
#include "resources/ResourceIds.h"
#include "tabstrip/uTab.h"
#include "tests/win/PlainTabPage.h"
#include "tests/win/StripHost.h"
#include "win/Gdi.h"

namespace {

using tabstrip::uTab;

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr int kMargin = 40;  // TabLeftSize

using testpages::Pump;

class RoundedTabs : public testpages::StripHost {
 protected:
  void SetUp() override {
    CreateStrip(1, kMargin);
    if (HasFatalFailure()) return;
    win::ScopedGetDC screen(nullptr);
    skin_.Adopt(screen, static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                          MAKEINTRESOURCEW(res::kBmpTabRounded), IMAGE_BITMAP, 0, 0,
                                                          LR_CREATEDIBSECTION)));
    for (const wchar_t* caption : {L"Alpha", L"Beta", L"Gamma"}) {
      ASSERT_TRUE(strip_->TabItems().Add(caption, std::make_shared<testpages::PlainTabPage>(), caption));
    }
    strip_->LockReDraw(false);
    strip_->SetSelected(2);
  }
  int Left(int i) { return kMargin + strip_->TabItems().Item(i)->Left(); }
  int Width(int i) { return strip_->TabItems().Item(i)->Width(); }
  // Pixels of the strip's window (x0, y0, w, h) that differ from the skin's
  // block at (sx, sy), the skin's magenta aside; and how many were compared.
  std::pair<int, int> Differences(int x0, int y0, int w, int h, int sx, int sy) {
    Pump();
    HDC dc = ::GetDC(strip_->hWnd());
    int differ = 0, compared = 0;
    for (int x = 0; x < w; ++x)
      for (int y = 0; y < h; ++y) {
        const COLORREF skin = ::GetPixel(skin_.dc(), sx + x, sy + y);
        if (skin == kMagenta) continue;
        ++compared;
        differ += ::GetPixel(dc, x0 + x, y0 + y) != skin;
      }
    ::ReleaseDC(strip_->hWnd(), dc);
    return {differ, compared};
  }
  // Whether tab i's frame ends (14 columns each, never stretched) are the
  // skin's frame at column sx; of the right end, the 8 columns right of the glyph.
  bool FrameFrom(int i, int sx) {
    const auto left = Differences(Left(i), 0, 14, 26, sx, 0);
    const auto right = Differences(Left(i) + Width(i) - 8, 0, 8, 26, sx + 124 - 8, 0);
    return left.second > 100 && left.first == 0 && right.first == 0;
  }
  bool GlyphFrom(int i, int sx) {
    const auto glyph = Differences(Left(i) + Width(i) - 20, 7, 12, 12, sx, 0);
    return glyph.second > 20 && glyph.first == 0;
  }

  win::MemoryBitmapDC skin_;
};

TEST_F(RoundedTabs, FramesStandAtTheirTabsLeftTwentySixRowsHighNormalOrSelected) {
  RECT rc{};
  ::GetClientRect(strip_->hWnd(), &rc);
  ASSERT_EQ(rc.bottom, 32);
  EXPECT_TRUE(FrameFrom(0, 1));
  EXPECT_TRUE(FrameFrom(1, 1));
  EXPECT_TRUE(FrameFrom(2, 249)) << "the selected frame";
  EXPECT_FALSE(FrameFrom(1, 249));
  // One column off is another picture.
  EXPECT_NE(Differences(Left(0) + 1, 0, 14, 26, 1, 0).first, 0);
  EXPECT_NE(Differences(Left(0), 1, 14, 26, 1, 0).first, 0);
  // Below the frames (rows 26 to 31) lies the strip's background, the skin's column 0.
  Pump();
  HDC dc = ::GetDC(strip_->hWnd());
  EXPECT_NE(::GetPixel(dc, Left(0) + 60, 29), ::GetPixel(dc, Left(0) + 60, 20));
  ::ReleaseDC(strip_->hWnd(), dc);
}

TEST_F(RoundedTabs, TheHoveredFrameAndGlyphsComeFromTheirColumnsOfTheSkin) {
  EXPECT_TRUE(GlyphFrom(0, 385));
  EXPECT_TRUE(GlyphFrom(2, 373)) << "the selected tab's glyph";
  EXPECT_FALSE(GlyphFrom(0, 373));
  ::SendMessageW(strip_->hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(Left(1) + 30, 12));
  EXPECT_EQ(strip_->HoverIndex(), 1);
  EXPECT_TRUE(FrameFrom(1, 125)) << "the hovered frame";
  const int gx = Left(1) + Width(1) - 20 + 6;
  ::SendMessageW(strip_->hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(gx, 13));
  EXPECT_TRUE(GlyphFrom(1, 397)) << "the pointer over the glyph";
  ::SendMessageW(strip_->hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(gx, 13));
  EXPECT_TRUE(GlyphFrom(1, 409)) << "the glyph pressed";
  ::SendMessageW(strip_->hWnd(), WM_MOUSELEAVE, 0, 0);
}

TEST_F(RoundedTabs, CaptionsAreCentredInBoxesTwelveInFromTheLeft) {
  strip_->TabItems().Item(0)->SetCaption(L"Ab");
  Pump();
  HDC dc = ::GetDC(strip_->hWnd());
  std::vector<int> ink;
  for (int x = Left(0); x < Left(0) + Width(0); ++x)
    for (int y = 6; y < 20; ++y) {
      const COLORREF c = ::GetPixel(dc, x, y);
      if (GetRValue(c) < 60 && GetGValue(c) < 60 && GetBValue(c) < 60 && x < Left(0) + Width(0) - 20) {
        ink.push_back(x);
        break;
      }
    }
  ::ReleaseDC(strip_->hWnd(), dc);
  ASSERT_FALSE(ink.empty());
  // The box with a glyph: Left + 12, Width - 28 wide.
  EXPECT_NEAR((ink.front() + ink.back()) / 2.0, Left(0) + 12 + (Width(0) - 28) / 2.0, 2.0);
}

}  // namespace
