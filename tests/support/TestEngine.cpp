// What the test builds carry: the plain page engine, which draws pages where
// the system control has no HTML engine (Wine here), besides the system control.
#include <string_view>

#include "browser/WebView.h"
#include "tests/support/PlainPageView.h"

namespace browser {

Engine BuildEngine() {
  // VELMORA_PAGE_ENGINE=system runs the release build's engine, so that tests
  // can see what a player of the release build sees where Wine's control can
  // show it.
  wchar_t value[16];
  const DWORD length = ::GetEnvironmentVariableW(L"VELMORA_PAGE_ENGINE", value, 16);
  if (length > 0 && length < 16 && std::wstring_view(value, length) == L"system") return Engine::SystemControl;
  return Engine::PlainPage;
}

std::unique_ptr<WebView> CreatePlainPageView(HWND parent, int x, int y, int width, int height) {
  return PlainPageView::Create(parent, x, y, width, height);
}

}  // namespace browser
