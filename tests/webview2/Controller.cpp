#include "tests/webview2/Controller.h"

#include <algorithm>

#include "forms/WindowBase.h"
#include "tests/webview2/CallbackQueue.h"
#include "tests/webview2/EventArgs.h"
#include "tests/webview2/Log.h"

namespace fakewebview2 {

namespace {

constexpr char kInterface[] = "ICoreWebView2Controller";

bool IsAccelerator(UINT virtualKey, bool system) {
  if (system) return true;
  if (virtualKey >= VK_F1 && virtualKey <= VK_F24) return true;
  return (::GetKeyState(VK_CONTROL) & 0x8000) != 0 && virtualKey != VK_CONTROL && virtualKey != VK_SHIFT;
}

void Place(HWND window, const RECT& bounds) {
  ::MoveWindow(window, bounds.left, bounds.top, std::max(0L, bounds.right - bounds.left),
               std::max(0L, bounds.bottom - bounds.top), TRUE);
}

}  // namespace

// The controller's own child window: the page engine fills it.
class ControllerWindow final : public forms::WindowBase {
 public:
  bool Create(HWND parent) {
    return CreateWindowFor(L"VelmoraFakeWebView2Host", 0, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0,
                           parent);
  }

 private:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_SIZE) {
      if (HWND page = ::GetWindow(window(), GW_CHILD)) {
        ::MoveWindow(page, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      }
      return 0;
    }
    return DefaultProc(msg, wParam, lParam);
  }
};

#define FAKE_CALL(method)                          \
  LogLine line("call", method, view_, kInterface); \
  if (const HRESULT usable = Usable(); FAILED(usable)) return line.Result(usable)

// The handler types of the never-raised events are only declared: they are
// kept as the IUnknown every COM interface pointer is.
#define FAKE_EVENT(name, Handler, list)                                                  \
  HRESULT Controller::add_##name(Handler* eventHandler, EventRegistrationToken* token) { \
    FAKE_CALL("add_" #name);                                                             \
    line.Object("eventHandler", eventHandler);                                           \
    const HRESULT hr = list.Add(reinterpret_cast<decltype(list)::Kept*>(eventHandler), token); \
    if (SUCCEEDED(hr)) line.Number("token", token->value);                               \
    return line.Result(hr);                                                              \
  }                                                                                      \
  HRESULT Controller::remove_##name(EventRegistrationToken token) {                      \
    FAKE_CALL("remove_" #name);                                                          \
    line.Number("token", token.value);                                                   \
    return line.Result(list.Remove(token));                                              \
  }

win::ComPtr<Controller> Controller::Create(DWORD thread, std::shared_ptr<const Profile> profile, HWND parent) {
  static unsigned lastView = 0;
  win::ComPtr<Controller> made = win::ComPtr<Controller>::Attach(new Controller(thread, ++lastView));
  made->window_ = std::make_unique<ControllerWindow>();
  if (!made->window_->Create(parent)) return nullptr;
  made->webView_ = WebView::Create(thread, made->view_, std::move(profile), made->window_->window());
  if (!made->webView_) return nullptr;
  made->webView_->Page()->KeyPressed.Bind(made.get(), &Controller::Page_KeyPressed);
  return made;
}

Controller::Controller(DWORD thread, unsigned view) : ComObject(thread), view_(view) {}

Controller::~Controller() { Shut(); }

void Controller::Shut() {
  if (webView_) webView_->Close();
  window_.reset();
  acceleratorKeyPressed_.Clear();
  neverRaised_.Clear();
}

void Controller::Page_KeyPressed(UINT virtualKey, LPARAM lParam, bool system, bool& handled) {
  if (!IsAccelerator(virtualKey, system)) return;
  // The runtime's to decide, below; system keys (Alt+F4) still reach the
  // window system as they come.
  handled = !system;
  AddRef();
  win::ComPtr<Controller> self = win::ComPtr<Controller>::Attach(this);
  CallbackQueue::ForThisThread().Post([self, virtualKey, lParam, system] {
    if (self->Closed()) return;
    const auto kind = system ? COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN : COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN;
    auto args = AcceleratorKeyArgs::Create(self->Thread(), self->view_, kind, virtualKey, lParam);
    for (const auto& handler : self->acceleratorKeyPressed_.Snapshot()) {
      if (self->Closed()) return;
      LogLine("callback", "AcceleratorKeyPressed", self->view_).Number("keyEventKind", kind).Number("virtualKey",
                                                                                                    virtualKey);
      handler->Invoke(self.get(), args.get());
    }
    if (self->Closed() || args->Handled()) return;
    if (virtualKey == VK_F5 && !system) {
      LogLine("event", "browser_key_reload", self->view_);
      self->webView_->ReloadPage();
    }
  });
}

