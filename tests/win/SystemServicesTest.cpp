// The system libraries the client loads when first needed rather than at start.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <iterator>
#include <string>

#include "win/CommonControls.h"
#include "win/Shell.h"

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

// The addresses the prefix's browser was given, one a line (see scripts/wine-env).
std::string BrowserLog() {
  char unixPath[1024];
  const DWORD n = ::GetEnvironmentVariableA("VELMORA_BROWSER_LOG", unixPath, sizeof unixPath);
  if (n == 0 || n >= sizeof unixPath) return {};
  std::string path = std::string("Z:") + unixPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Shell, AnAddressReachesTheBrowserAndAMissingProgramIsAFailure) {
  const std::string address = "http://127.0.0.1:9/shell-open-" + std::to_string(::GetTickCount());
  EXPECT_TRUE(win::ShellOpen(std::wstring(address.begin(), address.end()).c_str()));
  bool reached = false;
  for (int i = 0; i < 100 && !reached; ++i, ::Sleep(100)) reached = BrowserLog().find(address) != std::string::npos;
  EXPECT_TRUE(reached) << "the default browser never got " << address;

  EXPECT_FALSE(win::ShellOpen(L"C:\\no-such-folder\\no-such-program.exe"));
}

}  // namespace
