// The page view on the WebView2 runtime: the same operations and events as the
// system control's (browser/SystemWebView.h). Its child window exists at once;
// the runtime's controller is made in it asynchronously, and navigations asked
// for meanwhile are made, in order, when it comes. Every call into the runtime
// and every callback out of it is on the user-interface thread.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "browser/WebView.h"

namespace browser {

class WebView2View final : public WebView {
 public:
  // Null without a started environment (StartWebView2Environment) or a window.
  static std::unique_ptr<WebView2View> Create(HWND parent, int x, int y, int width, int height);
  ~WebView2View() override;

  // Lets messages run until the controller has come or has failed for good
  // (bounded): S_OK, or the failure.
  HRESULT WaitForController();
  // Clears the runtime's HTTP cache (cookies kept) through a live view and
  // waits, bounded, for the answer; nothing when no view lives.
  static void ClearBrowserCache();

  HWND hWnd() const override;
  void Move(int x, int y, int width, int height) override;
  void Navigate(const std::wstring& url) override;
  void Refresh() override;
  void SetSilent(bool silent) override;
  bool Silent() const override;
  void SetShown(bool shown) override;
  std::wstring DocumentUrl() const override;
  std::wstring RootInnerHtml() const override;
  void SetRootStyle(std::wstring_view property, std::wstring_view value) override;
  std::wstring RootStyle(std::wstring_view property) const override;

  class Core;

 private:
  WebView2View() = default;
  Core* core_ = nullptr;  // one reference of ours
};

}  // namespace browser
