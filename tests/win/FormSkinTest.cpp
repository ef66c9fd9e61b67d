// The form skin on real windows: the title band and the frame pieces read
// back from the retained surfaces and compared with the skin itself.
#include <gtest/gtest.h>
#include <windows.h>

#include "controls/BForm.h"
#include "forms/Form.h"
#include "resources/ResourceIds.h"
#include "win/Gdi.h"

namespace {

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

// Caption ink (white, smoothed at its edges) on the blue band.
bool Whitish(COLORREF c) { return GetRValue(c) > 170 && GetGValue(c) > 170 && GetBValue(c) > 170; }

class SkinnedForm : public forms::Form {
 public:
  SkinnedForm() : Form(Design()) {}

 private:
  static forms::FormDesign Design() {
    forms::FormDesign design;
    design.caption = L"skinned";
    design.left = 50;
    design.top = 50;
    design.clientWidth = 200;
    design.clientHeight = 150;
    design.showInTaskbar = false;
    design.backColor = RGB(222, 222, 222);
    design.autoRedraw = true;
    return design;
  }
};

class FormSkin : public ::testing::Test {
 protected:
  void SetUp() override {
    HBITMAP bitmap = static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                       MAKEINTRESOURCEW(res::kBmpWindowSkin), IMAGE_BITMAP, 0, 0,
                                                       LR_CREATEDIBSECTION));
    win::ScopedGetDC screen(nullptr);
    skin.Adopt(screen, bitmap);
    ASSERT_TRUE(skin);
    form.Load();
  }
  void TearDown() override { form.Unload(); }
  COLORREF Skin(int x, int y) { return ::GetPixel(skin.dc(), x, y); }

  win::MemoryBitmapDC skin;
  SkinnedForm form;
};

TEST_F(FormSkin, TheTitleBandIsTheSkinsCapsAndTilesWithTheCaptionInWhite) {
  controls::BForm band;
  forms::PropertyBag bag;
  bag.Write(L"Caption", L"Velmora客户端");
  ASSERT_TRUE(band.Create(form.hWnd(), 0, 0, 80, 60, bag));  // 1200 twips wide
  EXPECT_EQ(band.Caption(), L"Velmora客户端");
  RECT rc{};
  ::GetClientRect(band.hWnd(), &rc);
  EXPECT_EQ(rc.bottom, 33) << "500 twips high, whatever it is given";
  form.Show();
  Pump();
  HDC dc = ::GetDC(band.hWnd());
  // The left cap over 0 .. 36 pixels; the right cap over 13 .. 80, from skin x 27.
  EXPECT_EQ(::GetPixel(dc, 3, 30), Skin(3, 30));
  EXPECT_EQ(::GetPixel(dc, 78, 30), Skin(27 + 65, 30));
  int white = 0;
  for (int x = 10; x < 80; ++x)
    for (int y = 10; y < 24; ++y) white += Whitish(::GetPixel(dc, x, y));
  EXPECT_GT(white, 10);
  // With room for a logo the caption starts at 40 pixels.
  band.SetHasLogo(true);
  Pump();
  int whiteBeforeLogoRoom = 0;
  for (int x = 10; x < 38; ++x)
    for (int y = 10; y < 24; ++y) whiteBeforeLogoRoom += Whitish(::GetPixel(dc, x, y));
  EXPECT_EQ(whiteBeforeLogoRoom, 0);
  // Nomin covers 830 .. 430 twips before the right end (25 .. 52 pixels here)
  // with plain band: the caption, which starts at 40 pixels now, is gone there.
  auto captionInk = [&] {
    int n = 0;
    for (int x = 40; x < 52; ++x)
      for (int y = 10; y < 24; ++y) n += Whitish(::GetPixel(dc, x, y));
    return n;
  };
  ASSERT_GT(captionInk(), 0);
  band.Nomin();
  Pump();
  EXPECT_EQ(captionInk(), 0);
  ::ReleaseDC(band.hWnd(), dc);
  forms::PropertyBag written;
  band.WriteProperties(written);
  EXPECT_EQ(written.ReadString(L"BackColor", L""), L"14346732");
  EXPECT_THROW(band.SetBackColor(L"blue"), std::invalid_argument);
  EXPECT_EQ(band.BackColor(), L"14346732");
}

TEST_F(FormSkin, PrintformPaintsTheSidesBelowTheTitleTheBottomAndTheCorners) {
  controls::BForm band;
  ASSERT_TRUE(band.Create(form.hWnd(), 0, 0, 200, 33));
  band.Printform(form);
  HDC dc = form.surface()->dc();
  // 200 x 150 pixels: 3000 x 2250 twips. The bottom corners at y 146, from
  // skin row 81; where the skin's rounding is magenta, the side border tiles
  // painted before them (from skin row 53 + 7) show instead.
  ASSERT_EQ(Skin(1, 82), RGB(255, 0, 255));
  EXPECT_EQ(::GetPixel(dc, 1, 147), Skin(1, 60));
  EXPECT_EQ(::GetPixel(dc, 3, 147), Skin(3, 82));
  EXPECT_EQ(::GetPixel(dc, 198, 147), Skin(92, 60));
  EXPECT_EQ(::GetPixel(dc, 196, 147), Skin(90, 82));  // the corner from skin x 61 at x 167
  // The left border tile from skin (0, 53) at 20, 40, ... pixels down.
  EXPECT_EQ(::GetPixel(dc, 1, 25), Skin(1, 58));
  EXPECT_EQ(::GetPixel(dc, 197, 45), Skin(91, 58));
  // Nothing along the top 300 twips of the sides.
  EXPECT_EQ(::GetPixel(dc, 1, 10), RGB(222, 222, 222));
  EXPECT_EQ(::GetPixel(dc, 100, 70), RGB(222, 222, 222));
}

TEST_F(FormSkin, APressRaisesMouseDownAndMovesNothingWithoutAWindowToDrag) {
  controls::BForm band;
  ASSERT_TRUE(band.Create(form.hWnd(), 0, 0, 200, 33));
  RECT before{};
  ::GetWindowRect(form.hWnd(), &before);
  std::int16_t button = 0;
  float x = 0;
  band.MouseDown.Bind([&](std::int16_t& b, std::int16_t&, float& px, float&) {
    button = b;
    x = px;
  });
  ::SendMessageW(band.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 10));
  EXPECT_EQ(button, 1);
  EXPECT_EQ(x, 450.0f) << "in twips";
  RECT after{};
  ::GetWindowRect(form.hWnd(), &after);
  EXPECT_EQ(after.left, before.left);
}

}  // namespace
