// Where the login screen opens: centred on the work area of the monitor the
// pointer is on, the login window lying on its backdrop.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/LoginBgFrm.h"
#include "forms/Screen.h"

namespace {

TEST(LoginPlace, TheBackdropOpensCentredOnThePointersWorkArea) {
  RECT saved{};
  ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &saved, 0));
  const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
  RECT work{0, 50, width, height};  // a taskbar at the top
  ASSERT_TRUE(::SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0));
  ::SetCursorPos(width / 2, height / 2);
  const forms::PixelRect area = forms::WorkAreaAtPointer();
  frm::LoginBgFrm().Load();
  RECT rc{};
  ::GetWindowRect(frm::LoginBgFrm().hWnd(), &rc);
  frm::LoginBgFrm().Unload();
  ::SystemParametersInfoW(SPI_SETWORKAREA, 0, &saved, 0);
  // The window keeps the outer size its design gave it (its frame was cut afterwards).
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  ASSERT_GE(w, 1237);
  ASSERT_GE(h, 696);
  const forms::PixelRect expected = forms::CentredIn(area, w, h);
  EXPECT_EQ(rc.left, expected.left);
  EXPECT_EQ(rc.top, expected.top);
  // Wholly on the work area where it fits: never above a top taskbar.
  EXPECT_GE(rc.top, area.top);
  EXPECT_GE(rc.left, area.left);
  EXPECT_EQ(area.top, 50) << "the work area as set";
  if (area.width() >= w) EXPECT_LE(rc.right, area.right);
}

}  // namespace
