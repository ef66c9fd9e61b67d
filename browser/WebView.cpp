#include "browser/WebView.h"

#include "browser/PlainPageView.h"
#include "browser/SystemWebView.h"

namespace browser {

Engine BuildEngine() {
#if defined(VELMORA_TEST_FLAVOR)
  return Engine::PlainPage;
#else
  return Engine::SystemControl;
#endif
}

std::unique_ptr<WebView> CreateWebView(HWND parent, int x, int y, int width, int height, Engine engine) {
  switch (engine) {
    case Engine::PlainPage: return PlainPageView::Create(parent, x, y, width, height);
    case Engine::SystemControl: return SystemWebView::Create(parent, x, y, width, height);
  }
  return nullptr;
}

}  // namespace browser
