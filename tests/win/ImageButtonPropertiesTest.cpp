// The image button's caption properties on a real window: the font, the mix
// mode and the icon stored by name with their defaults, the icon placed by the
// caption's width in the caption's own font, and system colours as text colour.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "controls/ButtonFrames.h"
#include "controls/iButton.h"
#include "forms/Twips.h"
#include "forms/PropertyBag.h"
#include "resources/ResourceIds.h"
#include "win/Gdi.h"

namespace {

using controls::FontChoice;
using controls::iButton;

constexpr int kWidth = 240, kHeight = 40;
const FontChoice kBig{L"Tahoma", -28, FW_BOLD};

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

class ImageButtonProperties : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = ::CreateWindowExW(0, L"STATIC", L"button host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 200, 200, 300,
                              100, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SetCursorPos(5, 5);  // away from the button
  }
  void TearDown() override {
    button_.reset();
    ::DestroyWindow(host_);
  }
  void Make(const forms::PropertyBag& bag) {
    button_ = std::make_unique<iButton>();
    ASSERT_TRUE(button_->Create(host_, 10, 10, kWidth, kHeight, bag));
    Pump();
  }
  static forms::PropertyBag Designed(bool withIcon) {
    forms::PropertyBag bag;
    bag.Write(L"AutoSize", false);
    bag.Write(L"BackPicture", static_cast<std::int32_t>(res::kBmpAnswerButtons));
    bag.Write(L"Caption", L"WWWW");
    bag.Write(L"cFont", controls::FormatFont(kBig));
    if (withIcon) bag.Write(L"Icon", static_cast<std::int32_t>(res::kIconFile));
    return bag;
  }
  // The button's pixels, row by row.
  std::vector<COLORREF> Pixels() {
    Pump();
    std::vector<COLORREF> pixels;
    HDC dc = ::GetDC(button_->hWnd());
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) pixels.push_back(::GetPixel(dc, x, y));
    ::ReleaseDC(button_->hWnd(), dc);
    return pixels;
  }

  HWND host_ = nullptr;
  std::unique_ptr<iButton> button_;
};

TEST_F(ImageButtonProperties, FontMixModeAndIconAreStoredByNameWithTheSurfacesDefaults) {
  Make({});
  forms::PropertyBag plain;
  button_->WriteProperties(plain);
  LOGFONTW gui{};
  ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
  EXPECT_EQ(plain.ReadString(L"cFont", L""), controls::FormatFont({gui.lfFaceName, gui.lfHeight, gui.lfWeight}));
  EXPECT_EQ(plain.ReadInt(L"cDrawMode", 0), R2_COPYPEN);
  EXPECT_FALSE(plain.Has(L"Icon"));
  EXPECT_EQ(button_->Icon(), nullptr);

  forms::PropertyBag designed = Designed(true);
  designed.Write(L"cDrawMode", static_cast<std::int32_t>(R2_NOTCOPYPEN));
  Make(designed);
  ASSERT_NE(button_->Icon(), nullptr) << "the stored icon is the client's .ico resource";
  EXPECT_EQ(button_->cFont(), kBig);
  EXPECT_EQ(button_->cDrawMode(), R2_NOTCOPYPEN);
  forms::PropertyBag again;
  button_->WriteProperties(again);
  EXPECT_EQ(again.ReadInt(L"Icon", 0), res::kIconFile);
  EXPECT_EQ(again.ReadString(L"cFont", L""), L"Tahoma,-28,700");
  EXPECT_EQ(again.ReadInt(L"cDrawMode", 0), R2_NOTCOPYPEN);
}

TEST_F(ImageButtonProperties, TheIconStandsByTheCaptionsWidthInTheCaptionsFont) {
  Make(Designed(false));
  const std::vector<COLORREF> without = Pixels();
  Make(Designed(true));
  const std::vector<COLORREF> with = Pixels();
  int firstChanged = -1;
  for (int x = 0; x < kWidth && firstChanged < 0; ++x)
    for (int y = 0; y < kHeight; ++y)
      if (with[y * kWidth + x] != without[y * kWidth + x]) {
        firstChanged = x;
        break;
      }

  // Where the icon's first visible column lies, and how wide the caption is in its font.
  win::ScopedGetDC screen(nullptr);
  win::MemoryBitmapDC probe(screen, 16, 16);
  RECT all{0, 0, 16, 16};
  ::FillRect(probe.dc(), &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  ::DrawIconEx(probe.dc(), 0, 0, button_->Icon(), 0, 0, 0, nullptr, DI_NORMAL);
  int iconInk = 0;
  while (iconInk < 16 && [&] {
    for (int y = 0; y < 16; ++y)
      if (::GetPixel(probe.dc(), iconInk, y) != RGB(0, 0, 0)) return false;
    return true;
  }()) ++iconInk;
  win::UniqueHfont big(::CreateFontW(kBig.height, 0, 0, 0, kBig.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0,
                                     0, kBig.face.c_str()));
  win::ScopedSelectObject font(probe.dc(), big.get());
  SIZE caption{};
  ::GetTextExtentPoint32W(probe.dc(), L"WWWW", 4, &caption);
  ASSERT_GT(caption.cx, 60) << "the big font is in use";

  const double left = controls::IconLeft(forms::PixelsToTwips(kWidth), forms::PixelsToTwips(caption.cx),
                                        forms::PixelsToTwips(16));
  EXPECT_EQ(firstChanged, forms::TwipsToPixels(left) + iconInk);
}

TEST_F(ImageButtonProperties, ASystemColourAsTextColourDrawsInThatColour) {
  forms::PropertyBag bag = Designed(false);
  bag.Write(L"cForeColor", static_cast<std::int32_t>(0x80000000u | COLOR_HIGHLIGHT));
  Make(bag);
  EXPECT_EQ(button_->cForeColor(), 0x80000000u | COLOR_HIGHLIGHT);
  const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
  const std::vector<COLORREF> pixels = Pixels();
  EXPECT_GT(std::count(pixels.begin(), pixels.end(), highlight), 40) << "the caption in the highlight colour";
  button_->SetcForeColor(RGB(0, 0, 0));
  const std::vector<COLORREF> black = Pixels();
  EXPECT_EQ(std::count(black.begin(), black.end(), highlight), 0);
}

}  // namespace
