// The view's navigations and the page engine's events turned into the
// runtime's: what WebView.h says of the order of events.
#include <urlmon.h>

#include "tests/support/PageUrl.h"
#include "tests/webview2/Cache.h"
#include "tests/webview2/EventArgs.h"
#include "tests/webview2/Log.h"
#include "tests/webview2/WebView.h"

namespace fakewebview2 {

namespace {

UINT64 NextNavigationId() {
  static UINT64 last = 0;
  return ++last;
}

// Top-level NavigationCompleted events raised in this process so far.
unsigned& CompletionsRaised() {
  static unsigned count = 0;
  return count;
}

// The runtime's status for a page that brought no answer.
COREWEBVIEW2_WEB_ERROR_STATUS StatusOf(long failure) {
  switch (static_cast<HRESULT>(failure)) {
    case INET_E_RESOURCE_NOT_FOUND: return COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED;
    case INET_E_CANNOT_CONNECT: return COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT;
    case INET_E_CONNECTION_TIMEOUT: return COREWEBVIEW2_WEB_ERROR_STATUS_TIMEOUT;
    case INET_E_UNKNOWN_PROTOCOL: return COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
    default: return COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_ABORTED;
  }
}

}  // namespace

INT64 NextEventToken() {
  static INT64 last = 0;
  return ++last;
}

void WebView::BindPage() {
  page_->SetSilent(true);
  page_->SetAskBeforeRefresh(true);
  page_->BeforeNavigate2.Bind(this, &WebView::Page_BeforeNavigate2);
  page_->DocumentArrived.Bind(this, &WebView::Page_DocumentArrived);
  page_->DocumentComplete.Bind(this, &WebView::Page_DocumentComplete);
  page_->NavigateError.Bind(this, &WebView::Page_NavigateError);
  page_->TitleChange.Bind(this, &WebView::Page_TitleChange);
  page_->NewWindow.Bind(this, &WebView::Page_NewWindow);
  page_->ContextMenu.Bind(this, &WebView::Page_ContextMenu);
}

void WebView::StartNavigation(std::wstring uri, bool userInitiated) {
  const UINT64 id = NextNavigationId();
  Later([id, uri = std::move(uri), userInitiated](WebView& self) {
    auto args = NavigationStartingArgs::Create(self.Thread(), self.view_, uri, id, userInitiated);
    for (const auto& handler : self.navigationStarting_.Snapshot()) {
      if (self.Closed()) return;
      LogLine("callback", "NavigationStarting", self.view_)
          .Text("uri", uri)
          .Number("navigationId", static_cast<long long>(id))
          .Flag("isUserInitiated", userInitiated);
      handler->Invoke(&self, args.get());
    }
    if (self.Closed()) return;
    if (args->Cancelled()) {
      self.Later([id](WebView& view) {
        view.RaiseCompleted(id, false, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED);
      });
      return;
    }
    self.Load(id, uri);
  });
}

void WebView::Load(UINT64 id, const std::wstring& uri) {
  if (navigation_) Complete(navigation_->id, false, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED);
  navigation_ = Navigation{id, uri, std::nullopt};
  titleWaiting_ = false;
  frames_.clear();
  letThrough_ = true;
  page_->NavigateNow(uri);
  letThrough_ = false;
  // Neither loading nor loaded (an address no page comes from, a script):
  // the page stays and the navigation has failed.
  if (navigation_ && navigation_->id == id && page_ && !page_->Loading()) {
    Complete(id, false, navigation_->failure.value_or(COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN));
  }
}

void WebView::Complete(UINT64 id, bool success, COREWEBVIEW2_WEB_ERROR_STATUS status) {
  if (navigation_ && navigation_->id == id) navigation_.reset();
  const bool titleAfter = std::exchange(titleWaiting_, false);
  Later([id, success, status, titleAfter](WebView& self) {
    self.RaiseCompleted(id, success, status);
    if (titleAfter) self.Later([](WebView& view) { view.RaiseTitleChanged(); });
  });
}

void WebView::RaiseCompleted(UINT64 id, bool success, COREWEBVIEW2_WEB_ERROR_STATUS status) {
  auto args = NavigationCompletedArgs::Create(Thread(), view_, success, status, id);
  for (const auto& handler : navigationCompleted_.Snapshot()) {
    if (Closed()) return;
    LogLine("callback", "NavigationCompleted", view_)
        .Number("navigationId", static_cast<long long>(id))
        .Flag("isSuccess", success)
        .Number("webErrorStatus", status);
    handler->Invoke(this, args.get());
  }
  const unsigned done = ++CompletionsRaised();
  const Knobs& knobs = profile_->knobs;
  if (knobs.processFailedAfter > 0 && done >= knobs.processFailedAfter &&
      done < knobs.processFailedAfter + knobs.processFailedTimes) {
    Later([](WebView& self) { self.RaiseProcessFailed(); });
  }
}

void WebView::RaiseFrameCompleted(UINT64 id, bool success, COREWEBVIEW2_WEB_ERROR_STATUS status) {
  Later([id, success, status](WebView& self) {
    auto args = NavigationCompletedArgs::Create(self.Thread(), self.view_, success, status, id);
    for (const auto& handler : self.frameNavigationCompleted_.Snapshot()) {
      if (self.Closed()) return;
      LogLine("callback", "FrameNavigationCompleted", self.view_)
          .Number("navigationId", static_cast<long long>(id))
          .Flag("isSuccess", success)
          .Number("webErrorStatus", status);
      handler->Invoke(&self, args.get());
    }
  });
}

void WebView::RaiseTitleChanged() {
  for (const auto& handler : documentTitleChanged_.Snapshot()) {
    if (Closed()) return;
    LogLine("callback", "DocumentTitleChanged", view_).Text("title", page_->DocumentTitle());
    handler->Invoke(this, nullptr);
  }
}

void WebView::RaiseProcessFailed() {
  LogLine("event", "process_failed", view_).Number("processFailedKind", COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED);
  auto args = ProcessFailedArgs::Create(Thread(), view_, COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED);
  for (const auto& handler : processFailed_.Snapshot()) {
    if (Closed()) return;
    LogLine("callback", "ProcessFailed", view_)
        .Number("processFailedKind", COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED);
    handler->Invoke(this, args.get());
  }
}

// ---------------------------------------------------------------------------
// The page engine's events

void WebView::Page_BeforeNavigate2(const std::wstring& url, bool& cancel) {
  const unsigned frame = page_->EventFrame();
  if (frame == 0) {
    if (std::exchange(letThrough_, false)) return;
    // A javascript: link runs in the page: no navigation (the engine runs none).
    if (browser::url::IsScript(url)) return;
    // The page's own navigation (a link, a refresh, a script): the engine
    // keeps its page, and the navigation starts again as the runtime's.
    cancel = true;
    StartNavigation(url, false);
    return;
  }
  // A frame: asked at once, from the engine's own message.
  const UINT64 id = NextNavigationId();
  frames_[frame] = FrameNavigation{id, std::nullopt};
  auto args = NavigationStartingArgs::Create(Thread(), view_, url, id, false);
  AddRef();  // a handler may let go of the view
  const win::ComPtr<WebView> keep = win::ComPtr<WebView>::Attach(this);
  for (const auto& handler : frameNavigationStarting_.Snapshot()) {
    if (Closed()) break;
    LogLine("callback", "FrameNavigationStarting", view_)
        .Text("uri", url)
        .Number("navigationId", static_cast<long long>(id));
    handler->Invoke(this, args.get());
  }
  if (Closed()) {
    cancel = true;
    return;
  }
  if (args->Cancelled()) {
    cancel = true;
    frames_.erase(frame);
    RaiseFrameCompleted(id, false, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED);
  }
}

void WebView::Page_DocumentArrived(const std::wstring&, bool topLevel) {
  if (!topLevel) return;
  for (const DocumentScript& s : documentScripts_) {
    if (s.script.kind == Script::Kind::WriteStyle) RunScript(s.script);
  }
}

void WebView::Page_DocumentComplete(const std::wstring& url, bool topLevel) {
  if (!topLevel) {
    const auto it = frames_.find(page_->EventFrame());
    if (it == frames_.end()) return;
    const FrameNavigation done = it->second;
    frames_.erase(it);
    if (browser::url::IsHttp(url) && !done.failure) RecordInCache(profile_->userDataFolder, url);
    RaiseFrameCompleted(done.id, !done.failure, done.failure.value_or(COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN));
    return;
  }
  // Only a document that came from a server is kept in the cache.
  const DWORD http = page_->DocumentHttpStatus();
  if (http != 0) RecordInCache(profile_->userDataFolder, url);
  if (!navigation_) return;
  // No answer: the failure NavigateError gave; an HTTP error: the runtime
  // tells only that it failed.
  if (navigation_->failure) {
    Complete(navigation_->id, false, *navigation_->failure);
  } else if (http >= 400) {
    Complete(navigation_->id, false, COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN);
  } else {
    Complete(navigation_->id, true, COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN);
  }
}

void WebView::Page_NavigateError(const std::wstring&, long status, bool topLevel, bool& cancel) {
  const bool unloadable = static_cast<HRESULT>(status) == INET_E_UNKNOWN_PROTOCOL;
  // The runtime shows its own error page unless the host turned it off; an
  // address it cannot load leaves the page as it was.
  cancel = unloadable || !settings_->BuiltInErrorPage();
  if (topLevel) {
    if (navigation_) navigation_->failure = StatusOf(status);
    return;
  }
  const auto it = frames_.find(page_->EventFrame());
  if (it == frames_.end()) return;
  if (unloadable) {  // the engine goes no further with that frame
    RaiseFrameCompleted(it->second.id, false, StatusOf(status));
    frames_.erase(it);
    return;
  }
  // It completes (with the error page) through DocumentComplete, failed.
  it->second.failure = StatusOf(status);
}

void WebView::Page_TitleChange(const std::wstring&) {
  if (profile_->knobs.titleAfterCompletion && navigation_) {
    titleWaiting_ = true;
    return;
  }
  Later([](WebView& self) { self.RaiseTitleChanged(); });
}

void WebView::Page_NewWindow(const std::wstring& url, bool& processed) {
  processed = true;  // the engine opens nothing; the runtime decides below
  Later([url](WebView& self) {
    const unsigned view = self.view_;
    auto args = NewWindowRequestedArgs::Create(self.Thread(), view, url, [view](NewWindowRequestedArgs& decided) {
      if (decided.Handled()) return;
      if (ICoreWebView2* given = decided.NewWindow()) {
        given->Navigate(decided.Uri().c_str());
        return;
      }
      // The runtime would open a popup of its own: a test must never see this.
      LogLine("event", "own_window", view).Text("uri", decided.Uri());
    });
    for (const auto& handler : self.newWindowRequested_.Snapshot()) {
      if (self.Closed()) break;
      LogLine("callback", "NewWindowRequested", self.view_).Text("uri", url);
      handler->Invoke(&self, args.get());
    }
    args->HandlersDone();
  });
}

void WebView::Page_ContextMenu(bool& show) {
  show = settings_->ContextMenus();
  LogLine("event", "context_menu", view_).Flag("shown", show);
}

}  // namespace fakewebview2
