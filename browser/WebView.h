// The embedded page view: what the forms ask of a web browser control. The
// system browser control hosted in our own OLE container stands behind it
// (browser/SystemWebView.h), in every build: the tests give Wine, whose own
// control has no HTML engine, a control of theirs under the same class.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "forms/Event.h"

namespace browser {

class WebView {
 public:
  virtual ~WebView() = default;

  // The view's own child window.
  virtual HWND hWnd() const = 0;
  virtual void Move(int x, int y, int width, int height) = 0;

  virtual void Navigate(const std::wstring& url) = 0;
  virtual void Refresh() = 0;
  // True: the view shows no dialog boxes of its own (script errors and the like).
  virtual void SetSilent(bool silent) = 0;
  virtual bool Silent() const = 0;

  // The top document: its address, its root element's inner HTML ("" when
  // there is no document or it is empty), and one property of the root
  // element's style (e.g. "overflow" = "hidden").
  virtual std::wstring DocumentUrl() const = 0;
  virtual std::wstring RootInnerHtml() const = 0;
  virtual void SetRootStyle(std::wstring_view property, std::wstring_view value) = 0;
  virtual std::wstring RootStyle(std::wstring_view property) const = 0;
  // A tab page's view: shown is its tab selected (the view then takes the
  // focus if its window has it), hidden a tab behind another. The system
  // control needs neither.
  virtual void SetShown(bool /*shown*/) {}

  // Forgets every handler: a holder that unloads while the view lives on
  // (until the event being raised has returned) hears nothing more from it.
  void UnbindEvents() {
    DownloadBegin.Unbind();
    BeforeNavigate2.Unbind();
    DocumentComplete.Unbind();
    NavigateError.Unbind();
    TitleChange.Unbind();
    NewWindow.Unbind();
    ContextMenu.Unbind();
  }

  // Events, raised on the user-interface thread from the message loop. A
  // handler may destroy the view (its holder unloading); the view then touches
  // nothing of itself after the handler returns.
  forms::Event<> DownloadBegin;
  // Before any navigation, the top document's or a frame's; Cancel = true stops it.
  forms::Event<const std::wstring& /*url*/, bool& /*cancel*/> BeforeNavigate2;
  // A document has completed: each frame first, the top document last.
  forms::Event<const std::wstring& /*url*/, bool /*topLevel*/> DocumentComplete;
  // A navigation the view could not complete: no answer from the server
  // (status is the failure's HRESULT, e.g. 0x800C0005 for an unknown host), an
  // HTTP error (status is the HTTP status) or an address the view cannot load
  // (0x800C000D, an unknown protocol). Cancel = true: the view shows no error
  // page of its own in its place.
  forms::Event<const std::wstring& /*url*/, long /*status*/, bool /*topLevel*/, bool& /*cancel*/> NavigateError;
  forms::Event<const std::wstring& /*title*/> TitleChange;
  // The page asks for a new browser window; Processed = true: the view opens none.
  forms::Event<const std::wstring& /*url*/, bool& /*processed*/> NewWindow;
  // The user asks for the context menu; Show = false suppresses it.
  forms::Event<bool& /*show*/> ContextMenu;
};

// Creates the view as a child of `parent` at (x, y, width, height) in the
// parent's client pixels. Null when the control cannot be created. The first
// view chooses the page engine for the process and logs it: the system control,
// or, where the build allows it (VELMORA_PAGE_ENGINE=auto), WebView2 when its
// runtime is installed and its environment and first view start.
std::unique_ptr<WebView> CreateWebView(HWND parent, int x, int y, int width, int height);

// Clears the page engine's own HTTP cache where it keeps one apart from
// WinINet's (WebView2), cookies kept; returns once it is done (bounded).
void ClearPageEngineCache();

}  // namespace browser
