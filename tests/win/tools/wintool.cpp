// Looks at the top-level windows of every program on the Wine server, for the
// end-to-end tests: the facts the window system itself keeps (style, owner,
// rectangle) that X cannot tell.
//   wintool find TITLE   first window with exactly this title: one line of facts
//   wintool list         every visible top-level window, one line each
//   wintool close TITLE  asks that window to close (WM_CLOSE)
//   wintool restore TITLE  what a taskbar button does for a minimised window
//   wintool texts TITLE  the texts of that window's child windows, one a line
//   wintool size TITLE W H  gives that window a new size
//   wintool sysclose TITLE  the system's close command, as the taskbar button's menu sends it
//   wintool endsession TITLE  a log-off as the system makes it: WM_QUERYENDSESSION, its
//                             answer printed ("answer=0|1"), then WM_ENDSESSION with it
#include <windows.h>

#include <cstdio>
#include <string>

#include "win/Text.h"

namespace {

struct Search {
  std::wstring title;
  HWND found = nullptr;
};

std::wstring TitleOf(HWND hwnd) {
  wchar_t buffer[512] = {};
  ::GetWindowTextW(hwnd, buffer, 512);
  return buffer;
}

void Describe(HWND hwnd) {
  RECT rc{};
  ::GetWindowRect(hwnd, &rc);
  LONG style = ::GetWindowLongW(hwnd, GWL_STYLE), ex = ::GetWindowLongW(hwnd, GWL_EXSTYLE);
  HWND owner = ::GetWindow(hwnd, GW_OWNER);
  bool visible = ::IsWindowVisible(hwnd);
  // The rule the Windows taskbar applies to a visible top-level window.
  bool taskbar = visible && ((ex & WS_EX_APPWINDOW) || (!owner && !(ex & WS_EX_TOOLWINDOW)));
  wchar_t cls[128] = {};
  ::GetClassNameW(hwnd, cls, 128);
  std::printf("hwnd=%p visible=%d iconic=%d x=%ld y=%ld w=%ld h=%ld style=%08lx exstyle=%08lx owner=%p "
              "taskbar=%d layered=%d class=%s title=%s\n",
              static_cast<void*>(hwnd), visible ? 1 : 0, ::IsIconic(hwnd) ? 1 : 0, rc.left, rc.top,
              rc.right - rc.left, rc.bottom - rc.top, static_cast<unsigned long>(style),
              static_cast<unsigned long>(ex), static_cast<void*>(owner), taskbar ? 1 : 0,
              (ex & WS_EX_LAYERED) ? 1 : 0, win::ToUtf8(cls).c_str(), win::ToUtf8(TitleOf(hwnd)).c_str());
}

BOOL CALLBACK MatchTitle(HWND hwnd, LPARAM p) {
  auto* s = reinterpret_cast<Search*>(p);
  if (TitleOf(hwnd) != s->title) return TRUE;
  s->found = hwnd;
  return FALSE;
}

BOOL CALLBACK DescribeVisible(HWND hwnd, LPARAM) {
  if (::IsWindowVisible(hwnd)) Describe(hwnd);
  return TRUE;
}

BOOL CALLBACK PrintChildText(HWND hwnd, LPARAM) {
  std::wstring text = TitleOf(hwnd);
  if (!text.empty()) std::printf("%s\n", win::ToUtf8(text).c_str());
  return TRUE;
}

HWND Find(const std::wstring& title) {
  Search s{title};
  ::EnumWindows(&MatchTitle, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  std::wstring cmd = argv[1];
  if (cmd == L"list") {
    ::EnumWindows(&DescribeVisible, 0);
    return 0;
  }
  if (argc < 3) return 2;
  HWND hwnd = Find(argv[2]);
  if (!hwnd) return 1;
  if (cmd == L"find") {
    Describe(hwnd);
    return 0;
  }
  if (cmd == L"texts") {
    ::EnumChildWindows(hwnd, &PrintChildText, 0);
    return 0;
  }
  if (cmd == L"restore") return ::PostMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0) ? 0 : 1;
  if (cmd == L"sysclose") return ::PostMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 1;
  if (cmd == L"close") return ::PostMessageW(hwnd, WM_CLOSE, 0, 0) ? 0 : 1;
  if (cmd == L"endsession") {
    // As the system at log-off: asks, prints the answer, then says whether the session ends.
    const LRESULT answer = ::SendMessageW(hwnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    std::printf("answer=%d\n", answer ? 1 : 0);
    std::fflush(stdout);
    ::SendMessageW(hwnd, WM_ENDSESSION, answer ? TRUE : FALSE, ENDSESSION_LOGOFF);
    std::printf("ended\n");
    return 0;
  }
  if (cmd == L"size" && argc >= 5) {
    return ::SetWindowPos(hwnd, nullptr, 0, 0, _wtoi(argv[3]), _wtoi(argv[4]), SWP_NOMOVE | SWP_NOZORDER) ? 0 : 1;
  }
  return 2;
}
