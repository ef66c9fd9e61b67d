// ICoreWebView2 of the fake runtime: one plain page view (the page engine of
// tests/support) behind the runtime's interface, with the runtime's order of
// events. Every navigation, the host's and the page's own (links, refreshes,
// script locations), goes NavigationStarting (posted) -> the page engine
// loads it -> NavigationCompleted (posted); SourceChanged, ContentLoading and
// HistoryChanged are never raised. Frames raise FrameNavigationStarting (at
// once, from the page engine's own message) and FrameNavigationCompleted.
// A navigation that another replaces, that Stop gives up, or that a handler
// cancels completes with OPERATION_CANCELED and leaves the page as it was.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "browser/WebView2Api.h"
#include "tests/support/PlainPageView.h"
#include "tests/webview2/ComObject.h"
#include "tests/webview2/HandlerList.h"
#include "tests/webview2/Profile.h"
#include "tests/webview2/ScriptAnswers.h"
#include "tests/webview2/Settings.h"
#include "win/ComPtr.h"

namespace fakewebview2 {

class WebView final : public ComObject<WebView, ICoreWebView2, IID_ICoreWebView2> {
 public:
  // Its page view inside `container`; null when the view cannot be made.
  static win::ComPtr<WebView> Create(DWORD thread, unsigned view, std::shared_ptr<const Profile> profile,
                                     HWND container);

  browser::PlainPageView* Page() const { return page_.get(); }
  unsigned Number() const { return view_; }
  // The controller closes: the page view goes and every call fails from now on.
  void Close();
  // Loads the shown page again, as Reload does (the runtime's own F5).
  void ReloadPage();