HRESULT Controller::get_IsVisible(BOOL* isVisible) {
  FAKE_CALL("get_IsVisible");
  if (!isVisible) return line.Result(E_POINTER);
  *isVisible = ::IsWindowVisible(window_->window()) ? TRUE : FALSE;
  line.Flag("isVisible", *isVisible != FALSE);
  return line.Result(S_OK);
}

HRESULT Controller::put_IsVisible(BOOL isVisible) {
  FAKE_CALL("put_IsVisible");
  line.Flag("isVisible", isVisible != FALSE);
  ::ShowWindow(window_->window(), isVisible ? SW_SHOWNA : SW_HIDE);
  return line.Result(S_OK);
}

HRESULT Controller::get_Bounds(RECT* bounds) {
  FAKE_CALL("get_Bounds");
  if (!bounds) return line.Result(E_POINTER);
  *bounds = bounds_;
  return line.Result(S_OK);
}

HRESULT Controller::put_Bounds(RECT bounds) {
  FAKE_CALL("put_Bounds");
  line.Number("left", bounds.left).Number("top", bounds.top).Number("right", bounds.right).Number("bottom",
                                                                                                  bounds.bottom);
  bounds_ = bounds;
  Place(window_->window(), bounds);
  return line.Result(S_OK);
}

HRESULT Controller::get_ZoomFactor(double* zoomFactor) {
  FAKE_CALL("get_ZoomFactor");
  if (!zoomFactor) return line.Result(E_POINTER);
  *zoomFactor = zoomFactor_;
  return line.Result(S_OK);
}

HRESULT Controller::put_ZoomFactor(double zoomFactor) {
  FAKE_CALL("put_ZoomFactor");
  line.Number("zoomFactorPercent", static_cast<long long>(zoomFactor * 100));
  if (!(zoomFactor > 0)) return line.Result(E_INVALIDARG);
  zoomFactor_ = zoomFactor;  // kept; the page engine draws at one size
  return line.Result(S_OK);
}

FAKE_EVENT(ZoomFactorChanged, ICoreWebView2ZoomFactorChangedEventHandler, neverRaised_)

HRESULT Controller::SetBoundsAndZoomFactor(RECT bounds, double zoomFactor) {
  FAKE_CALL("SetBoundsAndZoomFactor");
  line.Number("left", bounds.left).Number("top", bounds.top).Number("right", bounds.right).Number("bottom",
                                                                                                  bounds.bottom);
  line.Number("zoomFactorPercent", static_cast<long long>(zoomFactor * 100));
  if (!(zoomFactor > 0)) return line.Result(E_INVALIDARG);
  zoomFactor_ = zoomFactor;
  bounds_ = bounds;
  Place(window_->window(), bounds);
  return line.Result(S_OK);
}

HRESULT Controller::MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) {
  FAKE_CALL("MoveFocus");
  line.Number("reason", reason);
  if (browser::PlainPageView* page = webView_->Page()) ::SetFocus(page->hWnd());
  return line.Result(S_OK);
}

FAKE_EVENT(MoveFocusRequested, ICoreWebView2MoveFocusRequestedEventHandler, neverRaised_)
FAKE_EVENT(GotFocus, ICoreWebView2FocusChangedEventHandler, neverRaised_)
FAKE_EVENT(LostFocus, ICoreWebView2FocusChangedEventHandler, neverRaised_)
FAKE_EVENT(AcceleratorKeyPressed, ICoreWebView2AcceleratorKeyPressedEventHandler, acceleratorKeyPressed_)

HRESULT Controller::get_ParentWindow(HWND* parentWindow) {
  FAKE_CALL("get_ParentWindow");
  if (!parentWindow) return line.Result(E_POINTER);
  *parentWindow = ::GetParent(window_->window());
  return line.Result(S_OK);
}

HRESULT Controller::put_ParentWindow(HWND parentWindow) {
  FAKE_CALL("put_ParentWindow");
  line.Number("parentWindow", static_cast<long long>(reinterpret_cast<UINT_PTR>(parentWindow)));
  if (!::IsWindow(parentWindow)) return line.Result(E_INVALIDARG);
  ::SetParent(window_->window(), parentWindow);
  return line.Result(S_OK);
}

HRESULT Controller::NotifyParentWindowPositionChanged() {
  FAKE_CALL("NotifyParentWindowPositionChanged");
  return line.Result(S_OK);
}

HRESULT Controller::Close() {
  FAKE_CALL("Close");
  MarkClosed();
  Shut();
  return line.Result(S_OK);
}

HRESULT Controller::get_CoreWebView2(ICoreWebView2** coreWebView2) {
  FAKE_CALL("get_CoreWebView2");
  if (!coreWebView2) return line.Result(E_POINTER);
  *coreWebView2 = webView_.get();
  webView_->AddRef();
  return line.Result(S_OK);
}

}  // namespace fakewebview2
