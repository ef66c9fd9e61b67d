// A window titled "Velmora tab host" holding a tab strip (uTab) at its top and
// a page container below it, one plain page window per tab. Every event of
// the strip is appended to a log file, one line each, with its arguments and
// the strip's selection, tab count, hover index and state and the selected
// tab's caption after it; so are the selected page's size after each
// resize of the host and the answers to OnItemColose. It lets the tests drive
// the strip with the real pointer and lets anyone look at it under Wine.
//
//     tabhost.exe LOG STYLE [--cancel-close] [--hide N] CAPTION...
//
// STYLE is the strip's TabStyle (0 slanted, 1 rounded); --cancel-close makes
// the host refuse every close; --hide N gives tab N no close glyph.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "forms/PropertyBag.h"
#include "tabstrip/uTab.h"
#include "tests/win/PlainTabPage.h"
#include "win/Text.h"

namespace {

constexpr int kStripHeightRoom = 32;

using Page = testpages::PlainTabPage;

FILE* g_log = nullptr;
tabstrip::uTab* g_strip = nullptr;
HWND g_container = nullptr;

void Log(const std::string& line) {
  const std::int32_t selected = g_strip ? g_strip->Selected() : -1;
  tabstrip::CTabItem* item = selected >= 0 ? g_strip->TabItems().Item(selected) : nullptr;
  std::fprintf(g_log, "%s selected=%d count=%d hover=%d state=%d page=%s\n", line.c_str(), selected,
               g_strip ? g_strip->TabItems().Count() : 0, g_strip ? g_strip->HoverIndex() : -1,
               g_strip ? g_strip->HoverState() : 0, item ? win::ToUtf8(item->Caption()).c_str() : "");
  std::fflush(g_log);
}

std::string Mouse(const char* name, std::int32_t index, std::int16_t button, std::int16_t shift, float x, float y) {
  char text[160];
  std::snprintf(text, sizeof text, "%s item=%d button=%d shift=%d x=%g y=%g", name, index, button, shift, x, y);
  return text;
}

void LogSelectedPageSize() {
  const std::int32_t selected = g_strip->Selected();
  tabstrip::CTabItem* item = selected >= 0 ? g_strip->TabItems().Item(selected) : nullptr;
  if (!item || !item->Form()) return;
  RECT rc{};
  ::GetClientRect(item->Form()->hWnd(), &rc);
  Log("page " + std::to_string(selected) + " size=" + std::to_string(rc.right) + "x" + std::to_string(rc.bottom));
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SIZE:
      if (g_container) {
        ::MoveWindow(g_container, 0, kStripHeightRoom, LOWORD(lParam), HIWORD(lParam) - kStripHeightRoom, TRUE);
        if (g_strip) LogSelectedPageSize();
      }
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  g_log = _wfopen(argv[1], L"w");
  if (!g_log) return 1;
  const int style = _wtoi(argv[2]);
  bool cancelClose = false;
  int hidden = -1;
  std::vector<std::wstring> captions;
  for (int i = 3; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--cancel-close") {
      cancelClose = true;
    } else if (arg == L"--hide" && i + 1 < argc) {
      hidden = _wtoi(argv[++i]);
    } else {
      captions.push_back(arg);
    }
  }

  WNDCLASSW wc{};
  wc.lpfnWndProc = &HostProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"VelmoraTabHost";
  ::RegisterClassW(&wc);
  HWND host = ::CreateWindowExW(0, wc.lpszClassName, L"Velmora tab host", WS_POPUP | WS_CLIPCHILDREN, 100, 100,
                                800, 300, nullptr, nullptr, wc.hInstance, nullptr);
  g_container = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, kStripHeightRoom,
                                  800, 300 - kStripHeightRoom, host, nullptr, wc.hInstance, nullptr);

  auto strip = std::make_unique<tabstrip::uTab>();
  g_strip = strip.get();
  forms::PropertyBag bag;
  bag.Write(L"TabStyle", style);
  bag.Write(L"TabLeftSize", 40);
  bag.Write(L"TabRightSize", 0);
  if (!strip->Create(host, 0, 0, 800, 25, bag)) return 1;
  strip->TabChanged.Bind([] { Log("TabChanged"); });
  strip->OnMouseDown.Bind([](std::int32_t i, std::int16_t& b, std::int16_t& s, float& x, float& y) {
    Log(Mouse("OnMouseDown", i, b, s, x, y));
  });
  strip->OnMouseUp.Bind([](std::int32_t i, std::int16_t& b, std::int16_t& s, float& x, float& y) {
    Log(Mouse("OnMouseUp", i, b, s, x, y));
  });
  strip->OnMouseMove.Bind([](std::int32_t i, std::int16_t& b, std::int16_t& s, float& x, float& y) {
    Log(Mouse("OnMouseMove", i, b, s, x, y));
  });
  strip->OnMouseHover.Bind([](std::int32_t i, std::int16_t& b, std::int16_t& s, float& x, float& y) {
    Log(Mouse("OnMouseHover", i, b, s, x, y));
  });
  strip->OnDblClick.Bind([](std::int32_t i, std::int16_t& b, std::int16_t& s, float& x, float& y) {
    Log(Mouse("OnDblClick", i, b, s, x, y));
  });
  strip->OnMouseLeave.Bind([] { Log("OnMouseLeave"); });
  strip->OnItemColose.Bind([cancelClose](std::int32_t i, bool& cancel) {
    cancel = cancelClose;
    Log("OnItemColose item=" + std::to_string(i) + " cancel=" + (cancel ? "1" : "0"));
  });
  strip->SethContainerWnd(g_container);
  strip->LockReDraw(false);
  for (std::size_t i = 0; i < captions.size(); ++i) {
    strip->TabItems().Add(captions[i], std::make_shared<Page>(L"page " + captions[i]), captions[i]);
    if (static_cast<int>(i) == hidden) strip->TabItems().Item(static_cast<std::int32_t>(i))->SetHideButton(true);
  }
  strip->SetSelected(0);
  ::ShowWindow(host, SW_SHOWNORMAL);
  Log("ready count=" + std::to_string(strip->TabItems().Count()));

  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  strip.reset();
  g_strip = nullptr;
  std::fclose(g_log);
  return 0;
}