  HRESULT STDMETHODCALLTYPE get_Settings(ICoreWebView2Settings** settings) override;
  HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* uri) override;
  HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR uri) override;
  HRESULT STDMETHODCALLTYPE NavigateToString(LPCWSTR htmlContent) override;
  HRESULT STDMETHODCALLTYPE add_NavigationStarting(ICoreWebView2NavigationStartingEventHandler* eventHandler,
                                                   EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_NavigationStarting(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_ContentLoading(ICoreWebView2ContentLoadingEventHandler* eventHandler,
                                               EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ContentLoading(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_SourceChanged(ICoreWebView2SourceChangedEventHandler* eventHandler,
                                              EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_SourceChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_HistoryChanged(ICoreWebView2HistoryChangedEventHandler* eventHandler,
                                               EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_HistoryChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_NavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* eventHandler,
                                                    EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_NavigationCompleted(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_FrameNavigationStarting(ICoreWebView2NavigationStartingEventHandler* eventHandler,
                                                        EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_FrameNavigationStarting(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_FrameNavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* eventHandler,
                                                         EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_FrameNavigationCompleted(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_ScriptDialogOpening(ICoreWebView2ScriptDialogOpeningEventHandler* eventHandler,
                                                    EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ScriptDialogOpening(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_PermissionRequested(ICoreWebView2PermissionRequestedEventHandler* eventHandler,
                                                    EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_PermissionRequested(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_ProcessFailed(ICoreWebView2ProcessFailedEventHandler* eventHandler,
                                              EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ProcessFailed(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE AddScriptToExecuteOnDocumentCreated(
      LPCWSTR javaScript, ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE RemoveScriptToExecuteOnDocumentCreated(LPCWSTR id) override;
  HRESULT STDMETHODCALLTYPE ExecuteScript(LPCWSTR javaScript, ICoreWebView2ExecuteScriptCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT imageFormat, IStream* imageStream,
                                           ICoreWebView2CapturePreviewCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE Reload() override;
  HRESULT STDMETHODCALLTYPE PostWebMessageAsJson(LPCWSTR webMessageAsJson) override;
  HRESULT STDMETHODCALLTYPE PostWebMessageAsString(LPCWSTR webMessageAsString) override;
  HRESULT STDMETHODCALLTYPE add_WebMessageReceived(ICoreWebView2WebMessageReceivedEventHandler* handler,
                                                   EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_WebMessageReceived(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE CallDevToolsProtocolMethod(
      LPCWSTR methodName, LPCWSTR parametersAsJson,
      ICoreWebView2CallDevToolsProtocolMethodCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE get_BrowserProcessId(UINT32* value) override;
  HRESULT STDMETHODCALLTYPE get_CanGoBack(BOOL* canGoBack) override;
  HRESULT STDMETHODCALLTYPE get_CanGoForward(BOOL* canGoForward) override;
  HRESULT STDMETHODCALLTYPE GoBack() override;
  HRESULT STDMETHODCALLTYPE GoForward() override;
  HRESULT STDMETHODCALLTYPE GetDevToolsProtocolEventReceiver(LPCWSTR eventName,
                                                             ICoreWebView2DevToolsProtocolEventReceiver** receiver) override;
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE add_NewWindowRequested(ICoreWebView2NewWindowRequestedEventHandler* eventHandler,
                                                   EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_NewWindowRequested(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_DocumentTitleChanged(ICoreWebView2DocumentTitleChangedEventHandler* eventHandler,
                                                     EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_DocumentTitleChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE get_DocumentTitle(LPWSTR* title) override;
  HRESULT STDMETHODCALLTYPE AddHostObjectToScript(LPCWSTR name, VARIANT* object) override;
  HRESULT STDMETHODCALLTYPE RemoveHostObjectFromScript(LPCWSTR name) override;
  HRESULT STDMETHODCALLTYPE OpenDevToolsWindow() override;
  HRESULT STDMETHODCALLTYPE add_ContainsFullScreenElementChanged(
      ICoreWebView2ContainsFullScreenElementChangedEventHandler* eventHandler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ContainsFullScreenElementChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE get_ContainsFullScreenElement(BOOL* containsFullScreenElement) override;
  HRESULT STDMETHODCALLTYPE add_WebResourceRequested(ICoreWebView2WebResourceRequestedEventHandler* eventHandler,
                                                     EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_WebResourceRequested(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE AddWebResourceRequestedFilter(const LPCWSTR uri,
                                                          const COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) override;
  HRESULT STDMETHODCALLTYPE RemoveWebResourceRequestedFilter(
      const LPCWSTR uri, const COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) override;
  HRESULT STDMETHODCALLTYPE add_WindowCloseRequested(ICoreWebView2WindowCloseRequestedEventHandler* eventHandler,
                                                     EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_WindowCloseRequested(EventRegistrationToken token) override;

 private:
  friend ComObject;
  // A top-level navigation under way: between its NavigationStarting and its
  // NavigationCompleted.
  struct Navigation {
    UINT64 id = 0;
    std::wstring uri;
    std::optional<COREWEBVIEW2_WEB_ERROR_STATUS> failure;
  };
  struct DocumentScript {
    std::wstring id;
    Script script;
  };

  WebView(DWORD thread, unsigned view, std::shared_ptr<const Profile> profile);
  ~WebView();
  void BindPage();

  // Runs `action` from the message loop, unless the view has closed meanwhile.
  void Later(std::function<void(WebView&)> action);
  // A navigation of the top document: NavigationStarting, then (not cancelled) the load.
  void StartNavigation(std::wstring uri, bool userInitiated);
  void Load(UINT64 id, const std::wstring& uri);
  void Complete(UINT64 id, bool success, COREWEBVIEW2_WEB_ERROR_STATUS status);
  void RaiseCompleted(UINT64 id, bool success, COREWEBVIEW2_WEB_ERROR_STATUS status);
  void RaiseFrameCompleted(UINT64 id, bool success, COREWEBVIEW2_WEB_ERROR_STATUS status);
  void RaiseTitleChanged();
  void RaiseProcessFailed();
  std::wstring RunScript(const Script& script);

  // The page engine's events.
  void Page_BeforeNavigate2(const std::wstring& url, bool& cancel);
  void Page_DocumentArrived(const std::wstring& url, bool topLevel);
  void Page_DocumentComplete(const std::wstring& url, bool topLevel);
  void Page_NavigateError(const std::wstring& url, long status, bool topLevel, bool& cancel);
  void Page_TitleChange(const std::wstring& title);
  void Page_NewWindow(const std::wstring& url, bool& processed);
  void Page_ContextMenu(bool& show);

  unsigned view_;
  std::shared_ptr<const Profile> profile_;
  win::ComPtr<Settings> settings_;
  std::unique_ptr<browser::PlainPageView> page_;
  std::optional<Navigation> navigation_;
  bool letThrough_ = false;       // the page engine's next top navigation is ours
  bool titleWaiting_ = false;     // a title to announce after NavigationCompleted
  // A frame's navigation: its id, and the failure NavigateError gave.
  struct FrameNavigation {
    UINT64 id = 0;
    std::optional<COREWEBVIEW2_WEB_ERROR_STATUS> failure;
  };
  std::map<unsigned, FrameNavigation> frames_;  // by the page engine's frame number
  std::vector<DocumentScript> documentScripts_;
  unsigned lastScriptId_ = 0;

  HandlerList<ICoreWebView2NavigationStartingEventHandler> navigationStarting_;
  HandlerList<ICoreWebView2NavigationCompletedEventHandler> navigationCompleted_;
  HandlerList<ICoreWebView2NavigationStartingEventHandler> frameNavigationStarting_;
  HandlerList<ICoreWebView2NavigationCompletedEventHandler> frameNavigationCompleted_;
  HandlerList<ICoreWebView2ProcessFailedEventHandler> processFailed_;
  HandlerList<ICoreWebView2NewWindowRequestedEventHandler> newWindowRequested_;
  HandlerList<ICoreWebView2DocumentTitleChangedEventHandler> documentTitleChanged_;
  // Events the fake never raises: kept only so that their tokens can be removed.
  HandlerList<IUnknown> neverRaised_;
};

}  // namespace fakewebview2
