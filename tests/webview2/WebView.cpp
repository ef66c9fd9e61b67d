// ICoreWebView2's methods; the page engine's side is in WebViewPage.cpp.
#include "tests/webview2/WebView.h"

#include "tests/webview2/Cache.h"
#include "tests/webview2/CallbackQueue.h"
#include "tests/webview2/EventArgs.h"
#include "tests/webview2/Log.h"

namespace fakewebview2 {

namespace {

constexpr char kInterface[] = "ICoreWebView2";

// A runtime accepts only absolute addresses: a scheme, then ':'.
bool IsAbsoluteUri(const wchar_t* uri) {
  const std::wstring_view text(uri);
  const std::size_t colon = text.find(L':');
  if (colon == 0 || colon == std::wstring_view::npos) return false;
  for (std::size_t i = 0; i < colon; ++i) {
    const wchar_t c = text[i];
    const bool letter = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
    if (!letter && !(i > 0 && ((c >= L'0' && c <= L'9') || c == L'+' || c == L'-' || c == L'.'))) return false;
  }
  return true;
}

}  // namespace

// Each method: its log line, then the thread and close check.
#define FAKE_CALL(method)                          \
  LogLine line("call", method, view_, kInterface); \
  if (const HRESULT usable = Usable(); FAILED(usable)) return line.Result(usable)

// A method the host never calls: declared, answered E_NOTIMPL.
#define FAKE_NOT_IMPLEMENTED(method)                \
  LogLine line("call", method, view_, kInterface); \
  line.Flag("implemented", false);                 \
  return line.Result(E_NOTIMPL)

// An event the fake never raises: its handlers are kept, by token.
#define FAKE_NEVER_RAISED(name, Handler)                                                          \
  HRESULT WebView::add_##name(Handler* eventHandler, EventRegistrationToken* token) {             \
    FAKE_CALL("add_" #name);                                                                      \
    line.Object("eventHandler", eventHandler);                                                    \
    const HRESULT hr = neverRaised_.Add(reinterpret_cast<IUnknown*>(eventHandler), token);                                     \
    if (SUCCEEDED(hr)) line.Number("token", token->value);                                        \
    return line.Result(hr);                                                                       \
  }                                                                                               \
  HRESULT WebView::remove_##name(EventRegistrationToken token) {                                  \
    FAKE_CALL("remove_" #name);                                                                   \
    line.Number("token", token.value);                                                            \
    return line.Result(neverRaised_.Remove(token));                                               \
  }

#define FAKE_RAISED(name, Handler, list)                                                          \
  HRESULT WebView::add_##name(Handler* eventHandler, EventRegistrationToken* token) {             \
    FAKE_CALL("add_" #name);                                                                      \
    line.Object("eventHandler", eventHandler);                                                    \
    const HRESULT hr = list.Add(eventHandler, token);                                             \
    if (SUCCEEDED(hr)) line.Number("token", token->value);                                        \
    return line.Result(hr);                                                                       \
  }                                                                                               \
  HRESULT WebView::remove_##name(EventRegistrationToken token) {                                  \
    FAKE_CALL("remove_" #name);                                                                   \
    line.Number("token", token.value);                                                            \
    return line.Result(list.Remove(token));                                                       \
  }

win::ComPtr<WebView> WebView::Create(DWORD thread, unsigned view, std::shared_ptr<const Profile> profile,
                                     HWND container) {
  win::ComPtr<WebView> made = win::ComPtr<WebView>::Attach(new WebView(thread, view, std::move(profile)));
  RECT area{};
  ::GetClientRect(container, &area);
  made->page_ = browser::PlainPageView::Create(container, 0, 0, area.right, area.bottom);
  if (!made->page_) return nullptr;
  made->BindPage();
  return made;
}

WebView::WebView(DWORD thread, unsigned view, std::shared_ptr<const Profile> profile)
    : ComObject(thread), view_(view), profile_(std::move(profile)), settings_(Settings::Create(thread, view)) {}

WebView::~WebView() { page_.reset(); }

void WebView::Close() {
  if (Closed()) return;
  MarkClosed();
  settings_->Close();
  if (page_) page_->UnbindEvents();
  page_.reset();
  navigation_.reset();
  navigationStarting_.Clear();
  navigationCompleted_.Clear();
  frameNavigationStarting_.Clear();
  frameNavigationCompleted_.Clear();
  processFailed_.Clear();
  newWindowRequested_.Clear();
  documentTitleChanged_.Clear();
  neverRaised_.Clear();
}

void WebView::Later(std::function<void(WebView&)> action) {
  AddRef();
  win::ComPtr<WebView> self = win::ComPtr<WebView>::Attach(this);
  CallbackQueue::ForThisThread().Post([self, action = std::move(action)] {
    if (!self->Closed()) action(*self.get());
  });
}

HRESULT WebView::get_Settings(ICoreWebView2Settings** settings) {
  FAKE_CALL("get_Settings");
  if (!settings) return line.Result(E_POINTER);
  *settings = settings_.get();
  settings_->AddRef();
  return line.Result(S_OK);
}

HRESULT WebView::get_Source(LPWSTR* uri) {
  FAKE_CALL("get_Source");
  std::wstring source = page_->DocumentUrl();
  if (source.empty()) source = L"about:blank";
  line.Text("uri", source);
  return line.Result(CopyForHost(source, uri));
}

HRESULT WebView::Navigate(LPCWSTR uri) {
  FAKE_CALL("Navigate");
  line.Text("uri", uri);
  if (!uri || !IsAbsoluteUri(uri)) return line.Result(E_INVALIDARG);
  line.Result(S_OK);
  StartNavigation(uri, false);
  return S_OK;
}

HRESULT WebView::NavigateToString(LPCWSTR) { FAKE_NOT_IMPLEMENTED("NavigateToString"); }

FAKE_RAISED(NavigationStarting, ICoreWebView2NavigationStartingEventHandler, navigationStarting_)
FAKE_NEVER_RAISED(ContentLoading, ICoreWebView2ContentLoadingEventHandler)
FAKE_NEVER_RAISED(SourceChanged, ICoreWebView2SourceChangedEventHandler)
FAKE_NEVER_RAISED(HistoryChanged, ICoreWebView2HistoryChangedEventHandler)
FAKE_RAISED(NavigationCompleted, ICoreWebView2NavigationCompletedEventHandler, navigationCompleted_)
FAKE_RAISED(FrameNavigationStarting, ICoreWebView2NavigationStartingEventHandler, frameNavigationStarting_)
FAKE_RAISED(FrameNavigationCompleted, ICoreWebView2NavigationCompletedEventHandler, frameNavigationCompleted_)
FAKE_NEVER_RAISED(ScriptDialogOpening, ICoreWebView2ScriptDialogOpeningEventHandler)
FAKE_NEVER_RAISED(PermissionRequested, ICoreWebView2PermissionRequestedEventHandler)
FAKE_RAISED(ProcessFailed, ICoreWebView2ProcessFailedEventHandler, processFailed_)

HRESULT WebView::AddScriptToExecuteOnDocumentCreated(
    LPCWSTR javaScript, ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler* handler) {
  FAKE_CALL("AddScriptToExecuteOnDocumentCreated");
  line.Text("javaScript", javaScript).Object("handler", handler);
  if (!javaScript) return line.Result(E_INVALIDARG);
  DocumentScript added{std::to_wstring(++lastScriptId_), ReadScript(javaScript)};
  if (added.script.kind != Script::Kind::WriteStyle) {
    LogLine("event", "script_not_understood", view_).Text("javaScript", javaScript);
  }
  documentScripts_.push_back(added);
  line.Result(S_OK);
  if (handler) {
    handler->AddRef();
    auto held = win::ComPtr<ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler>::Attach(handler);
    Later([held, id = added.id](WebView& self) {
      LogLine("callback", "ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler", self.view_)
          .Hresult("errorCode", S_OK)
          .Text("id", id);
      held->Invoke(S_OK, id.c_str());
    });
  }
  return S_OK;
}

HRESULT WebView::RemoveScriptToExecuteOnDocumentCreated(LPCWSTR id) {
  FAKE_CALL("RemoveScriptToExecuteOnDocumentCreated");
  line.Text("id", id);
  if (!id) return line.Result(E_INVALIDARG);
  for (auto it = documentScripts_.begin(); it != documentScripts_.end(); ++it) {
    if (it->id == id) {
      documentScripts_.erase(it);
      return line.Result(S_OK);
    }
  }
  return line.Result(E_INVALIDARG);
}

HRESULT WebView::ExecuteScript(LPCWSTR javaScript, ICoreWebView2ExecuteScriptCompletedHandler* handler) {
  FAKE_CALL("ExecuteScript");
  line.Text("javaScript", javaScript).Object("handler", handler);
  if (!javaScript) return line.Result(E_INVALIDARG);
  line.Result(S_OK);
  win::ComPtr<ICoreWebView2ExecuteScriptCompletedHandler> held;
  if (handler) {
    handler->AddRef();
    held = win::ComPtr<ICoreWebView2ExecuteScriptCompletedHandler>::Attach(handler);
  }
  // Run when the callback comes, on the document shown then, as the runtime
  // runs a script in its own process later.
  Later([held, script = ReadScript(javaScript), text = std::wstring(javaScript)](WebView& self) {
    if (script.kind == Script::Kind::Unknown) {
      LogLine("event", "script_not_understood", self.view_).Text("javaScript", text);
    }
    const std::wstring result = self.RunScript(script);
    if (!held) return;
    LogLine("callback", "ICoreWebView2ExecuteScriptCompletedHandler", self.view_)
        .Hresult("errorCode", S_OK)
        .Text("resultObjectAsJson", result);
    held->Invoke(S_OK, result.c_str());
  });
  return S_OK;
}

std::wstring WebView::RunScript(const Script& script) {
  switch (script.kind) {
    case Script::Kind::InnerHtml:
      return JsonString(page_->RootInnerHtml());
    case Script::Kind::ReadStyle:
      return JsonString(page_->RootStyle(script.property));
    case Script::Kind::WriteStyle:
      for (const StyleAssignment& a : script.assignments) page_->SetRootStyle(a.property, a.value);
      return JsonString(script.assignments.back().value);
    case Script::Kind::Unknown:
      break;
  }
  return L"null";
}

HRESULT WebView::CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT, IStream*,
                                ICoreWebView2CapturePreviewCompletedHandler*) {
  FAKE_NOT_IMPLEMENTED("CapturePreview");
}

