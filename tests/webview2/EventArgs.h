// The arguments the fake runtime's events carry, and the deferral of a new
// window's decision. Each answers only on the thread of its view; what the
// host sets (Cancel, Handled, a new window) is read once the handlers have run.
#pragma once

#include <functional>
#include <string>

#include "browser/WebView2Api.h"
#include "tests/webview2/ComObject.h"
#include "win/ComPtr.h"

namespace fakewebview2 {

class NavigationStartingArgs final
    : public ComObject<NavigationStartingArgs, ICoreWebView2NavigationStartingEventArgs,
                       IID_ICoreWebView2NavigationStartingEventArgs> {
 public:
  static win::ComPtr<NavigationStartingArgs> Create(DWORD thread, unsigned view, std::wstring uri, UINT64 id,
                                                    bool userInitiated);
  bool Cancelled() const { return cancel_; }

  HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override;
  HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* isUserInitiated) override;
  HRESULT STDMETHODCALLTYPE get_IsRedirected(BOOL* isRedirected) override;
  HRESULT STDMETHODCALLTYPE get_RequestHeaders(ICoreWebView2HttpRequestHeaders** requestHeaders) override;
  HRESULT STDMETHODCALLTYPE get_Cancel(BOOL* cancel) override;
  HRESULT STDMETHODCALLTYPE put_Cancel(BOOL cancel) override;
  HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* navigationId) override;

 private:
  friend ComObject;
  NavigationStartingArgs(DWORD thread, unsigned view, std::wstring uri, UINT64 id, bool userInitiated)
      : ComObject(thread), view_(view), uri_(std::move(uri)), id_(id), userInitiated_(userInitiated) {}
  ~NavigationStartingArgs() = default;
  unsigned view_;
  std::wstring uri_;
  UINT64 id_;
  bool userInitiated_;
  bool cancel_ = false;
};

class NavigationCompletedArgs final
    : public ComObject<NavigationCompletedArgs, ICoreWebView2NavigationCompletedEventArgs,
                       IID_ICoreWebView2NavigationCompletedEventArgs> {
 public:
  static win::ComPtr<NavigationCompletedArgs> Create(DWORD thread, unsigned view, bool success,
                                                     COREWEBVIEW2_WEB_ERROR_STATUS status, UINT64 id);

  HRESULT STDMETHODCALLTYPE get_IsSuccess(BOOL* isSuccess) override;
  HRESULT STDMETHODCALLTYPE get_WebErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS* webErrorStatus) override;
  HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* navigationId) override;

 private:
  friend ComObject;
  NavigationCompletedArgs(DWORD thread, unsigned view, bool success, COREWEBVIEW2_WEB_ERROR_STATUS status, UINT64 id)
      : ComObject(thread), view_(view), success_(success), status_(status), id_(id) {}
  ~NavigationCompletedArgs() = default;
  unsigned view_;
  bool success_;
  COREWEBVIEW2_WEB_ERROR_STATUS status_;
  UINT64 id_;
};

class Deferral final : public ComObject<Deferral, ICoreWebView2Deferral, IID_ICoreWebView2Deferral> {
 public:
  // `completed` runs once, at the first Complete.
  static win::ComPtr<Deferral> Create(DWORD thread, unsigned view, std::function<void()> completed);
  HRESULT STDMETHODCALLTYPE Complete() override;

 private:
  friend ComObject;
  Deferral(DWORD thread, unsigned view, std::function<void()> completed)
      : ComObject(thread), view_(view), completed_(std::move(completed)) {}
  ~Deferral() = default;
  unsigned view_;
  std::function<void()> completed_;
};

