#include "browser/WebView2View.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "browser/WebView2Api.h"
#include "browser/WebView2Callback.h"
#include "browser/WebView2Environment.h"
#include "browser/WebView2Script.h"
#include "browser/WebViewEvents.h"
#include "forms/Program.h"
#include "forms/WindowBase.h"
#include "win/ComPtr.h"

namespace browser {

namespace {

constexpr DWORD kControllerTimeoutMs = 20000;
constexpr DWORD kCacheClearTimeoutMs = 5000;
// A second failure of the runtime's process within this time is not reloaded again.
constexpr DWORD kProcessFailureWindowMs = 60000;
constexpr UINT_PTR kRetryTimer = 1;

// The text of a string the runtime allocated, which is freed here.
std::wstring Take(LPWSTR text) {
  std::wstring out = text ? text : L"";
  if (text) ::CoTaskMemFree(text);
  return out;
}

std::wstring HexCode(HRESULT hr) {
  wchar_t text[16];
  ::wsprintfW(text, L"0x%08X", static_cast<unsigned>(hr));
  return text;
}

// A failed navigation's web error status as the system control reports the
// failure (0 for none: cancelled, or an HTTP error whose status the runtime
// does not give, whose page came from the server all the same).
long NavigateErrorCode(COREWEBVIEW2_WEB_ERROR_STATUS status) {
  switch (status) {
    case COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN:
    case COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED: return 0;
    case COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED: return static_cast<long>(0x800C0005);  // unknown host
    case COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT:
    case COREWEBVIEW2_WEB_ERROR_STATUS_SERVER_UNREACHABLE: return static_cast<long>(0x800C0004);  // cannot connect
    case COREWEBVIEW2_WEB_ERROR_STATUS_TIMEOUT: return static_cast<long>(0x800C000B);
    case COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_COMMON_NAME_IS_INCORRECT:
    case COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_EXPIRED:
    case COREWEBVIEW2_WEB_ERROR_STATUS_CLIENT_CERTIFICATE_CONTAINS_ERRORS:
    case COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_REVOKED:
    case COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_IS_INVALID: return static_cast<long>(0x800C0019);
    default: return static_cast<long>(0x800C0007);  // the data did not come
  }
}

// Completion handlers whose answer nobody needs.
struct IgnoreScriptResult {
  void operator()(HRESULT, LPCWSTR) const {}
};

}  // namespace

class WebView2View::Core final : private forms::WindowBase {
 public:
  explicit Core(WebView2View* view) : view_(view) {}

  void AddRef() { ++refs_; }
  void Release() {
    if (--refs_ == 0) delete this;
  }

  bool Create(HWND parent, int x, int y, int width, int height) {
    if (!CreateWindowFor(L"VelmoraWebView2Host", 0, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, x,
                         y, width, height, parent)) {
      return false;
    }
    Live().push_back(this);
    RequestController();
    return true;
  }

  void Shutdown();
  HWND hwnd() const { return window(); }
  HRESULT WaitForController() {
    PumpMessagesUntil(settled_, kControllerTimeoutMs);
    if (!settled_) failure_ = HRESULT_FROM_WIN32(ERROR_TIMEOUT);
    return web_ ? S_OK : failure_;
  }

  void Navigate(const std::wstring& url) {
    if (!web_) {
      pending_.push_back(url);
      return;
    }
    const HRESULT hr = url.empty() ? web_->Reload() : web_->Navigate(url.c_str());
    if (FAILED(hr)) forms::Program::Log(L"page view: WebView2 did not take the address (" + HexCode(hr) + L"): " + url);
  }
  void SetSilent(bool silent) {
    if (silent_ == silent && !settingsStale_) return;
    silent_ = silent;
    if (settings_) settings_->put_AreDefaultScriptDialogsEnabled(!silent);
  }
  bool silent() const { return silent_; }
  void SetShown(bool shown) {
    shown_ = shown;
    if (!controller_) return;
    controller_->put_IsVisible(shown);
    if (shown && ::GetFocus() && ::IsChild(::GetAncestor(window(), GA_ROOT), ::GetFocus())) {
      controller_->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC);
    }
  }
  std::wstring DocumentUrl() const {
    LPWSTR source = nullptr;
    return web_ && SUCCEEDED(web_->get_Source(&source)) ? Take(source) : std::wstring();
  }
  const std::wstring& rootHtml() const { return rootHtml_; }
  void SetRootStyle(std::wstring_view property, std::wstring_view value);
  std::wstring RootStyle(std::wstring_view property) const {
    for (const Style& style : styles_) {
      if (style.name == StyleName(property)) return style.value;
    }
    return {};
  }
  void ClearBrowserCache();
  bool HasPage() const { return static_cast<bool>(web_); }
  static std::vector<Core*>& Live() {
    static std::vector<Core*> live;
    return live;
  }