HRESULT WebView::Reload() {
  FAKE_CALL("Reload");
  line.Result(S_OK);
  ReloadPage();
  return S_OK;
}

void WebView::ReloadPage() {
  std::wstring source = page_->DocumentUrl();
  if (source.empty() && navigation_) source = navigation_->uri;
  if (!source.empty()) StartNavigation(source, false);
}

HRESULT WebView::PostWebMessageAsJson(LPCWSTR) { FAKE_NOT_IMPLEMENTED("PostWebMessageAsJson"); }
HRESULT WebView::PostWebMessageAsString(LPCWSTR) { FAKE_NOT_IMPLEMENTED("PostWebMessageAsString"); }
FAKE_NEVER_RAISED(WebMessageReceived, ICoreWebView2WebMessageReceivedEventHandler)

HRESULT WebView::CallDevToolsProtocolMethod(LPCWSTR methodName, LPCWSTR parametersAsJson,
                                            ICoreWebView2CallDevToolsProtocolMethodCompletedHandler* handler) {
  FAKE_CALL("CallDevToolsProtocolMethod");
  line.Text("methodName", methodName).Text("parametersAsJson", parametersAsJson).Object("handler", handler);
  if (!methodName || !parametersAsJson) return line.Result(E_INVALIDARG);
  line.Result(S_OK);
  win::ComPtr<ICoreWebView2CallDevToolsProtocolMethodCompletedHandler> held;
  if (handler) {
    handler->AddRef();
    held = win::ComPtr<ICoreWebView2CallDevToolsProtocolMethodCompletedHandler>::Attach(handler);
  }
  Later([held, method = std::wstring(methodName)](WebView& self) {
    HRESULT error = E_INVALIDARG;
    std::wstring answer;
    if (method == L"Network.clearBrowserCache") {
      error = ClearCache(self.profile_->userDataFolder) ? S_OK : E_FAIL;
      if (SUCCEEDED(error)) answer = L"{}";
    }
    if (!held) return;
    LogLine("callback", "ICoreWebView2CallDevToolsProtocolMethodCompletedHandler", self.view_)
        .Hresult("errorCode", error)
        .Text("returnObjectAsJson", answer);
    held->Invoke(error, answer.c_str());
  });
  return S_OK;
}

