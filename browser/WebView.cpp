#include "browser/WebView.h"

#include "browser/SystemWebView.h"

namespace browser {

std::unique_ptr<WebView> CreateWebView(HWND parent, int x, int y, int width, int height, Engine engine) {
  switch (engine) {
    case Engine::PlainPage: return CreatePlainPageView(parent, x, y, width, height);
    case Engine::SystemControl: return SystemWebView::Create(parent, x, y, width, height);
  }
  return nullptr;
}

}  // namespace browser