 private:
  struct Style {
    std::wstring name, value, scriptId;
  };
  enum Token { kNavigationStarting, kFrameStarting, kNavigationCompleted, kFrameCompleted, kTitle, kNewWindow,
               kProcessFailed, kTokenCount };

  // A reference for a handler object: the core lives as long as the runtime holds the handler.
  class Ref {
   public:
    explicit Ref(Core* core) : core_(core) { core_->AddRef(); }
    Ref(const Ref& other) : core_(other.core_) { core_->AddRef(); }
    Ref(Ref&& other) noexcept : core_(std::exchange(other.core_, nullptr)) {}
    Ref& operator=(const Ref&) = delete;
    ~Ref() {
      if (core_) core_->Release();
    }
    Core* operator->() const { return core_; }

   private:
    Core* core_;
  };

  ~Core() = default;

  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    switch (msg) {
      case WM_SIZE: Resized(); break;
      case WM_ERASEBKGND: return 1;
      case WM_SETFOCUS:
        if (controller_) controller_->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC);
        return 0;
      case WM_TIMER:
        if (wParam == kRetryTimer) {
          ::KillTimer(window(), kRetryTimer);
          RequestController();
        }
        return 0;
      default: break;
    }
    return DefaultProc(msg, wParam, lParam);
  }

  void Resized() {
    RECT rc{};
    if (controller_ && ::GetClientRect(window(), &rc)) controller_->put_Bounds(rc);
  }


  void RequestController();
  void ControllerCreated(HRESULT hr, ICoreWebView2Controller* controller);
  void Connect();
  void NavigationStarting(ICoreWebView2NavigationStartingEventArgs* args, bool topLevel);
  void NavigationCompleted(ICoreWebView2NavigationCompletedEventArgs* args, bool topLevel);
  void ProcessFailed(ICoreWebView2ProcessFailedEventArgs* args);
  void AskContextMenu();
  std::wstring TakeNavigation(UINT64 id);

  int refs_ = 1;
  WebView2View* view_;
  win::ComPtr<ICoreWebView2Controller> controller_;
  win::ComPtr<ICoreWebView2> web_;
  win::ComPtr<ICoreWebView2Settings> settings_;
  EventRegistrationToken tokens_[kTokenCount]{};
  bool connected_[kTokenCount]{};
  std::vector<std::wstring> pending_;  // "" is a reload
  std::vector<std::pair<UINT64, std::wstring>> navigations_;  // id -> address, until completed
  std::vector<Style> styles_;
  std::wstring rootHtml_;
  int attempts_ = 0;
  HRESULT failure_ = E_PENDING;
  bool settled_ = false;  // the controller came, or will not
  bool silent_ = false;
  bool settingsStale_ = true;
  bool shown_ = true;
  int contextMenus_ = -1;  // what the runtime was last told: -1 nothing yet
  bool failedBefore_ = false;
  DWORD lastFailure_ = 0;
  bool shutDown_ = false;
};

