// What the release build carries: the system browser control only.
#include "browser/WebView.h"

namespace browser {

Engine BuildEngine() { return Engine::SystemControl; }

std::unique_ptr<WebView> CreatePlainPageView(HWND, int, int, int, int) { return nullptr; }

}  // namespace browser
