// The tab strip's drawing helpers on real memory device contexts, read back by pixel.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "tabstrip/mdlTabAPI.h"
#include "win/Error.h"

namespace {

namespace api = tabstrip::mdlTabAPI;

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kRed = RGB(200, 0, 0), kGreen = RGB(0, 160, 0), kBlue = RGB(0, 0, 190), kGrey = RGB(90, 90, 90);

void Fill(HDC dc, int x, int y, int w, int h, COLORREF colour) {
  for (int i = x; i < x + w; ++i)
    for (int j = y; j < y + h; ++j) ::SetPixel(dc, i, j, colour);
}

// A 10 x 6 source: a 2-pixel red left band, a 3-pixel blue right band, green
// between, and a magenta top row over the middle.
win::MemoryBitmapDC Source() {
  win::MemoryBitmapDC source = api::CreateMemDC(10, 6);
  Fill(source.dc(), 0, 0, 2, 6, kRed);
  Fill(source.dc(), 2, 0, 5, 6, kGreen);
  Fill(source.dc(), 7, 0, 3, 6, kBlue);
  Fill(source.dc(), 2, 0, 5, 1, kMagenta);
  return source;
}

TEST(TabApi, DrawSlicesKeepsTheBordersAndStretchesTheMiddle) {
  win::MemoryBitmapDC source = Source();
  win::MemoryBitmapDC dest = api::CreateMemDC(40, 12);
  Fill(dest.dc(), 0, 0, 40, 12, kGrey);
  ASSERT_TRUE(api::DrawSlices(dest.dc(), 5, 2, 30, 6, source.dc(), 0, 0, 10, 6, 2, 0, 3, 0, kMagenta));
  for (int y = 2; y < 8; ++y) {
    EXPECT_EQ(::GetPixel(dest.dc(), 5, y), kRed);
    EXPECT_EQ(::GetPixel(dest.dc(), 6, y), kRed);
    EXPECT_EQ(::GetPixel(dest.dc(), 32, y), kBlue);
    EXPECT_EQ(::GetPixel(dest.dc(), 34, y), kBlue);
  }
  EXPECT_EQ(::GetPixel(dest.dc(), 7, 5), kGreen) << "the middle starts right after the left band";
  EXPECT_EQ(::GetPixel(dest.dc(), 31, 5), kGreen) << "and reaches the right band";
  EXPECT_EQ(::GetPixel(dest.dc(), 20, 2), kGrey) << "magenta leaves the destination as it was";
  EXPECT_EQ(::GetPixel(dest.dc(), 4, 5), kGrey);
  EXPECT_EQ(::GetPixel(dest.dc(), 35, 5), kGrey);

  // Without a transparent colour the magenta row is copied as it is.
  ASSERT_TRUE(api::DrawSlices(dest.dc(), 5, 2, 30, 6, source.dc(), 0, 0, 10, 6, 2, 0, 3, 0));
  EXPECT_EQ(::GetPixel(dest.dc(), 20, 2), kMagenta);
}

TEST(TabApi, AKeyedPictureDrawsWhatATransparentCopyDrawsAndKnowsWhereItShows) {
  win::MemoryBitmapDC source = Source();
  const api::KeyedPicture keyed = api::KeyOut(source.dc(), 0, 0, 10, 6, kMagenta);
  win::MemoryBitmapDC copied = api::CreateMemDC(14, 10), laid = api::CreateMemDC(14, 10);
  for (HDC dc : {copied.dc(), laid.dc()}) {
    Fill(dc, 0, 0, 14, 10, kGrey);
    Fill(dc, 4, 0, 3, 10, RGB(250, 250, 250));  // white under part of the magenta row
  }
  ASSERT_TRUE(api::TransparentCopy(copied.dc(), 2, 3, 10, 6, source.dc(), 0, 0, kMagenta));
  api::DrawKeyed(laid.dc(), 2, 3, keyed);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 14; ++x) ASSERT_EQ(::GetPixel(laid.dc(), x, y), ::GetPixel(copied.dc(), x, y)) << x << "," << y;
  EXPECT_EQ(::GetPixel(laid.dc(), 5, 3), RGB(250, 250, 250)) << "the magenta row left out";
  EXPECT_EQ(::GetPixel(laid.dc(), 5, 4), kGreen);

  EXPECT_TRUE(api::ShowsEverywhere(keyed, 0, 1, 10, 6)) << "below the magenta row";
  EXPECT_TRUE(api::ShowsEverywhere(keyed, 0, 0, 2, 6)) << "the red band, top row too";
  EXPECT_FALSE(api::ShowsEverywhere(keyed, 6, 0, 7, 1)) << "one magenta pixel";
  EXPECT_FALSE(api::ShowsEverywhere(keyed, 0, 1, 11, 6)) << "beyond the picture";
}