void WebView2View::Core::RequestController() {
  ICoreWebView2Environment* environment = WebView2EnvironmentObject();
  ++attempts_;
  auto handler = MakeWebView2Callback<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler, HRESULT,
                                      ICoreWebView2Controller*>(
      IID_ICoreWebView2CreateCoreWebView2ControllerCompletedHandler,
      [ref = Ref(this)](HRESULT hr, ICoreWebView2Controller* controller) { ref->ControllerCreated(hr, controller); });
  const HRESULT hr = environment ? environment->CreateCoreWebView2Controller(window(), handler.get()) : E_UNEXPECTED;
  if (FAILED(hr)) ControllerCreated(hr, nullptr);
}

void WebView2View::Core::ControllerCreated(HRESULT hr, ICoreWebView2Controller* controller) {
  if (shutDown_ || controller_) {
    if (SUCCEEDED(hr) && controller) controller->Close();  // too late: the view has gone
    return;
  }
  if (SUCCEEDED(hr) && controller) {
    controller->AddRef();
    controller_ = win::ComPtr<ICoreWebView2Controller>::Attach(controller);
    hr = controller_->get_CoreWebView2(web_.put());
    if (SUCCEEDED(hr) && !web_) hr = E_POINTER;
  }
  if (FAILED(hr)) {
    controller_.reset();
    web_.reset();
    if (IsWebView2RetryError(hr) && attempts_ < kWebView2Attempts) {
      ::SetTimer(window(), kRetryTimer, kWebView2RetryDelayMs, nullptr);
      return;
    }
    failure_ = hr;
    settled_ = true;
    forms::Program::Log(L"page view: the WebView2 controller did not start: " + HexCode(hr));
    return;
  }
  failure_ = S_OK;
  settled_ = true;
  web_->get_Settings(settings_.put());
  if (settings_) {
    // No status bubble and no built-in error page: the system control shows neither in this client.
    settings_->put_IsStatusBarEnabled(FALSE);
    SetSilent(silent_);
    settingsStale_ = false;
  }
  Resized();
  controller_->put_IsVisible(shown_);
  Connect();
  for (Style& style : styles_) {
    const std::wstring name = style.name, value = style.value;
    style.value.clear();
    SetRootStyle(name, value);
  }
  std::vector<std::wstring> pending = std::move(pending_);
  for (const std::wstring& url : pending) {
    if (shutDown_) break;
    Navigate(url);
  }
}

