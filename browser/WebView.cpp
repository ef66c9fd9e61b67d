#include "browser/WebView.h"

#include "BuildSettings.h"
#include "browser/SystemWebView.h"
#include "forms/Program.h"

#if VELMORA_PAGE_ENGINE_AUTO
#include "browser/WebView2Environment.h"
#include "browser/WebView2View.h"
#endif

namespace browser {

namespace {
enum class Engine { Undecided, System, WebView2 };
Engine g_engine = Engine::Undecided;

#if VELMORA_PAGE_ENGINE_AUTO
std::wstring HexCode(HRESULT hr) {
  wchar_t text[16];
  ::wsprintfW(text, L"0x%08X", static_cast<unsigned>(hr));
  return text;
}

// The first view: WebView2 when its environment and this view's controller
// start (waited for, messages running); the system control otherwise.
std::unique_ptr<WebView> ChooseEngine(HWND parent, int x, int y, int width, int height) {
  std::wstring text;
  if (StartWebView2Environment(text)) {
    if (auto view = WebView2View::Create(parent, x, y, width, height)) {
      const HRESULT hr = view->WaitForController();
      if (SUCCEEDED(hr)) {
        g_engine = Engine::WebView2;
        forms::Program::Log(L"page engine: WebView2 " + text);
        return view;
      }
      text = L"the WebView2 environment did not start: " + HexCode(hr);
    } else {
      text = L"the WebView2 view could not be made";
    }
  }
  g_engine = Engine::System;
  forms::Program::Log(L"page engine: the system control (" + text + L")");
  return nullptr;
}
#endif
}  // namespace

std::unique_ptr<WebView> CreateWebView(HWND parent, int x, int y, int width, int height) {
#if VELMORA_PAGE_ENGINE_AUTO
  if (g_engine == Engine::Undecided) {
    if (auto view = ChooseEngine(parent, x, y, width, height)) return view;
  } else if (g_engine == Engine::WebView2) {
    return WebView2View::Create(parent, x, y, width, height);
  }
#else
  if (g_engine == Engine::Undecided) {
    g_engine = Engine::System;
    forms::Program::Log(L"page engine: the system control (the build's setting)");
  }
#endif
  return SystemWebView::Create(parent, x, y, width, height);
}

void ClearPageEngineCache() {
#if VELMORA_PAGE_ENGINE_AUTO
  if (g_engine == Engine::WebView2) WebView2View::ClearBrowserCache();
#endif
}

}  // namespace browser
