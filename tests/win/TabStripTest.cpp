// The tab strip on a real window: what it paints (read back by pixel from its
// window), how the mouse selects, hovers and closes tabs, and what it leaves
// behind. Mouse input is posted as the window system would deliver it.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/PropertyBag.h"
#include "resources/ResourceIds.h"
#include "tabstrip/mdlTabAPI.h"
#include "tabstrip/uTab.h"
#include "win/Resource.h"
#include "tests/win/PlainTabPage.h"
#include "tests/win/ProcessMemory.h"
#include "tests/win/StripHost.h"

namespace {

using tabstrip::uTab;

constexpr COLORREF kSelectedCaption = RGB(4, 96, 163);

using PlainPage = testpages::PlainTabPage;

using testpages::Pump;

// Every pixel of a window's client area as it shows it, row by row.
std::vector<COLORREF> Picture(HWND window) {
  Pump();
  RECT rc{};
  ::GetClientRect(window, &rc);
  HDC screen = ::GetDC(window);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < rc.bottom; ++y)
    for (int x = 0; x < rc.right; ++x) pixels.push_back(::GetPixel(screen, x, y));
  ::ReleaseDC(window, screen);
  return pixels;
}

class TabStrip : public testpages::StripHost {
 protected:
  void SetUp() override { CreateStrip(0, 40); }

  std::shared_ptr<PlainPage> AddTab(const std::wstring& caption) {
    auto page = std::make_shared<PlainPage>();
    EXPECT_TRUE(strip_->TabItems().Add(caption, page, caption));
    return page;
  }
  // The strip's pixel at (x, y) as its window shows it.
  COLORREF Pixel(int x, int y) {
    Pump();
    HDC dc = ::GetDC(strip_->hWnd());
    COLORREF c = ::GetPixel(dc, x, y);
    ::ReleaseDC(strip_->hWnd(), dc);
    return c;
  }
  // The columns in [x0, x1) where dark caption ink lies.
  std::vector<int> InkColumns(int x0, int x1) {
    std::vector<int> columns;
    for (int x = x0; x < x1; ++x) {
      for (int y = 7; y < 19; ++y) {
        const COLORREF c = Pixel(x, y);
        if (GetRValue(c) < 60 && GetGValue(c) < 60 && GetBValue(c) < 60) {
          columns.push_back(x);
          break;
        }
      }
    }
    return columns;
  }
  int CountColour(int x0, int x1, COLORREF colour) {
    int n = 0;
    for (int x = x0; x < x1; ++x)
      for (int y = 0; y < 25; ++y) n += Pixel(x, y) == colour;
    return n;
  }
  void Post(UINT msg, WPARAM keys, int x, int y) {
    ::SendMessageW(strip_->hWnd(), msg, keys, MAKELPARAM(x, y));
    Pump();
  }

};

TEST_F(TabStrip, NothingIsLaidOutOrPaintedBeforeLockReDraw) {
  int backgrounds = 0;
  strip_->OnDrawBackground.Bind([&](HDC, std::int32_t, std::int32_t, bool&) { ++backgrounds; });
  AddTab(L"一");
  EXPECT_EQ(strip_->Selected(), 0) << "the first tab sets the selection, without showing its page";
  EXPECT_FALSE(::IsWindowVisible(strip_->TabItems().Item(0)->Form()->hWnd()));
  AddTab(L"二");
  EXPECT_EQ(strip_->TabItems().Item(1)->Left(), 0);
  EXPECT_EQ(backgrounds, 0);
  strip_->LockReDraw(false);
  EXPECT_EQ(backgrounds, 1);
  EXPECT_EQ(strip_->TabItems().Item(1)->Left(), 122);
  RECT rc{};
  ::GetClientRect(strip_->hWnd(), &rc);
  EXPECT_EQ(rc.bottom, 25) << "the slanted style is 25 pixels high";
}