TEST(TabApi, DrawSlicesWithoutBordersStretchesEverythingAndNoSizeDrawsNothing) {
  win::MemoryBitmapDC source = Source();
  win::MemoryBitmapDC dest = api::CreateMemDC(40, 12);
  Fill(dest.dc(), 0, 0, 40, 12, kGrey);
  ASSERT_TRUE(api::DrawSlices(dest.dc(), 0, 0, 40, 12, source.dc(), 0, 0, 10, 6, 0, 0, 0, 0));
  EXPECT_EQ(::GetPixel(dest.dc(), 2, 6), kRed);   // the 2-pixel band is 8 wide now
  EXPECT_EQ(::GetPixel(dest.dc(), 38, 6), kBlue);
  Fill(dest.dc(), 0, 0, 40, 12, kGrey);
  for (int w : {0, -5}) {
    EXPECT_EQ(api::DrawSlices(dest.dc(), 0, 0, w, 12, source.dc(), 0, 0, 10, 6, 2, 0, 3, 0, kMagenta), 0);
    EXPECT_EQ(api::DrawSlices(dest.dc(), 0, 0, 12, 12, source.dc(), 0, 0, w, 6, 2, 0, 3, 0, kMagenta), 0);
  }
  EXPECT_EQ(::GetPixel(dest.dc(), 0, 0), kGrey);
}

TEST(TabApi, AMemoryContextTooLargeForABitmapNamesTheCall) {
  try {
    api::CreateMemDC(200000, 200000);
    FAIL() << "a 200000 x 200000 bitmap was made";
  } catch (const win::Win32Error& e) {
    EXPECT_EQ(e.message(), L"CreateCompatibleBitmap调用失败");
  }
  // A bitmap of one's own is taken over and shown in the context.
  win::MemoryBitmapDC taken = api::CreateBitmapDC(::CreateBitmap(3, 2, 1, 32, nullptr));
  EXPECT_EQ(taken.width(), 3);
  EXPECT_EQ(::GetCurrentObject(taken.dc(), OBJ_BITMAP), taken.bitmap());
  api::DeleteMemDC(taken);
  EXPECT_FALSE(taken);
}

int g_styleWrites = 0;

LRESULT CALLBACK CountStyleWrites(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_STYLECHANGED && wParam == static_cast<WPARAM>(GWL_STYLE)) ++g_styleWrites;
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

TEST(TabApi, ModifyWindowStyleWritesOnlyAChange) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = &CountStyleWrites;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"VelmoraStyleWrites";
  ::RegisterClassW(&wc);
  HWND w = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_CAPTION | WS_THICKFRAME, 0, 0, 50, 50, nullptr,
                             nullptr, wc.hInstance, nullptr);
  ASSERT_TRUE(w);
  g_styleWrites = 0;
  EXPECT_FALSE(tabstrip::mdlTabAPI::ModifyWindowStyle(w, GWL_STYLE, WS_CAPTION | WS_THICKFRAME, WS_CHILD,
                                                      SWP_FRAMECHANGED));
  const LONG_PTR style = ::GetWindowLongPtrW(w, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME), 0);
  EXPECT_NE(style & WS_CHILD, 0);
  EXPECT_EQ(g_styleWrites, 1);
  // Nothing to change: the word is not written again.
  EXPECT_FALSE(tabstrip::mdlTabAPI::ModifyWindowStyle(w, GWL_STYLE, WS_CAPTION, 0, SWP_FRAMECHANGED));
  EXPECT_EQ(::GetWindowLongPtrW(w, GWL_STYLE), style);
  EXPECT_EQ(g_styleWrites, 1);
  ::DestroyWindow(w);
}

// What a caption leaves on a white box, pixel by pixel.
std::vector<COLORREF> Drawn(const wchar_t* text) {
  win::MemoryBitmapDC dc = tabstrip::mdlTabAPI::CreateMemDC(120, 30);
  Fill(dc.dc(), 0, 0, 120, 30, RGB(255, 255, 255));
  ::SetBkMode(dc.dc(), TRANSPARENT);
  EXPECT_GT(tabstrip::mdlTabAPI::DrawTextInBox(dc.dc(), text, 0, 0, 120, 30, DT_CENTER | DT_VCENTER | DT_SINGLELINE),
            0);
  std::vector<COLORREF> pixels;
  for (int x = 0; x < 120; ++x)
    for (int y = 0; y < 30; ++y) pixels.push_back(::GetPixel(dc.dc(), x, y));
  return pixels;
}

TEST(TabApi, DrawTextInBoxDrawsCaptionsOfAnyScript) {
  // Through an ANSI code page without Chinese the caption would come out as
  // question marks; drawn in UTF-16 it does not.
  const auto caption = Drawn(L"游戏大厅");
  EXPECT_NE(caption, Drawn(L"????"));
  EXPECT_NE(caption, Drawn(L""));
}

}  // namespace
