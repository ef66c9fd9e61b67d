// The system libraries the client loads when first needed rather than at start.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "win/CommonControls.h"

namespace {

TEST(CommonControls, TheFirstNeedLoadsTheLibraryAndRegistersTheTooltip) {
  ASSERT_TRUE(win::LoadCommonControlClasses(ICC_WIN95_CLASSES));
  WNDCLASSEXW info{sizeof info};
  EXPECT_TRUE(::GetClassInfoExW(nullptr, TOOLTIPS_CLASSW, &info));
  HWND tooltip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                   nullptr, nullptr);
  EXPECT_NE(tooltip, nullptr);
  if (tooltip) ::DestroyWindow(tooltip);

  // A second need finds it loaded.
  EXPECT_TRUE(win::LoadCommonControlClasses(ICC_WIN95_CLASSES));
}

}  // namespace