TEST_F(TabStrip, TheSelectedTabIsDrawnLastInBoldBlueAndTheOthersInBlack) {
  AddTab(L"Alpha");
  AddTab(L"Beta");
  AddTab(L"Gamma");
  strip_->LockReDraw(false);
  strip_->SetSelected(1);
  // Tab 1 spans 40 + 122 .. 40 + 230; its caption is blue, no other one is.
  EXPECT_GT(CountColour(40 + 122, 40 + 230, kSelectedCaption), 5);
  EXPECT_EQ(CountColour(40 + 14, 40 + 122 - 14, kSelectedCaption), 0);
  EXPECT_GT(CountColour(40 + 14, 40 + 122 - 14, RGB(0, 0, 0)), 5);
  EXPECT_TRUE(::IsWindowVisible(strip_->TabItems().Item(1)->Form()->hWnd()));
  // No selection: every caption black.
  strip_->SetSelected(-5);
  EXPECT_EQ(strip_->Selected(), -1);
  EXPECT_EQ(CountColour(40, 700, kSelectedCaption), 0);
  strip_->SetSelected(3);  // Count: ignored
  EXPECT_EQ(strip_->Selected(), -1);
}

TEST_F(TabStrip, AHostThatSkipsTheDefaultBackgroundShowsItsOwnInTheMarginAndBesideTheTabs) {
  strip_->OnDrawBackground.Bind([](HDC dc, std::int32_t cx, std::int32_t cy, bool& skip) {
    HBRUSH green = ::CreateSolidBrush(RGB(0, 200, 0));
    RECT rc{0, 0, cx, cy};
    ::FillRect(dc, &rc, green);
    ::DeleteObject(green);
    skip = true;
  });
  AddTab(L"Alpha");
  strip_->LockReDraw(false);
  EXPECT_EQ(Pixel(10, 12), RGB(0, 200, 0));        // left margin
  EXPECT_EQ(Pixel(40 + 300, 12), RGB(0, 200, 0));  // right of the last tab
  EXPECT_NE(Pixel(40 + 60, 12), RGB(0, 200, 0));   // on the tab
}

