#include "mainwindow/WebUrl.h"

#include "browser/ShellNewWindow.h"
#include "forms/DeleteLater.h"
#include "forms/Program.h"
#include "tabstrip/CTabItem.h"

namespace mainwindow {

namespace {
// The view overhangs its frame on every side, which hides its own border.
constexpr int kOverhang = 2;
}  // namespace

WebUrl::WebUrl()
    : TabPageForm(forms::FormDesign{
          .caption = L"WebUrl",
          .clientWidth = 640,
          .clientHeight = 480,
          .style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
          .showInTaskbar = false,
          .scaleMode = forms::ScaleMode::Pixels,
      }) {}

void WebUrl::Form_Load() {
  RECT rc{};
  ::GetClientRect(window(), &rc);
  Picture1 = std::make_unique<forms::PictureBox>();
  Picture1->Create(window(), 0, 0, rc.right, rc.bottom);
  wb = browser::CreateWebView(Picture1->hWnd(), -kOverhang, -kOverhang, rc.right + 2 * kOverhang,
                              rc.bottom + 2 * kOverhang);
  if (!wb) return;
  wb->DownloadBegin.Bind(this, &WebUrl::wb_DownloadBegin);
  wb->TitleChange.Bind(this, &WebUrl::wb_TitleChange);
  wb->DocumentComplete.Bind(this, &WebUrl::wb_DocumentComplete);
  wb->NewWindow.Bind(this, &WebUrl::Web_V1_NewWindow);
  wb->ContextMenu.Bind(this, &WebUrl::wb_ContextMenu);
  wb->Navigate(L"about:blank");
}

void WebUrl::OpenURL(const std::wstring& szURL) {
  Load();
  if (wb) wb->Navigate(szURL);
}

void WebUrl::RefreshPage() {
  if (wb) wb->Refresh();
}

void WebUrl::PageShown(bool shown) {
  if (wb) wb->SetShown(shown);
}

void WebUrl::Form_Resize() {
  if (!Picture1) return;
  RECT rc{};
  ::GetClientRect(window(), &rc);
  Picture1->Move(0, 0, rc.right, rc.bottom);
  if (wb) wb->Move(-kOverhang, -kOverhang, rc.right + 2 * kOverhang, rc.bottom + 2 * kOverhang);
}

void WebUrl::Form_Unload(bool&) {
  // The view may be raising the event that closes this page: it goes once
  // that event has returned, and tells this page nothing more.
  if (wb) wb->UnbindEvents();
  forms::DeleteLater(std::move(wb));
  forms::DeleteLater(std::move(Picture1));
}

void WebUrl::wb_DownloadBegin() { wb->SetSilent(true); }

void WebUrl::wb_TitleChange(const std::wstring& title) {
  if (TabItem()) TabItem()->SetCaption(title);
}

void WebUrl::wb_DocumentComplete(const std::wstring&, bool) {
  wb->SetSilent(true);
  // Every completed frame hides the top document's scroll bars again.
  wb->SetRootStyle(L"overflow", L"hidden");
}

// A game page offers none of the browser's own menu (back, view source...).
void WebUrl::wb_ContextMenu(bool& show) { show = false; }

void WebUrl::Web_V1_NewWindow(const std::wstring& url, bool& processed) {
  browser::SendNewWindowToShell(L"page", url, processed);
}

}  // namespace mainwindow
