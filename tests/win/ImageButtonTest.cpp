// The image button on a real window: the frame each state shows (read back
// by pixel and compared with the strip), the caption's pressed offset, the
// transparent cut, and its answers to keys and to the real pointer.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "controls/iButton.h"
#include "forms/DeleteLater.h"
#include "resources/ResourceIds.h"
#include "win/Gdi.h"
#include "win/Messages.h"

namespace {

using controls::iButton;

void Pump(DWORD ms = 0) {
  const DWORD until = ::GetTickCount() + ms;
  do {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    if (ms) ::Sleep(10);
  } while (ms && static_cast<LONG>(::GetTickCount() - until) < 0);
}

HBITMAP Strip(WORD id) {
  return static_cast<HBITMAP>(
      ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

class ImageButton : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = ::CreateWindowExW(0, L"STATIC", L"button host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 200, 200, 300,
                              200, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    button_ = std::make_unique<iButton>();
    ASSERT_TRUE(button_->Create(host_, 10, 10, 100, 40));
    button_->Click.Bind([this] { clicks.push_back(button_->Value()); });
    ::SetCursorPos(5, 5);  // away from the button
  }
  void TearDown() override {
    button_.reset();
    ::DestroyWindow(host_);
  }
  // Whether the button shows frame `index` of `strip` (pixel for pixel, corners aside).
  bool ShowsFrame(WORD strip, int index, int frameWidth) {
    Pump();
    win::ScopedGetDC screen(nullptr);
    win::MemoryBitmapDC source;
    source.Adopt(screen, Strip(strip));
    HDC dc = ::GetDC(button_->hWnd());
    bool same = true;
    for (int x = 3; x < frameWidth - 3 && same; ++x)
      for (int y = 3; y < 15 && same; ++y) same = ::GetPixel(dc, x, y) == ::GetPixel(source.dc(), index * frameWidth + x, y);
    ::ReleaseDC(button_->hWnd(), dc);
    return same;
  }
  POINT Centre() {
    RECT rc{};
    ::GetWindowRect(button_->hWnd(), &rc);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
  }
  void Send(UINT msg, WPARAM wParam = 0) {
    ::SendMessageW(button_->hWnd(), msg, wParam, MAKELPARAM(20, 9));
    Pump();
  }

  HWND host_ = nullptr;
  std::unique_ptr<iButton> button_;
  std::vector<bool> clicks;
};

TEST_F(ImageButton, TheStripIsCutIntoFramesAndEachStateShowsItsOwn) {
  button_->SetBackPicture(Strip(res::kBmpClose));
  RECT rc{};
  ::GetClientRect(button_->hWnd(), &rc);
  EXPECT_EQ(rc.right, 43);
  EXPECT_EQ(rc.bottom, 18);
  EXPECT_TRUE(ShowsFrame(res::kBmpClose, 0, 43));
  button_->cMouseAction(1);
  EXPECT_TRUE(ShowsFrame(res::kBmpClose, 1, 43));
  EXPECT_FALSE(ShowsFrame(res::kBmpClose, 0, 43));
  // Locked: the pressed frame in every state.
  button_->SetLocked(true);
  button_->cMouseAction(0, true);
  EXPECT_TRUE(ShowsFrame(res::kBmpClose, 2, 43));
  // A toggle button shows the second group while checked; a push button cannot be checked.
  button_->SetValue(true);
  EXPECT_FALSE(button_->Value());
  button_->SetLocked(false);
  button_->SetStyle(1);
  button_->SetBackPicture(Strip(res::kBmpMinMax));
  button_->SetValue(true);
  EXPECT_TRUE(ShowsFrame(res::kBmpMinMax, 3, 25));
  button_->cMouseAction(2);
  EXPECT_TRUE(ShowsFrame(res::kBmpMinMax, 5, 25));
}

TEST_F(ImageButton, ADisabledButtonTakesNoInputAndShowsItsNormalFrame) {
  button_->SetBackPicture(Strip(res::kBmpClose));
  button_->cMouseAction(1);
  ASSERT_TRUE(ShowsFrame(res::kBmpClose, 1, 43));
  // No strip has a disabled frame: the state is drawn again at once, as the normal one.
  button_->SetEnabled(false);
  EXPECT_FALSE(::IsWindowEnabled(button_->hWnd()));
  EXPECT_TRUE(ShowsFrame(res::kBmpClose, 0, 43));
  button_->SetEnabled(true);
  EXPECT_TRUE(::IsWindowEnabled(button_->hWnd()));
}

TEST_F(ImageButton, ALockedButtonsCaptionMovesOnlyWhenPressed) {
  button_->SetAutoSize(false);
  button_->SetBackPicture(Strip(res::kBmpAnswerButtons));
  ::MoveWindow(button_->hWnd(), 10, 10, 75, 22, TRUE);
  button_->SetcForeColor(RGB(0, 0, 0));
  button_->SetCaption(L"确定");
  button_->SetLocked(true);
  auto inkLeftTop = [&] {
    Pump();
    HDC dc = ::GetDC(button_->hWnd());
    POINT first{-1, -1};
    for (int x = 0; x < 75 && first.x < 0; ++x)
      for (int y = 0; y < 22; ++y)
        if (::GetPixel(dc, x, y) == RGB(0, 0, 0)) {
          first = {x, y};
          break;
        }
    ::ReleaseDC(button_->hWnd(), dc);
    return first;
  };
  button_->cMouseAction(0, true);
  const POINT normal = inkLeftTop();
  button_->cMouseAction(1, true);
  EXPECT_EQ(inkLeftTop().x, normal.x);
  button_->cMouseAction(2, true);
  const POINT pressed = inkLeftTop();
  ASSERT_GE(normal.x, 0);
  EXPECT_EQ(pressed.x, normal.x + 1);
}

TEST_F(ImageButton, TheTransparentStyleCutsAwayTheMagentaOfItsFrame) {
  button_->SetBackPicture(Strip(res::kBmpClose));
  button_->SetcBackStyle(0);
  win::UniqueHrgn shape(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(::GetWindowRgn(button_->hWnd(), shape.get()), ERROR);
  EXPECT_FALSE(::PtInRegion(shape.get(), 0, 0)) << "the magenta corner";
  EXPECT_TRUE(::PtInRegion(shape.get(), 21, 9));
  button_->SetcBackStyle(1);
  EXPECT_EQ(::GetWindowRgn(button_->hWnd(), shape.get()), ERROR) << "opaque again: the whole rectangle";
}

TEST_F(ImageButton, EnterClicksOnKeyDownSpaceOnKeyUpUnlessTheHandlerTakesTheKey) {
  button_->SetBackPicture(Strip(res::kBmpClose));
  Send(WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(clicks.size(), 1u);
  Send(WM_KEYDOWN, VK_SPACE);
  EXPECT_EQ(clicks.size(), 1u);
  EXPECT_EQ(button_->State(), 2);
  Send(WM_KEYUP, VK_SPACE);
  EXPECT_EQ(clicks.size(), 2u);
  button_->KeyDown.Bind([](std::int16_t& code, std::int16_t&) { code = 0; });
  button_->KeyUP.Bind([](std::int16_t& code, std::int16_t&) { code = 0; });
  Send(WM_KEYDOWN, VK_RETURN);
  Send(WM_KEYDOWN, VK_SPACE);
  Send(WM_KEYUP, VK_SPACE);
  EXPECT_EQ(clicks.size(), 2u);
}

TEST_F(ImageButton, ThePointerHoversPressesAndLeavesAndThePollStopsWhenItIsGone) {
  button_->SetStyle(1);
  button_->SetBackPicture(Strip(res::kBmpMinMax));
  int overs = 0, outs = 0;
  button_->MouseOver.Bind([&] { ++overs; });
  button_->MouseOut.Bind([&] { ++outs; });
  const POINT c = Centre();
  ::SetCursorPos(c.x, c.y);
  Send(WM_MOUSEMOVE);
  EXPECT_TRUE(button_->Hovering());
  EXPECT_EQ(button_->State(), 1);
  EXPECT_EQ(overs, 1);
  // A right click: no pressed frame and no Click.
  int downs = 0, ups = 0;
  button_->MouseDown.Bind([&](std::int16_t&, std::int16_t&, float&, float&) { ++downs; });
  button_->MouseUp.Bind([&](std::int16_t&, std::int16_t&, float&, float&) { ++ups; });
  Send(WM_RBUTTONDOWN, MK_RBUTTON);
  EXPECT_NE(button_->State(), 2);
  Send(WM_RBUTTONUP);
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(ups, 1);
  EXPECT_TRUE(clicks.empty());
  // A left click on a toggle button: Value flips before Click.
  Send(WM_LBUTTONDOWN, MK_LBUTTON);
  EXPECT_EQ(button_->State(), 2);
  Send(WM_LBUTTONUP);
  EXPECT_EQ(clicks, (std::vector<bool>{true}));
  // Pressed, dragged off and released outside: normal frame, no Click, then MouseOut.
  Send(WM_LBUTTONDOWN, MK_LBUTTON);
  ::SetCursorPos(5, 5);
  Pump(150);
  EXPECT_EQ(button_->State(), 0);
  EXPECT_EQ(outs, 0) << "MouseOut waits for the release";
  ::SetCursorPos(c.x, c.y);
  Pump(150);
  EXPECT_EQ(button_->State(), 2) << "pressed again when the pointer comes back";
  ::SetCursorPos(5, 5);
  Pump(150);
  Send(WM_LBUTTONUP);
  EXPECT_EQ(clicks.size(), 1u);
  Pump(150);
  EXPECT_EQ(outs, 1);
  EXPECT_FALSE(button_->Hovering());
  EXPECT_FALSE(::KillTimer(button_->hWnd(), 1)) << "the poll no longer runs";
}

TEST_F(ImageButton, ADoubleClickFlipsAToggleButtonOnlyWithItsOneClick) {
  button_->SetStyle(1);
  button_->SetBackPicture(Strip(res::kBmpMinMax));
  const POINT c = Centre();
  ::SetCursorPos(c.x, c.y);
  Send(WM_LBUTTONDOWN, MK_LBUTTON);
  Send(WM_LBUTTONUP);
  Send(WM_LBUTTONDBLCLK, MK_LBUTTON);
  Send(WM_LBUTTONUP);
  EXPECT_EQ(clicks, (std::vector<bool>{true}));
  EXPECT_TRUE(button_->Value()) << "as the one Click saw it";
  Send(WM_LBUTTONDOWN, MK_LBUTTON);
  Send(WM_LBUTTONUP);
  EXPECT_EQ(clicks, (std::vector<bool>{true, false}));
  EXPECT_FALSE(button_->Value());
}

TEST_F(ImageButton, AButtonHandedOverFromItsOwnClickOutlivesANestedLoopInsideIt) {
  // A deleted button takes its window with it.
  auto owned = std::make_unique<iButton>();
  ASSERT_TRUE(owned->Create(host_, 120, 10, 100, 40));
  HWND hwnd = owned->hWnd();
  bool goneInside = true;
  owned->Click.Bind([&] {
    forms::DeleteLater(std::move(owned));
    // A box or a download inside the handler lets the queue run.
    for (int i = 0; i < 5; ++i) {
      win::DispatchPendingMessages();
      ::Sleep(10);
    }
    goneInside = !::IsWindow(hwnd);
  });
  ::SendMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_FALSE(goneInside) << "freed while its handler ran";
  Pump(50);
  EXPECT_FALSE(::IsWindow(hwnd)) << "deleted once the handler returned";
}

}  // namespace
