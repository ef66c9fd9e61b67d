#include "tests/webview2/EventArgs.h"

#include <cstring>

#include "tests/webview2/Log.h"

namespace fakewebview2 {

namespace {

constexpr char kStarting[] = "ICoreWebView2NavigationStartingEventArgs";
constexpr char kCompleted[] = "ICoreWebView2NavigationCompletedEventArgs";
constexpr char kNewWindow[] = "ICoreWebView2NewWindowRequestedEventArgs";
constexpr char kDeferral[] = "ICoreWebView2Deferral";
constexpr char kProcessFailed[] = "ICoreWebView2ProcessFailedEventArgs";
constexpr char kAccelerator[] = "ICoreWebView2AcceleratorKeyPressedEventArgs";

// The getters' common part: the thread check, then the value.
template <typename Object, typename T, typename U>
HRESULT Answer(const Object& object, LogLine& line, T* out, U value) {
  if (const HRESULT hr = object.Usable(); FAILED(hr)) return line.Result(hr);
  if (!out) return line.Result(E_POINTER);
  *out = static_cast<T>(value);
  return line.Result(S_OK);
}

}  // namespace

HRESULT CopyForHost(const std::wstring& text, LPWSTR* out) {
  if (!out) return E_POINTER;
  *out = static_cast<LPWSTR>(::CoTaskMemAlloc((text.size() + 1) * sizeof(wchar_t)));
  if (!*out) return E_OUTOFMEMORY;
  std::memcpy(*out, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  return S_OK;
}

// ---------------------------------------------------------------------------

win::ComPtr<NavigationStartingArgs> NavigationStartingArgs::Create(DWORD thread, unsigned view, std::wstring uri,
                                                                   UINT64 id, bool userInitiated) {
  return win::ComPtr<NavigationStartingArgs>::Attach(
      new NavigationStartingArgs(thread, view, std::move(uri), id, userInitiated));
}

HRESULT NavigationStartingArgs::get_Uri(LPWSTR* uri) {
  LogLine line("call", "get_Uri", view_, kStarting);
  if (const HRESULT hr = Usable(); FAILED(hr)) return line.Result(hr);
  line.Text("uri", uri_);
  return line.Result(CopyForHost(uri_, uri));
}

HRESULT NavigationStartingArgs::get_IsUserInitiated(BOOL* isUserInitiated) {
  LogLine line("call", "get_IsUserInitiated", view_, kStarting);
  line.Flag("isUserInitiated", userInitiated_);
  return Answer(*this, line, isUserInitiated, userInitiated_ ? TRUE : FALSE);
}

HRESULT NavigationStartingArgs::get_IsRedirected(BOOL* isRedirected) {
  LogLine line("call", "get_IsRedirected", view_, kStarting);
  // The page engine follows redirections inside one request: none is seen.
  line.Flag("isRedirected", false);
  return Answer(*this, line, isRedirected, FALSE);
}

HRESULT NavigationStartingArgs::get_RequestHeaders(ICoreWebView2HttpRequestHeaders** requestHeaders) {
  LogLine line("call", "get_RequestHeaders", view_, kStarting);
  if (requestHeaders) *requestHeaders = nullptr;
  line.Flag("implemented", false);
  return line.Result(E_NOTIMPL);
}

HRESULT NavigationStartingArgs::get_Cancel(BOOL* cancel) {
  LogLine line("call", "get_Cancel", view_, kStarting);
  line.Flag("cancel", cancel_);
  return Answer(*this, line, cancel, cancel_ ? TRUE : FALSE);
}

HRESULT NavigationStartingArgs::put_Cancel(BOOL cancel) {
  LogLine line("call", "put_Cancel", view_, kStarting);
  line.Flag("cancel", cancel != FALSE).Text("uri", uri_);
  if (const HRESULT hr = Usable(); FAILED(hr)) return line.Result(hr);
  cancel_ = cancel != FALSE;
  return line.Result(S_OK);
}

HRESULT NavigationStartingArgs::get_NavigationId(UINT64* navigationId) {
  LogLine line("call", "get_NavigationId", view_, kStarting);
  line.Number("navigationId", static_cast<long long>(id_));
  return Answer(*this, line, navigationId, id_);
}

// ---------------------------------------------------------------------------

win::ComPtr<NavigationCompletedArgs> NavigationCompletedArgs::Create(DWORD thread, unsigned view, bool success,
                                                                     COREWEBVIEW2_WEB_ERROR_STATUS status, UINT64 id) {
  return win::ComPtr<NavigationCompletedArgs>::Attach(new NavigationCompletedArgs(thread, view, success, status, id));
}

HRESULT NavigationCompletedArgs::get_IsSuccess(BOOL* isSuccess) {
  LogLine line("call", "get_IsSuccess", view_, kCompleted);
  line.Flag("isSuccess", success_);
  return Answer(*this, line, isSuccess, success_ ? TRUE : FALSE);
}

HRESULT NavigationCompletedArgs::get_WebErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS* webErrorStatus) {
  LogLine line("call", "get_WebErrorStatus", view_, kCompleted);
  line.Number("webErrorStatus", status_);
  return Answer(*this, line, webErrorStatus, status_);
}

HRESULT NavigationCompletedArgs::get_NavigationId(UINT64* navigationId) {
  LogLine line("call", "get_NavigationId", view_, kCompleted);
  line.Number("navigationId", static_cast<long long>(id_));
  return Answer(*this, line, navigationId, id_);
}

// ---------------------------------------------------------------------------

win::ComPtr<Deferral> Deferral::Create(DWORD thread, unsigned view, std::function<void()> completed) {
  return win::ComPtr<Deferral>::Attach(new Deferral(thread, view, std::move(completed)));
}

HRESULT Deferral::Complete() {
  LogLine line("call", "Complete", view_, kDeferral);
  if (const HRESULT hr = Usable(); FAILED(hr)) return line.Result(hr);
  if (!completed_) return line.Result(HRESULT_FROM_WIN32(ERROR_INVALID_STATE));  // completed already
  std::function<void()> completed = std::move(completed_);
  completed_ = nullptr;
  line.Result(S_OK);
  completed();
  return S_OK;
}

// ---------------------------------------------------------------------------

win::ComPtr<NewWindowRequestedArgs> NewWindowRequestedArgs::Create(
    DWORD thread, unsigned view, std::wstring uri, std::function<void(NewWindowRequestedArgs&)> decided) {
  return win::ComPtr<NewWindowRequestedArgs>::Attach(
      new NewWindowRequestedArgs(thread, view, std::move(uri), std::move(decided)));
}

void NewWindowRequestedArgs::HandlersDone() {
  handlersDone_ = true;
  if (!deferred_) Decide();
}

void NewWindowRequestedArgs::Decide() {
  if (!decided_) return;
  auto decided = std::move(decided_);
  decided_ = nullptr;
  decided(*this);
}

HRESULT NewWindowRequestedArgs::get_Uri(LPWSTR* uri) {
  LogLine line("call", "get_Uri", view_, kNewWindow);
  if (const HRESULT hr = Usable(); FAILED(hr)) return line.Result(hr);
  line.Text("uri", uri_);
  return line.Result(CopyForHost(uri_, uri));
}

HRESULT NewWindowRequestedArgs::put_NewWindow(ICoreWebView2* newWindow) {
  LogLine line("call", "put_NewWindow", view_, kNewWindow);
  line.Object("newWindow", newWindow);
  if (const HRESULT hr = Usable(); FAILED(hr)) return line.Result(hr);
  if (newWindow) newWindow->AddRef();
  newWindow_ = win::ComPtr<ICoreWebView2>::Attach(newWindow);
  return line.Result(S_OK);
}

HRESULT NewWindowRequestedArgs::get_NewWindow(ICoreWebView2** newWindow) {
  LogLine line("call", "get_NewWindow", view_, kNewWindow);
  if (const HRESULT hr = Usable(); FAILED(hr)) return line.Result(hr);
  if (!newWindow) return line.Result(E_POINTER);
  *newWindow = newWindow_.get();
  if (*newWindow) (*newWindow)->AddRef();
  line.Object("newWindow", *newWindow);
  return line.Result(S_OK);
}

HRESULT NewWindowRequestedArgs::put_Handled(BOOL handled) {
  LogLine line("call", "put_Handled", view_, kNewWindow);
  line.Flag("handled", handled != FALSE).Text("uri", uri_);
  if (const HRESULT hr = Usable(); FAILED(hr)) return line.Result(hr);
  handled_ = handled != FALSE;
  return line.Result(S_OK);
}

HRESULT NewWindowRequestedArgs::get_Handled(BOOL* handled) {
  LogLine line("call", "get_Handled", view_, kNewWindow);
  line.Flag("handled", handled_);
  return Answer(*this, line, handled, handled_ ? TRUE : FALSE);
}

HRESULT NewWindowRequestedArgs::get_IsUserInitiated(BOOL* isUserInitiated) {
  LogLine line("call", "get_IsUserInitiated", view_, kNewWindow);
  // The page engine does not tell a click's window from a script's.
  line.Flag("isUserInitiated", false);
  return Answer(*this, line, isUserInitiated, FALSE);
}

HRESULT NewWindowRequestedArgs::GetDeferral(ICoreWebView2Deferral** deferral) {
  LogLine line("call", "GetDeferral", view_, kNewWindow);
  if (const HRESULT hr = Usable(); FAILED(hr)) return line.Result(hr);
  if (!deferral) return line.Result(E_POINTER);
  *deferral = nullptr;
  if (deferred_ || !decided_) return line.Result(HRESULT_FROM_WIN32(ERROR_INVALID_STATE));
  deferred_ = true;
  // Keeps these arguments until the decision: the host may let go of them first.
  AddRef();
  win::ComPtr<Deferral> made = Deferral::Create(Thread(), view_, [this] {
    deferred_ = false;
    if (handlersDone_) Decide();
    Release();
  });
  *deferral = made.get();
  made->AddRef();
  return line.Result(S_OK);
}

HRESULT NewWindowRequestedArgs::get_WindowFeatures(ICoreWebView2WindowFeatures** value) {
  LogLine line("call", "get_WindowFeatures", view_, kNewWindow);
  if (value) *value = nullptr;
  line.Flag("implemented", false);
  return line.Result(E_NOTIMPL);
}

// ---------------------------------------------------------------------------

win::ComPtr<ProcessFailedArgs> ProcessFailedArgs::Create(DWORD thread, unsigned view,
                                                         COREWEBVIEW2_PROCESS_FAILED_KIND kind) {
  return win::ComPtr<ProcessFailedArgs>::Attach(new ProcessFailedArgs(thread, view, kind));
}

HRESULT ProcessFailedArgs::get_ProcessFailedKind(COREWEBVIEW2_PROCESS_FAILED_KIND* processFailedKind) {
  LogLine line("call", "get_ProcessFailedKind", view_, kProcessFailed);
  line.Number("processFailedKind", kind_);
  return Answer(*this, line, processFailedKind, kind_);
}

// ---------------------------------------------------------------------------

win::ComPtr<AcceleratorKeyArgs> AcceleratorKeyArgs::Create(DWORD thread, unsigned view,
                                                           COREWEBVIEW2_KEY_EVENT_KIND kind, UINT virtualKey,
                                                           LPARAM lParam) {
  return win::ComPtr<AcceleratorKeyArgs>::Attach(new AcceleratorKeyArgs(thread, view, kind, virtualKey, lParam));
}

HRESULT AcceleratorKeyArgs::get_KeyEventKind(COREWEBVIEW2_KEY_EVENT_KIND* keyEventKind) {
  LogLine line("call", "get_KeyEventKind", view_, kAccelerator);
  line.Number("keyEventKind", kind_);
  return Answer(*this, line, keyEventKind, kind_);
}

HRESULT AcceleratorKeyArgs::get_VirtualKey(UINT* virtualKey) {
  LogLine line("call", "get_VirtualKey", view_, kAccelerator);
  line.Number("virtualKey", virtualKey_);
  return Answer(*this, line, virtualKey, virtualKey_);
}

HRESULT AcceleratorKeyArgs::get_KeyEventLParam(INT* lParam) {
  LogLine line("call", "get_KeyEventLParam", view_, kAccelerator);
  line.Number("lParam", static_cast<INT>(lParam_));
  return Answer(*this, line, lParam, static_cast<INT>(lParam_));
}

HRESULT AcceleratorKeyArgs::get_PhysicalKeyStatus(COREWEBVIEW2_PHYSICAL_KEY_STATUS*) {
  // The structure is not declared for the host (it never reads it).
  LogLine line("call", "get_PhysicalKeyStatus", view_, kAccelerator);
  line.Flag("implemented", false);
  return line.Result(E_NOTIMPL);
}

HRESULT AcceleratorKeyArgs::get_Handled(BOOL* handled) {
  LogLine line("call", "get_Handled", view_, kAccelerator);
  line.Flag("handled", handled_);
  return Answer(*this, line, handled, handled_ ? TRUE : FALSE);
}

HRESULT AcceleratorKeyArgs::put_Handled(BOOL handled) {
  LogLine line("call", "put_Handled", view_, kAccelerator);
  line.Flag("handled", handled != FALSE);
  if (const HRESULT hr = Usable(); FAILED(hr)) return line.Result(hr);
  handled_ = handled != FALSE;
  return line.Result(S_OK);
}

}  // namespace fakewebview2
