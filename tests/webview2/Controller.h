// ICoreWebView2Controller of the fake runtime: a child window of the host's
// parent window that holds the view's page engine, placed by put_Bounds,
// shown by put_IsVisible. Keys the page engine gets that a browser treats as
// accelerators (function keys, keys with Ctrl or Alt) go to the
// AcceleratorKeyPressed handlers first; F5 that none handles reloads the page,
// as the runtime's own browser keys do.
#pragma once

#include <memory>

#include "browser/WebView2Api.h"
#include "tests/webview2/ComObject.h"
#include "tests/webview2/HandlerList.h"
#include "tests/webview2/Profile.h"
#include "tests/webview2/WebView.h"
#include "win/ComPtr.h"

namespace fakewebview2 {

class ControllerWindow;

class Controller final : public ComObject<Controller, ICoreWebView2Controller, IID_ICoreWebView2Controller> {
 public:
  // Null when its windows cannot be made.
  static win::ComPtr<Controller> Create(DWORD thread, std::shared_ptr<const Profile> profile, HWND parent);
  unsigned Number() const { return view_; }

  HRESULT STDMETHODCALLTYPE get_IsVisible(BOOL* isVisible) override;
  HRESULT STDMETHODCALLTYPE put_IsVisible(BOOL isVisible) override;
  HRESULT STDMETHODCALLTYPE get_Bounds(RECT* bounds) override;
  HRESULT STDMETHODCALLTYPE put_Bounds(RECT bounds) override;
  HRESULT STDMETHODCALLTYPE get_ZoomFactor(double* zoomFactor) override;
  HRESULT STDMETHODCALLTYPE put_ZoomFactor(double zoomFactor) override;
  HRESULT STDMETHODCALLTYPE add_ZoomFactorChanged(ICoreWebView2ZoomFactorChangedEventHandler* eventHandler,
                                                  EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ZoomFactorChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE SetBoundsAndZoomFactor(RECT bounds, double zoomFactor) override;
  HRESULT STDMETHODCALLTYPE MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) override;
  HRESULT STDMETHODCALLTYPE add_MoveFocusRequested(ICoreWebView2MoveFocusRequestedEventHandler* eventHandler,
                                                   EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_MoveFocusRequested(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_GotFocus(ICoreWebView2FocusChangedEventHandler* eventHandler,
                                         EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_GotFocus(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_LostFocus(ICoreWebView2FocusChangedEventHandler* eventHandler,
                                          EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_LostFocus(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_AcceleratorKeyPressed(ICoreWebView2AcceleratorKeyPressedEventHandler* eventHandler,
                                                      EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_AcceleratorKeyPressed(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE get_ParentWindow(HWND* parentWindow) override;
  HRESULT STDMETHODCALLTYPE put_ParentWindow(HWND parentWindow) override;
  HRESULT STDMETHODCALLTYPE NotifyParentWindowPositionChanged() override;
  HRESULT STDMETHODCALLTYPE Close() override;
  HRESULT STDMETHODCALLTYPE get_CoreWebView2(ICoreWebView2** coreWebView2) override;

 private:
  friend ComObject;
  Controller(DWORD thread, unsigned view);
  ~Controller();
  void Shut();
  void Page_KeyPressed(UINT virtualKey, LPARAM lParam, bool system, bool& handled);

  unsigned view_;
  std::unique_ptr<ControllerWindow> window_;
  win::ComPtr<WebView> webView_;
  RECT bounds_{};
  double zoomFactor_ = 1.0;
  HandlerList<ICoreWebView2AcceleratorKeyPressedEventHandler> acceleratorKeyPressed_;
  // Events the fake never raises: kept only so that their tokens can be removed.
  HandlerList<IUnknown> neverRaised_;
};

}  // namespace fakewebview2
