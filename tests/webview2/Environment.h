// ICoreWebView2Environment of the fake runtime: makes controllers, each a view
// of its own, on the thread that made the environment.
#pragma once

#include <memory>
#include <string>

#include "browser/WebView2Api.h"
#include "tests/webview2/ComObject.h"
#include "tests/webview2/HandlerList.h"
#include "tests/webview2/Profile.h"
#include "win/ComPtr.h"

namespace fakewebview2 {

class Environment final
    : public ComObject<Environment, ICoreWebView2Environment, IID_ICoreWebView2Environment> {
 public:
  // `version`: the runtime's, from its folder ("" when the DLL lies elsewhere).
  static win::ComPtr<Environment> Create(std::shared_ptr<const Profile> profile, std::wstring version);

  HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(
      HWND parentWindow, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE CreateWebResourceResponse(IStream* content, int statusCode, LPCWSTR reasonPhrase,
                                                      LPCWSTR headers, ICoreWebView2WebResourceResponse** response) override;
  HRESULT STDMETHODCALLTYPE get_BrowserVersionString(LPWSTR* versionInfo) override;
  HRESULT STDMETHODCALLTYPE add_NewBrowserVersionAvailable(ICoreWebView2NewBrowserVersionAvailableEventHandler* eventHandler,
                                                           EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_NewBrowserVersionAvailable(EventRegistrationToken token) override;

 private:
  friend ComObject;
  Environment(std::shared_ptr<const Profile> profile, std::wstring version);
  ~Environment() = default;

  std::shared_ptr<const Profile> profile_;
  std::wstring version_;
  // Never raised: kept only so that their tokens can be removed.
  HandlerList<IUnknown> neverRaised_;
};

}  // namespace fakewebview2