void WebView2View::Core::Connect() {
  using Starting = ICoreWebView2NavigationStartingEventHandler;
  using Completed = ICoreWebView2NavigationCompletedEventHandler;
  auto starting = [this](bool topLevel) {
    return MakeWebView2Callback<Starting, ICoreWebView2*, ICoreWebView2NavigationStartingEventArgs*>(
        IID_ICoreWebView2NavigationStartingEventHandler,
        [ref = Ref(this), topLevel](ICoreWebView2*, ICoreWebView2NavigationStartingEventArgs* args) {
          ref->NavigationStarting(args, topLevel);
        });
  };
  auto completed = [this](bool topLevel) {
    return MakeWebView2Callback<Completed, ICoreWebView2*, ICoreWebView2NavigationCompletedEventArgs*>(
        IID_ICoreWebView2NavigationCompletedEventHandler,
        [ref = Ref(this), topLevel](ICoreWebView2*, ICoreWebView2NavigationCompletedEventArgs* args) {
          ref->NavigationCompleted(args, topLevel);
        });
  };
  connected_[kNavigationStarting] =
      SUCCEEDED(web_->add_NavigationStarting(starting(true).get(), &tokens_[kNavigationStarting]));
  connected_[kFrameStarting] =
      SUCCEEDED(web_->add_FrameNavigationStarting(starting(false).get(), &tokens_[kFrameStarting]));
  connected_[kNavigationCompleted] =
      SUCCEEDED(web_->add_NavigationCompleted(completed(true).get(), &tokens_[kNavigationCompleted]));
  connected_[kFrameCompleted] =
      SUCCEEDED(web_->add_FrameNavigationCompleted(completed(false).get(), &tokens_[kFrameCompleted]));
  auto title = MakeWebView2Callback<ICoreWebView2DocumentTitleChangedEventHandler, ICoreWebView2*, IUnknown*>(
      IID_ICoreWebView2DocumentTitleChangedEventHandler, [ref = Ref(this)](ICoreWebView2*, IUnknown*) {
        LPWSTR text = nullptr;
        if (!ref->web_ || FAILED(ref->web_->get_DocumentTitle(&text))) return;
        const std::wstring caption = Take(text);
        if (ref->view_) events::TitleChange(*ref->view_, caption);
      });
  connected_[kTitle] = SUCCEEDED(web_->add_DocumentTitleChanged(title.get(), &tokens_[kTitle]));
  auto newWindow = MakeWebView2Callback<ICoreWebView2NewWindowRequestedEventHandler, ICoreWebView2*,
                                        ICoreWebView2NewWindowRequestedEventArgs*>(
      IID_ICoreWebView2NewWindowRequestedEventHandler,
      [ref = Ref(this)](ICoreWebView2*, ICoreWebView2NewWindowRequestedEventArgs* args) {
        // The runtime never opens a window of its own: the holder decides where the address goes.
        args->put_Handled(TRUE);
        LPWSTR uri = nullptr;
        const std::wstring url = SUCCEEDED(args->get_Uri(&uri)) ? Take(uri) : std::wstring();
        bool processed = false;
        if (ref->view_) events::NewWindow(*ref->view_, url, processed);
      });
  connected_[kNewWindow] = SUCCEEDED(web_->add_NewWindowRequested(newWindow.get(), &tokens_[kNewWindow]));
  auto failed = MakeWebView2Callback<ICoreWebView2ProcessFailedEventHandler, ICoreWebView2*,
                                     ICoreWebView2ProcessFailedEventArgs*>(
      IID_ICoreWebView2ProcessFailedEventHandler,
      [ref = Ref(this)](ICoreWebView2*, ICoreWebView2ProcessFailedEventArgs* args) { ref->ProcessFailed(args); });
  connected_[kProcessFailed] = SUCCEEDED(web_->add_ProcessFailed(failed.get(), &tokens_[kProcessFailed]));
}

std::wstring WebView2View::Core::TakeNavigation(UINT64 id) {
  for (auto it = navigations_.begin(); it != navigations_.end(); ++it) {
    if (it->first == id) {
      std::wstring url = std::move(it->second);
      navigations_.erase(it);
      return url;
    }
  }
  return {};
}

void WebView2View::Core::AskContextMenu() {
  // The holder answers per request with the system control; the runtime
  // takes one setting: it is asked before each page.
  bool show = true;
  if (view_) events::ContextMenu(*view_, show);
  if (settings_ && contextMenus_ != static_cast<int>(show)) {
    contextMenus_ = show;
    settings_->put_AreDefaultContextMenusEnabled(show);
  }
}

void WebView2View::Core::NavigationStarting(ICoreWebView2NavigationStartingEventArgs* args, bool topLevel) {
  LPWSTR uri = nullptr;
  const std::wstring url = SUCCEEDED(args->get_Uri(&uri)) ? Take(uri) : std::wstring();
  UINT64 id = 0;
  args->get_NavigationId(&id);
  bool cancel = false;
  if (view_) events::BeforeNavigate2(*view_, url, cancel);
  if (cancel) {
    args->put_Cancel(TRUE);
    return;
  }
  // A redirect keeps its navigation's id: the address is the newest.
  TakeNavigation(id);
  navigations_.emplace_back(id, url);
  if (navigations_.size() > 64) navigations_.erase(navigations_.begin());  // completions the runtime never sent
  if (topLevel) AskContextMenu();
  if (view_) events::DownloadBegin(*view_);
}

