#include "browser/WebView.h"

#include <string_view>

#include "browser/SystemWebView.h"
#if defined(VELMORA_TEST_FLAVOR)
#include "browser/PlainPageView.h"
#endif

namespace browser {

Engine BuildEngine() {
#if defined(VELMORA_TEST_FLAVOR)
  // The test build runs the plain page engine; VELMORA_PAGE_ENGINE=system
  // makes it run the release build's engine, so that tests can see what a
  // player of the release build sees where Wine's control can show it.
  wchar_t value[16];
  const DWORD length = ::GetEnvironmentVariableW(L"VELMORA_PAGE_ENGINE", value, 16);
  if (length > 0 && length < 16 && std::wstring_view(value, length) == L"system") return Engine::SystemControl;
  return Engine::PlainPage;
#else
  return Engine::SystemControl;
#endif
}

std::unique_ptr<WebView> CreateWebView(HWND parent, int x, int y, int width, int height, Engine engine) {
  switch (engine) {
    case Engine::PlainPage:
#if defined(VELMORA_TEST_FLAVOR)
      return PlainPageView::Create(parent, x, y, width, height);
#else
      return nullptr;  // the release build carries the system control only
#endif
    case Engine::SystemControl: return SystemWebView::Create(parent, x, y, width, height);
  }
  return nullptr;
}

}  // namespace browser
