// The borderless frame behaviour on a real window: the style, the zones and
// their pointer, resizing by an edge down to the minimum, filling the screen
// and coming back, the refit, and the system Close. Mouse messages are sent as
// the window system would deliver them.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "controls/cSetStyle.h"
#include "forms/Form.h"

namespace controls {
struct cSetStyleProbe {
  static bool HoldsTheScreen(const cSetStyle& style) { return style.m_ScreenDC.has_value(); }
};
}  // namespace controls

namespace {

// The system's work area moved for a test, and put back afterwards.
class MovedWorkArea {
 public:
  explicit MovedWorkArea(RECT work) {
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &saved_, 0);
    ok_ = ::SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0) != FALSE;
  }
  ~MovedWorkArea() { ::SystemParametersInfoW(SPI_SETWORKAREA, 0, &saved_, 0); }
  bool ok() const { return ok_; }

 private:
  RECT saved_{};
  bool ok_ = false;
};

// One column of the screen, as the screen's own context reads it.
std::vector<COLORREF> ScreenColumn(int x, int top, int bottom) {
  HDC screen = ::GetDC(nullptr);
  std::vector<COLORREF> column;
  for (int y = top; y < bottom; ++y) column.push_back(::GetPixel(screen, x, y));
  ::ReleaseDC(nullptr, screen);
  return column;
}

class FramedForm : public forms::Form {
 public:
  FramedForm() : Form(Design()) {}
  int queryUnloads = 0;
  bool refuseClose = true;

 protected:
  void Form_QueryUnload(bool& cancel, forms::UnloadMode) override {
    ++queryUnloads;
    cancel = refuseClose;
  }

 private:
  static forms::FormDesign Design() {
    forms::FormDesign design;
    design.caption = L"framed";
    design.left = 100;
    design.top = 50;
    design.clientWidth = 1000;
    design.clientHeight = 700;
    design.showInTaskbar = false;
    return design;
  }
};

class FrameStyle : public ::testing::Test {
 protected:
  void SetUp() override {
    form.Load();
    style.objForm = &form;
    style.SetWindowStyle(form.hWnd());
    ::SetWindowPos(form.hWnd(), nullptr, 100, 50, 1000, 700, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    style.MouseSize.Bind([this](std::int32_t zone) { zones.push_back(zone); });
  }
  void TearDown() override {
    form.refuseClose = false;
    form.Unload();
  }
  // A mouse message at a screen point.
  void Mouse(UINT msg, WPARAM keys, int x, int y) {
    POINT p{x, y};
    ::ScreenToClient(form.hWnd(), &p);
    ::SendMessageW(form.hWnd(), msg, keys, MAKELPARAM(p.x, p.y));
  }
  RECT Rect() {
    RECT rc{};
    ::GetWindowRect(form.hWnd(), &rc);
    return rc;
  }

  FramedForm form;
  controls::cSetStyle style;
  std::vector<std::int32_t> zones;
};

TEST_F(FrameStyle, TheStyleIsASystemMenuAndAMinimiseBoxOnly) {
  // The window system keeps WS_CLIPSIBLINGS on every top-level window whatever is written.
  EXPECT_EQ(::GetWindowLongPtrW(form.hWnd(), GWL_STYLE) & ~static_cast<LONG_PTR>(WS_VISIBLE | WS_CLIPSIBLINGS),
            WS_SYSMENU | WS_MINIMIZEBOX);
}

TEST_F(FrameStyle, MovesReportTheZoneAndTheFormShowsItsPointer) {
  Mouse(WM_MOUSEMOVE, 0, 103, 747);
  Mouse(WM_MOUSEMOVE, 0, 600, 400);
  Mouse(WM_MOUSEMOVE, 0, 1098, 400);
  EXPECT_EQ(zones, (std::vector<std::int32_t>{5, -1, 2}));
  // The form answers the system's pointer question with the zone's shape.
  ::SendMessageW(form.hWnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form.hWnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_SIZEWE));
}

TEST_F(FrameStyle, DraggingTheRightEdgeResizesAndStopsAtTheMinimum) {
  Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 1098, 400);
  Mouse(WM_MOUSEMOVE, MK_LBUTTON, 100 + 850, 420);
  Mouse(WM_MOUSEMOVE, MK_LBUTTON, 100 + 700, 420);  // would leave 600: the edge stays at 850
  EXPECT_EQ(Rect().right, 1100) << "nothing moves before the release";
  Mouse(WM_LBUTTONUP, 0, 100 + 700, 420);
  const RECT rc = Rect();
  EXPECT_EQ(rc.left, 100);
  EXPECT_EQ(rc.right, 950);
  EXPECT_EQ(rc.bottom, 750);
  // A press away from every zone starts nothing.
  Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 500, 400);
  Mouse(WM_MOUSEMOVE, MK_LBUTTON, 300, 300);
  Mouse(WM_LBUTTONUP, 0, 300, 300);
  EXPECT_EQ(Rect().right, 950);
}