TEST_F(TabStrip, HoverShowsOnUnselectedTabsAndTheGlyphFollowsThePointer) {
  AddTab(L"Alpha");
  AddTab(L"Beta");
  strip_->LockReDraw(false);
  std::vector<std::int32_t> hovers;
  strip_->OnMouseHover.Bind([&](std::int32_t i, std::int16_t&, std::int16_t&, float&, float&) { hovers.push_back(i); });
  // Tab 1 (122 .. 230) is not selected: its frame changes under the pointer.
  const COLORREF before = Pixel(40 + 176, 3);
  Post(WM_MOUSEMOVE, 0, 40 + 150, 12);
  EXPECT_EQ(strip_->HoverIndex(), 1);
  EXPECT_NE(Pixel(40 + 176, 3), before);
  // Onto its own glyph (206 .. 218, 6 .. 18): state 1, no new hover event.
  Post(WM_MOUSEMOVE, 0, 40 + 212, 12);
  EXPECT_EQ(strip_->HoverState(), 1);
  EXPECT_EQ(hovers, (std::vector<std::int32_t>{1}));
  // The selected tab 0 has no hover frame.
  const COLORREF selectedFrame = Pixel(40 + 68, 3);
  Post(WM_MOUSEMOVE, 0, 40 + 60, 12);
  EXPECT_EQ(Pixel(40 + 68, 3), selectedFrame);
  EXPECT_EQ(hovers, (std::vector<std::int32_t>{1, 0}));
  // Leaving clears the hover frame, also from over a glyph.
  Post(WM_MOUSEMOVE, 0, 40 + 212, 12);
  EXPECT_EQ(strip_->HoverState(), 1);
  ::SendMessageW(strip_->hWnd(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(strip_->HoverIndex(), -1);
  EXPECT_EQ(Pixel(40 + 176, 3), before);
  Post(WM_MOUSEMOVE, 0, 10, 12);
  EXPECT_EQ(hovers.back(), -2) << "the left margin";
}

TEST_F(TabStrip, PressesSelectAndReleasesOnTheHoveredGlyphClose) {
  AddTab(L"Alpha");
  AddTab(L"Beta");
  AddTab(L"Gamma");
  strip_->LockReDraw(false);
  std::vector<std::int32_t> downs;
  int changed = 0;
  strip_->OnMouseDown.Bind([&](std::int32_t i, std::int16_t&, std::int16_t&, float&, float&) { downs.push_back(i); });
  strip_->TabChanged.Bind([&] { ++changed; });
  // The pointer really rests on the glyph: a release asks whether it is still
  // over the strip, and one found elsewhere would be a leave.
  POINT glyph{40 + 212, 12};
  ::ClientToScreen(strip_->hWnd(), &glyph);
  ::SetCursorPos(glyph.x, glyph.y);
  Pump();
  // A left press on an unselected tab's glyph only draws it pressed.
  Post(WM_MOUSEMOVE, 0, 40 + 212, 12);
  Post(WM_LBUTTONDOWN, MK_LBUTTON, 40 + 212, 12);
  EXPECT_EQ(strip_->Selected(), 0);
  EXPECT_EQ(strip_->HoverState(), 2);
  EXPECT_EQ(changed, 1);
  // Released on it, the tab closes, unless the host says no.
  bool refuse = true;
  strip_->OnItemColose.Bind([&](std::int32_t, bool& cancel) { cancel = refuse; });
  Post(WM_LBUTTONUP, 0, 40 + 212, 12);
  EXPECT_EQ(strip_->TabItems().Count(), 3);
  EXPECT_EQ(strip_->HoverState(), 0);
  refuse = false;
  Post(WM_LBUTTONDOWN, MK_LBUTTON, 40 + 212, 12);
  Post(WM_LBUTTONUP, 0, 40 + 212, 12);
  ASSERT_EQ(strip_->TabItems().Count(), 2);
  EXPECT_EQ(strip_->TabItems().Item(1)->Caption(), L"Gamma");
  // A right press selects nothing and reports item 0; the margin is -2.
  Post(WM_RBUTTONDOWN, MK_RBUTTON, 40 + 150, 12);
  EXPECT_EQ(strip_->Selected(), 0);
  Post(WM_LBUTTONDOWN, MK_LBUTTON, 20, 12);
  Post(WM_LBUTTONDOWN, MK_LBUTTON, 40 + 150, 12);
  EXPECT_EQ(strip_->Selected(), 1);
  EXPECT_EQ(downs.back(), 1);
  EXPECT_EQ(downs[downs.size() - 2], -2);
  EXPECT_EQ(downs[downs.size() - 3], 0);
  // Removing the selected tab selects tab 0.
  strip_->TabItems().Remove(1, true);
  EXPECT_EQ(strip_->Selected(), 0);
}

TEST_F(TabStrip, APressHoldsTheMouseUntilTheReleaseAndLosingItUnpressesTheGlyph) {
  AddTab(L"Alpha");
  AddTab(L"Beta");
  AddTab(L"Gamma");
  strip_->LockReDraw(false);
  HWND strip = strip_->hWnd();
  Post(WM_MOUSEMOVE, 0, 40 + 212, 12);
  Post(WM_LBUTTONDOWN, MK_LBUTTON, 40 + 212, 12);
  EXPECT_EQ(::GetCapture(), strip);
  Post(WM_MOUSELEAVE, 0, 0, 0);
  EXPECT_EQ(strip_->HoverIndex(), 1) << "a strip that holds the mouse has not been left";
  EXPECT_EQ(strip_->HoverState(), 2);
  Post(WM_LBUTTONUP, 0, 40 + 212, 12);
  EXPECT_EQ(strip_->TabItems().Count(), 2);
  EXPECT_NE(::GetCapture(), strip);
  // Another window takes the mouse while a glyph is pressed.
  Post(WM_MOUSEMOVE, 0, 40 + 212, 12);
  Post(WM_LBUTTONDOWN, MK_LBUTTON, 40 + 212, 12);
  ASSERT_EQ(strip_->HoverState(), 2);
  ::SetCapture(host_);
  Pump();
  EXPECT_EQ(strip_->HoverState(), 0);
  EXPECT_EQ(strip_->TabItems().Count(), 2);
  ::ReleaseCapture();
}

TEST_F(TabStrip, GlyphsFollowTheHoverStateAndAHiddenButtonWidensTheCaptionBox) {
  AddTab(L"Alpha");
  AddTab(L"A caption far too long for its tab");
  strip_->LockReDraw(false);
  // Tab 1 spans 122 .. 230 of the area; its glyph 206 .. 218, rows 6 .. 18.
  auto glyph = [&] {
    std::vector<COLORREF> pixels;
    for (int x = 40 + 206; x < 40 + 218; ++x)
      for (int y = 6; y < 18; ++y) pixels.push_back(Pixel(x, y));
    return pixels;
  };
  const auto normal = glyph();
  Post(WM_MOUSEMOVE, 0, 40 + 212, 12);
  const auto hovered = glyph();
  Post(WM_LBUTTONDOWN, MK_LBUTTON, 40 + 212, 12);
  const auto pressed = glyph();
  EXPECT_NE(normal, hovered);
  EXPECT_NE(hovered, pressed);
  EXPECT_NE(normal, pressed);
  ::SendMessageW(strip_->hWnd(), WM_MOUSELEAVE, 0, 0);

  // The long caption is cut with an ellipsis inside its box (122 .. 192),
  // starting at the box's left edge.
  const std::vector<int> boxed = InkColumns(40 + 122, 40 + 230);
  ASSERT_FALSE(boxed.empty());
  EXPECT_LE(boxed.front(), 40 + 122 + 3);
  EXPECT_LE(boxed.back(), 40 + 192);
  // Without a glyph the box reaches 216: more of the caption shows, and the glyph is gone.
  strip_->TabItems().Item(1)->SetHideButton(true);
  const std::vector<int> wider = InkColumns(40 + 122, 40 + 230);
  EXPECT_GT(wider.back(), boxed.back() + 5);
  EXPECT_LE(wider.back(), 40 + 216);
  EXPECT_NE(glyph(), normal);
  // A short caption is centred in its box.
  strip_->TabItems().Item(1)->SetHideButton(false);
  strip_->TabItems().Item(1)->SetCaption(L"Ab");
  const std::vector<int> centred = InkColumns(40 + 122, 40 + 230);
  ASSERT_FALSE(centred.empty());
  EXPECT_NEAR((centred.front() + centred.back()) / 2.0, 40 + 122 + 35, 4.0);
}

TEST_F(TabStrip, AfterAWidthChangeTheStripPaintsWhatAFreshStripOfThatWidthPaints) {
  strip_.reset();  // the strips of this test take its place
  for (int style : {0, 1}) {
    SCOPED_TRACE(style == 0 ? "slanted" : "rounded");
    // Eight tabs share the area: a narrower strip narrows every tab.
    auto fill = [](uTab& strip) {
      for (int i = 0; i < 8; ++i) {
        const std::wstring caption = L"第" + std::to_wstring(i + 1) + L"服";
        strip.TabItems().Add(caption, std::make_shared<PlainPage>(), caption);
      }
      strip.LockReDraw(false);
      strip.SetSelected(2);
    };
    auto make = [&](HWND host, int width) {
      auto strip = std::make_unique<uTab>();
      forms::PropertyBag bag;
      bag.Write(L"TabStyle", style);
      bag.Write(L"TabLeftSize", 40);
      bag.Write(L"TabRightSize", 0);
      EXPECT_TRUE(strip->Create(host, 0, 0, width, 40, bag));
      fill(*strip);
      return strip;
    };
    HWND otherHost = ::CreateWindowExW(0, L"STATIC", L"fresh strip host", WS_POPUP | WS_VISIBLE, 0, 300, 760, 60,
                                       nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    auto strip = make(host_, 700);
    const int wide = strip->TabItems().Item(0)->Width();
    const std::vector<COLORREF> before = Picture(strip->hWnd());
    ::MoveWindow(strip->hWnd(), 0, 0, 420, 40, TRUE);
    ASSERT_LT(strip->TabItems().Item(0)->Width(), wide) << "the tabs must narrow for the test to mean anything";
    strip->refresh();
    const std::vector<COLORREF> narrowed = Picture(strip->hWnd());
    auto fresh = make(otherHost, 420);
    EXPECT_TRUE(narrowed == Picture(fresh->hWnd())) << "a narrowed strip paints as a fresh narrow one";
    ::MoveWindow(strip->hWnd(), 0, 0, 700, 40, TRUE);
    strip->refresh();
    EXPECT_TRUE(before == Picture(strip->hWnd())) << "widened again, the strip paints as before";
    fresh.reset();
    strip.reset();
    ::DestroyWindow(otherHost);
  }
}

TEST_F(TabStrip, ARoundedStripIsItsBackgroundWithEachFrameStretchedToItsOwnTabsWidth) {
  strip_.reset();  // the strip of this test takes its place
  uTab strip;
  forms::PropertyBag bag;
  bag.Write(L"TabStyle", 1);
  bag.Write(L"TabLeftSize", 40);
  bag.Write(L"TabRightSize", 0);
  ASSERT_TRUE(strip.Create(host_, 0, 0, 700, 40, bag));
  // Tabs without caption or glyph: what shows is the background and the frames.
  for (int i = 0; i < 8; ++i) {
    ASSERT_TRUE(strip.TabItems().Add(L"", std::make_shared<PlainPage>(), L"k" + std::to_wstring(i)));
    strip.TabItems().Item(i)->SetHideButton(true);
  }
  strip.TabItems().Item(5)->SetLockSize(true);  // a tab of its own width among the shared ones
  strip.LockReDraw(false);
  strip.SetSelected(2);
  ASSERT_NE(strip.TabItems().Item(5)->Width(), strip.TabItems().Item(4)->Width());

  // The same picture drawn here from the rounded skin (bitmap 107): its first
  // column stretched to the strip, then each frame (normal at column 1,
  // selected at 249, 124 x 26, 14-pixel ends kept) with its magenta left out.
  namespace api = tabstrip::mdlTabAPI;
  win::MemoryBitmapDC skin = api::CreateBitmapDC(win::LoadBitmapResource(res::kBmpTabRounded).release());
  win::MemoryBitmapDC expected = api::CreateMemDC(700, 32);
  ::StretchBlt(expected.dc(), 0, 0, 700, 32, skin.dc(), 0, 0, 1, 28, SRCCOPY);
  auto frame = [&](int i, int column) {
    const tabstrip::CTabItem& tab = *strip.TabItems().Item(i);
    api::DrawSlices(expected.dc(), 40 + tab.Left(), 0, tab.Width(), 26, skin.dc(), column, 0, 124, 26, 14, 0, 14, 0,
                    RGB(255, 0, 255));
  };
  for (int i = 7; i >= 0; --i)
    if (i != 2) frame(i, 1);
  frame(2, 249);
  std::vector<COLORREF> drawn;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 700; ++x) drawn.push_back(::GetPixel(expected.dc(), x, y));
  EXPECT_TRUE(Picture(strip.hWnd()) == drawn);
}

TEST_F(TabStrip, StoredPropertiesAreReadWithTheirDefaultsAndAlwaysWritten) {
  forms::PropertyBag written;
  strip_->SetTabStyle(1);
  strip_->SetTabLeftSize(10);
  strip_->WriteProperties(written);
  EXPECT_EQ(written.ReadInt(L"TabStyle", -1), 1);
  EXPECT_EQ(written.ReadInt(L"TabLeftSize", -1), 10);
  EXPECT_EQ(written.ReadInt(L"TabRightSize", -1), 0);
  uTab fresh;
  ASSERT_TRUE(fresh.Create(host_, 0, 0, 300, 40, forms::PropertyBag{}));
  EXPECT_EQ(fresh.TabStyle(), 0);
  EXPECT_EQ(fresh.TabLeftSize(), 40);
  EXPECT_EQ(fresh.TabRightSize(), 0);
  uTab rounded;
  ASSERT_TRUE(rounded.Create(host_, 0, 0, 300, 40, written));
  EXPECT_EQ(rounded.TabStyle(), 1);
  EXPECT_EQ(rounded.TabLeftSize(), 10);
  RECT rc{};
  ::GetClientRect(rounded.hWnd(), &rc);
  EXPECT_EQ(rc.bottom, 32) << "the rounded style is 32 pixels high";
}

TEST_F(TabStrip, ManyTabsOnANarrowStripPaintWithoutFailing) {
  // A tab area of 5 pixels: (5 - 14) / 30 leaves no width at all.
  ::MoveWindow(strip_->hWnd(), 0, 0, 45, 25, TRUE);
  strip_->LockReDraw(false);
  for (int i = 0; i < 30; ++i) AddTab(L"tab " + std::to_wstring(i));
  EXPECT_LE(strip_->TabItems().Item(29)->Width(), 0);
  strip_->refresh();
  Post(WM_MOUSEMOVE, 0, 44, 12);
  EXPECT_EQ(strip_->HoverIndex(), 0);
  strip_->SetSelected(12);
  EXPECT_EQ(strip_->Selected(), 12);
}

TEST_F(TabStrip, AThousandAddsAndRemovesLeaveNoGdiOrUserObjectsOrMemory) {
  strip_->LockReDraw(false);
  AddTab(L"keep");
  auto cycle = [&] {
    AddTab(L"cycle");
    Post(WM_MOUSEMOVE, 0, 40 + 150, 12);
    ASSERT_TRUE(strip_->TabItems().Remove(1, true));
  };
  for (int i = 0; i < 50; ++i) cycle();  // the allocators settle first
  // Wine counts no GUI objects: the footprint probes the GDI handle table and
  // the memory as well.
  const testmemory::Footprint before = testmemory::MeasureFootprint();
  for (int i = 0; i < 1000; ++i) cycle();
  testmemory::ExpectNoGrowthSince(before);
}

}  // namespace
