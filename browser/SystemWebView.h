// The system browser control (CLSID_WebBrowser) in our own minimal OLE
// container: a child window whose site objects (client site, in-place site
// and frame, document host UI handler) host the control in place, and two
// event sinks connected through the control's connection points, one for
// DWebBrowserEvents2 (BeforeNavigate2, DocumentComplete, NavigateError,
// DownloadBegin, TitleChange) and one for the first-generation DWebBrowserEvents (NewWindow).
//
// The control raises its events from inside its own calls. When a handler
// destroys the view, the control is released only once the outermost call
// into or out of it has returned: the view's object goes at once, the site
// (a COM object of its own) stays until then and touches no view.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "browser/WebView.h"

namespace browser {

class SystemWebView final : public WebView {
 public:
  // Null when the control cannot be created (no such class, OLE not initialised...).
  static std::unique_ptr<SystemWebView> Create(HWND parent, int x, int y, int width, int height);
  ~SystemWebView() override;

  HWND hWnd() const override;
  void Move(int x, int y, int width, int height) override;
  void Navigate(const std::wstring& url) override;
  void Refresh() override;
  void SetSilent(bool silent) override;
  bool Silent() const override;
  std::wstring DocumentUrl() const override;
  std::wstring RootInnerHtml() const override;
  void SetRootStyle(std::wstring_view property, std::wstring_view value) override;
  std::wstring RootStyle(std::wstring_view property) const override;

  class Host;

 private:
  SystemWebView() = default;
  Host* host_ = nullptr;  // one reference of ours
};

}  // namespace browser