TEST_F(FrameStyle, ALostMouseOrEscapeEndsAnEdgeDragWithoutResizing) {
  ::ShowWindow(form.hWnd(), SW_SHOWNOACTIVATE);
  ::UpdateWindow(form.hWnd());
  const std::vector<COLORREF> before = ScreenColumn(949, 100, 140);
  for (int way = 0; way < 3; ++way) {
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 1098, 400);
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, 950, 420);
    EXPECT_TRUE(controls::cSetStyleProbe::HoldsTheScreen(style));
    EXPECT_NE(ScreenColumn(949, 100, 140), before) << "the outline is on the screen";
    if (way == 0) {
      ::SendMessageW(form.hWnd(), WM_CAPTURECHANGED, 0, 0);  // a box took the mouse
    } else if (way == 1) {
      ::SendMessageW(form.hWnd(), WM_CANCELMODE, 0, 0);
    } else {
      ::SendMessageW(form.hWnd(), WM_KEYDOWN, VK_ESCAPE, 0);
    }
    EXPECT_FALSE(controls::cSetStyleProbe::HoldsTheScreen(style)) << way;
    EXPECT_EQ(ScreenColumn(949, 100, 140), before) << "the outline is gone, " << way;
    Mouse(WM_LBUTTONUP, 0, 950, 420);
    EXPECT_EQ(Rect().right, 1100) << "the release resizes nothing, " << way;
  }
  // A capture that stays with the window (taken again) keeps the drag.
  Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 1098, 400);
  Mouse(WM_MOUSEMOVE, MK_LBUTTON, 950, 420);
  ::SendMessageW(form.hWnd(), WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(form.hWnd()));
  Mouse(WM_LBUTTONUP, 0, 950, 420);
  EXPECT_EQ(Rect().right, 950);
}

TEST_F(FrameStyle, FillingAndComingBackReturnsToTheSamePlace) {
  const RECT before = Rect();
  EXPECT_TRUE(style.CallWindowStateChange());
  RECT rc = Rect();
  EXPECT_EQ(rc.left, 0);
  EXPECT_EQ(rc.top, 0);
  EXPECT_EQ(rc.right, ::GetSystemMetrics(SM_CXSCREEN));
  // No zones and no sizing while filled.
  zones.clear();
  Mouse(WM_MOUSEMOVE, 0, 2, 300);
  EXPECT_TRUE(zones.empty());
  // A settings change puts a filled window back over the screen.
  ::MoveWindow(form.hWnd(), 10, 10, 300, 300, TRUE);
  int changes = 0;
  style.SettingChange.Bind([&] { ++changes; });
  ::SendMessageW(form.hWnd(), WM_SETTINGCHANGE, 0, 0);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(Rect().right, ::GetSystemMetrics(SM_CXSCREEN));
  EXPECT_FALSE(style.CallWindowStateChange());
  rc = Rect();
  EXPECT_EQ(rc.left, before.left);
  EXPECT_EQ(rc.top, before.top);
  EXPECT_EQ(rc.right, before.right);
  EXPECT_EQ(rc.bottom, before.bottom);
}

TEST_F(FrameStyle, FillingCoversTheWorkAreaWhateverEdgeTheTaskbarIsOn) {
  const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
  // A taskbar 40 pixels high at the top, and one 60 wide on the left.
  for (const RECT work : {RECT{0, 40, width, height}, RECT{60, 0, width, height}}) {
    MovedWorkArea moved(work);
    ASSERT_TRUE(moved.ok());
    const RECT before = Rect();
    ASSERT_TRUE(style.CallWindowStateChange());
    const RECT filled = Rect();
    EXPECT_TRUE(::EqualRect(&filled, &work)) << filled.left << "," << filled.top << " " << filled.right << ","
                                              << filled.bottom;
    EXPECT_FALSE(style.CallWindowStateChange());
    const RECT back = Rect();
    EXPECT_TRUE(::EqualRect(&back, &before));
  }
}

TEST_F(FrameStyle, TheSystemCloseIsReportedOnceAndStillReachesTheWindow) {
  int closes = 0;
  style.CloseClick.Bind([&] { ++closes; });
  ::SendMessageW(form.hWnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(form.queryUnloads, 1) << "the window's own procedure turned it into a close";
  EXPECT_TRUE(form.IsLoaded());
}

}  // namespace