HRESULT WebView::get_BrowserProcessId(UINT32* value) {
  FAKE_CALL("get_BrowserProcessId");
  if (!value) return line.Result(E_POINTER);
  *value = ::GetCurrentProcessId();
  return line.Result(S_OK);
}

HRESULT WebView::get_CanGoBack(BOOL* canGoBack) {
  FAKE_CALL("get_CanGoBack");
  if (!canGoBack) return line.Result(E_POINTER);
  *canGoBack = FALSE;  // the page engine keeps no history
  return line.Result(S_OK);
}

HRESULT WebView::get_CanGoForward(BOOL* canGoForward) {
  FAKE_CALL("get_CanGoForward");
  if (!canGoForward) return line.Result(E_POINTER);
  *canGoForward = FALSE;
  return line.Result(S_OK);
}

HRESULT WebView::GoBack() { FAKE_NOT_IMPLEMENTED("GoBack"); }
HRESULT WebView::GoForward() { FAKE_NOT_IMPLEMENTED("GoForward"); }

HRESULT WebView::GetDevToolsProtocolEventReceiver(LPCWSTR, ICoreWebView2DevToolsProtocolEventReceiver** receiver) {
  if (receiver) *receiver = nullptr;
  FAKE_NOT_IMPLEMENTED("GetDevToolsProtocolEventReceiver");
}