class NewWindowRequestedArgs final
    : public ComObject<NewWindowRequestedArgs, ICoreWebView2NewWindowRequestedEventArgs,
                       IID_ICoreWebView2NewWindowRequestedEventArgs> {
 public:
  // `decided` runs once the handlers have run and any deferral has completed.
  static win::ComPtr<NewWindowRequestedArgs> Create(DWORD thread, unsigned view, std::wstring uri,
                                                    std::function<void(NewWindowRequestedArgs&)> decided);
  bool Handled() const { return handled_; }
  ICoreWebView2* NewWindow() const { return newWindow_.get(); }
  const std::wstring& Uri() const { return uri_; }
  // The handlers have returned: decided now unless a deferral holds it.
  void HandlersDone();

  HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override;
  HRESULT STDMETHODCALLTYPE put_NewWindow(ICoreWebView2* newWindow) override;
  HRESULT STDMETHODCALLTYPE get_NewWindow(ICoreWebView2** newWindow) override;
  HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) override;
  HRESULT STDMETHODCALLTYPE get_Handled(BOOL* handled) override;
  HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* isUserInitiated) override;
  HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) override;
  HRESULT STDMETHODCALLTYPE get_WindowFeatures(ICoreWebView2WindowFeatures** value) override;

 private:
  friend ComObject;
  NewWindowRequestedArgs(DWORD thread, unsigned view, std::wstring uri,
                         std::function<void(NewWindowRequestedArgs&)> decided)
      : ComObject(thread), view_(view), uri_(std::move(uri)), decided_(std::move(decided)) {}
  ~NewWindowRequestedArgs() = default;
  void Decide();
  unsigned view_;
  std::wstring uri_;
  std::function<void(NewWindowRequestedArgs&)> decided_;
  win::ComPtr<ICoreWebView2> newWindow_;
  bool handled_ = false;
  bool deferred_ = false;
  bool handlersDone_ = false;
};

class ProcessFailedArgs final
    : public ComObject<ProcessFailedArgs, ICoreWebView2ProcessFailedEventArgs, IID_ICoreWebView2ProcessFailedEventArgs> {
 public:
  static win::ComPtr<ProcessFailedArgs> Create(DWORD thread, unsigned view, COREWEBVIEW2_PROCESS_FAILED_KIND kind);
  HRESULT STDMETHODCALLTYPE get_ProcessFailedKind(COREWEBVIEW2_PROCESS_FAILED_KIND* processFailedKind) override;

 private:
  friend ComObject;
  ProcessFailedArgs(DWORD thread, unsigned view, COREWEBVIEW2_PROCESS_FAILED_KIND kind)
      : ComObject(thread), view_(view), kind_(kind) {}
  ~ProcessFailedArgs() = default;
  unsigned view_;
  COREWEBVIEW2_PROCESS_FAILED_KIND kind_;
};

class AcceleratorKeyArgs final
    : public ComObject<AcceleratorKeyArgs, ICoreWebView2AcceleratorKeyPressedEventArgs,
                       IID_ICoreWebView2AcceleratorKeyPressedEventArgs> {
 public:
  static win::ComPtr<AcceleratorKeyArgs> Create(DWORD thread, unsigned view, COREWEBVIEW2_KEY_EVENT_KIND kind,
                                                UINT virtualKey, LPARAM lParam);
  bool Handled() const { return handled_; }

  HRESULT STDMETHODCALLTYPE get_KeyEventKind(COREWEBVIEW2_KEY_EVENT_KIND* keyEventKind) override;
  HRESULT STDMETHODCALLTYPE get_VirtualKey(UINT* virtualKey) override;
  HRESULT STDMETHODCALLTYPE get_KeyEventLParam(INT* lParam) override;
  HRESULT STDMETHODCALLTYPE get_PhysicalKeyStatus(COREWEBVIEW2_PHYSICAL_KEY_STATUS* physicalKeyStatus) override;
  HRESULT STDMETHODCALLTYPE get_Handled(BOOL* handled) override;
  HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) override;

 private:
  friend ComObject;
  AcceleratorKeyArgs(DWORD thread, unsigned view, COREWEBVIEW2_KEY_EVENT_KIND kind, UINT virtualKey, LPARAM lParam)
      : ComObject(thread), view_(view), kind_(kind), virtualKey_(virtualKey), lParam_(lParam) {}
  ~AcceleratorKeyArgs() = default;
  unsigned view_;
  COREWEBVIEW2_KEY_EVENT_KIND kind_;
  UINT virtualKey_;
  LPARAM lParam_;
  bool handled_ = false;
};

// A copy of `text` for the host to free with CoTaskMemFree; E_POINTER,
// E_OUTOFMEMORY.
HRESULT CopyForHost(const std::wstring& text, LPWSTR* out);

}  // namespace fakewebview2