void WebView2View::Core::NavigationCompleted(ICoreWebView2NavigationCompletedEventArgs* args, bool topLevel) {
  BOOL success = FALSE;
  COREWEBVIEW2_WEB_ERROR_STATUS status = COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
  UINT64 id = 0;
  args->get_IsSuccess(&success);
  args->get_WebErrorStatus(&status);
  args->get_NavigationId(&id);
  std::wstring url = TakeNavigation(id);
  if (url.empty() && topLevel) url = DocumentUrl();
  if (!success) {
    if (status == COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED) return;  // the page stays as it was
    if (const long code = NavigateErrorCode(status)) {
      bool cancel = false;
      if (view_) events::NavigateError(*view_, url, code, topLevel, cancel);
      return;
    }
  }
  if (!topLevel) {
    if (view_) events::DocumentComplete(*view_, url, false);
    return;
  }
  // The holder reads the root's inner HTML inside DocumentComplete: it is read first.
  auto read = MakeWebView2Callback<ICoreWebView2ExecuteScriptCompletedHandler, HRESULT, LPCWSTR>(
      IID_ICoreWebView2ExecuteScriptCompletedHandler, [ref = Ref(this), url](HRESULT hr, LPCWSTR json) {
        const auto html = SUCCEEDED(hr) && json ? JsonStringText(json) : std::nullopt;
        ref->rootHtml_ = html ? *html : std::wstring();
        if (ref->view_) events::DocumentComplete(*ref->view_, url, true);
      });
  if (FAILED(web_->ExecuteScript(L"document.documentElement.innerHTML", read.get()))) {
    rootHtml_.clear();
    if (view_) events::DocumentComplete(*view_, url, true);
  }
}

void WebView2View::Core::ProcessFailed(ICoreWebView2ProcessFailedEventArgs* args) {
  COREWEBVIEW2_PROCESS_FAILED_KIND kind = COREWEBVIEW2_PROCESS_FAILED_KIND_UNKNOWN_PROCESS_EXITED;
  args->get_ProcessFailedKind(&kind);
  const DWORD now = ::GetTickCount();
  const std::wstring what = L"page view: the WebView2 runtime's process ended (kind " + std::to_wstring(kind) + L")";
  const bool again = failedBefore_ && now - lastFailure_ < kProcessFailureWindowMs;
  failedBefore_ = true;
  lastFailure_ = now;
  if (again) {
    forms::Program::Log(L"error: " + what + L" a second time within a minute; the page is not reloaded");
    return;
  }
  forms::Program::Log(what + L"; reloading the page");
  if (web_) web_->Reload();
}

void WebView2View::Core::SetRootStyle(std::wstring_view property, std::wstring_view value) {
  const std::wstring name = StyleName(property);
  auto style = std::find_if(styles_.begin(), styles_.end(), [&](const Style& s) { return s.name == name; });
  if (style == styles_.end()) style = styles_.insert(styles_.end(), Style{name, L"", L""});
  const std::wstring script = RootStyleScript(name, value);
  if (!web_) {
    style->value = value;
    return;
  }
  web_->ExecuteScript(script.c_str(),
                      MakeWebView2Callback<ICoreWebView2ExecuteScriptCompletedHandler, HRESULT, LPCWSTR>(
                          IID_ICoreWebView2ExecuteScriptCompletedHandler, IgnoreScriptResult{})
                          .get());
  if (style->value == value && !style->scriptId.empty()) return;
  // Every new document gets it before it shows; the script for the old value goes.
  style->value = value;
  if (!style->scriptId.empty()) web_->RemoveScriptToExecuteOnDocumentCreated(style->scriptId.c_str());
  style->scriptId.clear();
  auto added = MakeWebView2Callback<ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler, HRESULT,
                                    LPCWSTR>(
      IID_ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler,
      [ref = Ref(this), name, script](HRESULT hr, LPCWSTR id) {
        if (FAILED(hr) || !id) return;
        for (Style& s : ref->styles_) {
          if (s.name != name) continue;
          // A newer value came meanwhile: this script is no longer wanted.
          if (RootStyleScript(s.name, s.value) == script && s.scriptId.empty()) {
            s.scriptId = id;
          } else if (ref->web_) {
            ref->web_->RemoveScriptToExecuteOnDocumentCreated(id);
          }
        }
      });
  web_->AddScriptToExecuteOnDocumentCreated(script.c_str(), added.get());
}