HRESULT WebView::Stop() {
  FAKE_CALL("Stop");
  line.Result(S_OK);
  page_->Stop();
  if (navigation_) Complete(navigation_->id, false, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED);
  return S_OK;
}

FAKE_RAISED(NewWindowRequested, ICoreWebView2NewWindowRequestedEventHandler, newWindowRequested_)
FAKE_RAISED(DocumentTitleChanged, ICoreWebView2DocumentTitleChangedEventHandler, documentTitleChanged_)

HRESULT WebView::get_DocumentTitle(LPWSTR* title) {
  FAKE_CALL("get_DocumentTitle");
  const std::wstring text = page_->DocumentTitle();
  line.Text("title", text);
  return line.Result(CopyForHost(text, title));
}

HRESULT WebView::AddHostObjectToScript(LPCWSTR, VARIANT*) { FAKE_NOT_IMPLEMENTED("AddHostObjectToScript"); }
HRESULT WebView::RemoveHostObjectFromScript(LPCWSTR) { FAKE_NOT_IMPLEMENTED("RemoveHostObjectFromScript"); }
HRESULT WebView::OpenDevToolsWindow() { FAKE_NOT_IMPLEMENTED("OpenDevToolsWindow"); }
FAKE_NEVER_RAISED(ContainsFullScreenElementChanged, ICoreWebView2ContainsFullScreenElementChangedEventHandler)

HRESULT WebView::get_ContainsFullScreenElement(BOOL* containsFullScreenElement) {
  FAKE_CALL("get_ContainsFullScreenElement");
  if (!containsFullScreenElement) return line.Result(E_POINTER);
  *containsFullScreenElement = FALSE;
  return line.Result(S_OK);
}

FAKE_NEVER_RAISED(WebResourceRequested, ICoreWebView2WebResourceRequestedEventHandler)

HRESULT WebView::AddWebResourceRequestedFilter(const LPCWSTR, const COREWEBVIEW2_WEB_RESOURCE_CONTEXT) {
  FAKE_NOT_IMPLEMENTED("AddWebResourceRequestedFilter");
}
HRESULT WebView::RemoveWebResourceRequestedFilter(const LPCWSTR, const COREWEBVIEW2_WEB_RESOURCE_CONTEXT) {
  FAKE_NOT_IMPLEMENTED("RemoveWebResourceRequestedFilter");
}

FAKE_NEVER_RAISED(WindowCloseRequested, ICoreWebView2WindowCloseRequestedEventHandler)

}  // namespace fakewebview2
