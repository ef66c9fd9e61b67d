#include "browser/WebView.h"

#include "browser/SystemWebView.h"

namespace browser {

std::unique_ptr<WebView> CreateWebView(HWND parent, int x, int y, int width, int height) {
  return SystemWebView::Create(parent, x, y, width, height);
}

}  // namespace browser