void WebView2View::Core::ClearBrowserCache() {
  auto done = std::make_shared<bool>(false);
  auto handler = MakeWebView2Callback<ICoreWebView2CallDevToolsProtocolMethodCompletedHandler, HRESULT, LPCWSTR>(
      IID_ICoreWebView2CallDevToolsProtocolMethodCompletedHandler, [done](HRESULT hr, LPCWSTR) {
        *done = true;
        if (FAILED(hr)) forms::Program::Log(L"cache: the WebView2 runtime did not clear its cache: " + HexCode(hr));
      });
  const HRESULT hr = web_->CallDevToolsProtocolMethod(L"Network.clearBrowserCache", L"{}", handler.get());
  if (FAILED(hr)) {
    forms::Program::Log(L"cache: the WebView2 runtime did not clear its cache: " + HexCode(hr));
    return;
  }
  if (!PumpMessagesUntil(*done, kCacheClearTimeoutMs)) {
    forms::Program::Log(L"cache: the WebView2 runtime gave no answer to the cache clearing");
  }
}

void WebView2View::Core::Shutdown() {
  view_ = nullptr;
  if (shutDown_) return;
  shutDown_ = true;
  Live().erase(std::remove(Live().begin(), Live().end(), this), Live().end());
  if (window()) ::KillTimer(window(), kRetryTimer);
  if (web_) {
    using Remove = HRESULT (STDMETHODCALLTYPE ICoreWebView2::*)(EventRegistrationToken);
    static constexpr Remove kRemove[kTokenCount] = {
        &ICoreWebView2::remove_NavigationStarting,   &ICoreWebView2::remove_FrameNavigationStarting,
        &ICoreWebView2::remove_NavigationCompleted,  &ICoreWebView2::remove_FrameNavigationCompleted,
        &ICoreWebView2::remove_DocumentTitleChanged, &ICoreWebView2::remove_NewWindowRequested,
        &ICoreWebView2::remove_ProcessFailed};
    for (int i = 0; i < kTokenCount; ++i) {
      if (connected_[i]) (web_.get()->*kRemove[i])(tokens_[i]);
    }
  }
  if (controller_) controller_->Close();
  settings_.reset();
  web_.reset();
  controller_.reset();
  if (window()) ::DestroyWindow(window());
}

// ---------------------------------------------------------------------------

std::unique_ptr<WebView2View> WebView2View::Create(HWND parent, int x, int y, int width, int height) {
  if (!WebView2EnvironmentObject()) return nullptr;
  std::unique_ptr<WebView2View> view(new WebView2View());
  view->core_ = new Core(view.get());
  if (!view->core_->Create(parent, x, y, width, height)) return nullptr;
  return view;
}

WebView2View::~WebView2View() {
  if (Core* core = std::exchange(core_, nullptr)) {
    core->Shutdown();
    core->Release();
  }
}

HRESULT WebView2View::WaitForController() { return core_->WaitForController(); }

void WebView2View::ClearBrowserCache() {
  for (Core* core : Core::Live()) {
    if (core->HasPage()) return core->ClearBrowserCache();  // one profile: any page clears it
  }
}

HWND WebView2View::hWnd() const { return core_->hwnd(); }
void WebView2View::Move(int x, int y, int width, int height) {
  if (HWND hwnd = hWnd()) ::MoveWindow(hwnd, x, y, width, height, TRUE);
}
void WebView2View::Navigate(const std::wstring& url) {
  if (!url.empty()) core_->Navigate(url);
}
void WebView2View::Refresh() { core_->Navigate(std::wstring()); }
void WebView2View::SetSilent(bool silent) { core_->SetSilent(silent); }
bool WebView2View::Silent() const { return core_->silent(); }
void WebView2View::SetShown(bool shown) { core_->SetShown(shown); }
std::wstring WebView2View::DocumentUrl() const { return core_->DocumentUrl(); }
std::wstring WebView2View::RootInnerHtml() const { return core_->rootHtml(); }
void WebView2View::SetRootStyle(std::wstring_view property, std::wstring_view value) {
  core_->SetRootStyle(property, value);
}
std::wstring WebView2View::RootStyle(std::wstring_view property) const { return core_->RootStyle(property); }

}  // namespace browser
