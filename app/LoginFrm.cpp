#include "app/LoginFrm.h"

#include "app/AppCommand.h"
#include "app/EmptyPage.h"
#include "app/LoadFrm.h"
#include "app/LoginBgFrm.h"
#include "browser/AddressScheme.h"
#include "browser/ShellNewWindow.h"
#include "browser/WebAddress.h"
#include "common/PublicData.h"
#include "forms/DeleteLater.h"
#include "forms/Program.h"
#include "mainwindow/WebMainFrm.h"
#include "resources/ResourceIds.h"
#include "win/Resource.h"
#include "win/WindowShape.h"

namespace app {

LoginFrm::LoginFrm()
    : Form([] {
        forms::FormDesign design = LoginDesign(WS_POPUP | WS_CLIPCHILDREN, false);
        design.backColor = kLoginKeyColour;
        return design;
      }()) {}

void LoginFrm::Form_Load() {
  HWND hwnd = window();
  Picture1 = std::make_unique<forms::PictureBox>();
  Picture1->Create(hwnd, 399, 119, 748, 456);
  WebBrowser1 = browser::CreateWebView(Picture1->hWnd(), -1, -1, 767, 475);
  if (WebBrowser1) {
    WebBrowser1->DownloadBegin.Bind(this, &LoginFrm::WebBrowser1_DownloadBegin);
    WebBrowser1->BeforeNavigate2.Bind(this, &LoginFrm::WebBrowser1_BeforeNavigate2);
    WebBrowser1->DocumentComplete.Bind(this, &LoginFrm::WebBrowser1_DocumentComplete);
    WebBrowser1->NavigateError.Bind(this, &LoginFrm::WebBrowser1_NavigateError);
    WebBrowser1->ContextMenu.Bind(this, &LoginFrm::WebBrowser1_ContextMenu);
    WebBrowser1->NewWindow.Bind(this, &LoginFrm::WebBrowser1_NewWindow);
  }
  MiniBtn = std::make_unique<forms::PictureBox>();
  MiniBtn->Create(hwnd, 1130, 116, 32, 32);
  MiniBtn->SetBackColor(kLoginKeyColour);
  MiniBtn->Click.Bind(this, &LoginFrm::MiniBtn_Click);
  closebtn = std::make_unique<forms::PictureBox>();
  closebtn->Create(hwnd, 1146, 147, 40, 40);
  closebtn->SetBackColor(kLoginKeyColour);
  closebtn->Click.Bind(this, &LoginFrm::closebtn_Click);
  // New child windows go to the bottom of the order: lift the buttons over the page panel.
  ::SetWindowPos(MiniBtn->hWnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::SetWindowPos(closebtn->hWnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  if (WebBrowser1) WebBrowser1->Navigate(common::LoginUrl());
  // The window's own background becomes see-through: only the page panel and
  // the buttons show over the backdrop.
  ::SetWindowLongW(hwnd, GWL_EXSTYLE, ::GetWindowLongW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
  ::SetLayeredWindowAttributes(hwnd, kLoginKeyColour, 0, LWA_COLORKEY);
  // Owned by the backdrop, so it stays above it and minimises with it.
  ::SetWindowLongPtrW(hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(frm::LoginBgFrm().hWnd()));
  frm::LoginBgFrm().Load();
  // At start-up the pictures are drawn once the splash is on screen (painted,
  // not only shown), while the page loads: nobody sees them before the page
  // has come. A later load (the
  // game window's account button shows this window at once) draws them now.
  if (frm::LoadFrm().IsLoaded()) {
    forms::RunWhenIdle([] {
      if (frm::LoginFrm().IsLoaded()) frm::LoginFrm().DrawPictures();
    });
  } else {
    DrawPictures();
  }
}

void LoginFrm::DrawPictures() {
  if (picturesDrawn_) return;
  picturesDrawn_ = true;
  MiniBtn->SetPicture(win::ResourceBytes(res::kGifLoginMin, res::kTypeGif));
  closebtn->SetPicture(win::ResourceBytes(res::kGifLoginClose, res::kTypeGif));
  // The icon file is for the game window; the backdrop takes its icons from
  // the resource, so a temporary folder that cannot be written (full, read
  // only, the file held by another program) costs it nothing.
  forms::RunStep(L"login: writing the icon file", [] {
    common::SaveResourceToFile(res::kIconFile, res::kTypeIcon, common::GetTempFolder() + common::IconFileName());
  });
  frm::LoginBgFrm().SetIcons(win::LoadIconResource(res::kIconFile, 16), win::LoadIconResource(res::kIconFile, 32));
  frm::LoginBgFrm().DrawBackdrop();
}

void LoginFrm::Form_Unload(bool&) {
  // The page view may be the one raising the event that unloads this window:
  // it lives until that event has returned, and whatever it does meanwhile (a
  // navigation left to finish) no longer reaches this window.
  if (WebBrowser1) WebBrowser1->UnbindEvents();
  forms::DeleteLater(std::move(WebBrowser1));
  forms::DeleteLater(std::move(MiniBtn));
  forms::DeleteLater(std::move(closebtn));
  forms::DeleteLater(std::move(Picture1));
  picturesDrawn_ = false;
}

void LoginFrm::Form_MouseDown(int button, int, double, double) {
  if (button == 1) win::DragWindow(window());
}

void LoginFrm::WebBrowser1_DownloadBegin() { WebBrowser1->SetSilent(true); }

void LoginFrm::WebBrowser1_DocumentComplete(const std::wstring& url, bool /*topLevel*/) {
  WebBrowser1->SetSilent(true);
  if (IsEmptyPage(WebBrowser1->RootInnerHtml())) common::ReportNoConnectionAndEnd();
  if (WebBrowser1->DocumentUrl().find(url) != std::wstring::npos) {
    DrawPictures();
    frm::LoginBgFrm().Show();
    Show();
    frm::LoadFrm().Unload();
  }
}

void LoginFrm::WebBrowser1_NavigateError(const std::wstring& url, long status, bool topLevel, bool& cancel) {
  // The system control gives no empty document for a login server it cannot
  // reach: it reports the failure here and would show its own error page. A
  // page that brought no answer at all (a failure code, not an HTTP status:
  // an HTTP error page still came from the server) is the same as an empty one.
  const bool httpStatus = status >= 100 && status <= 999;
  if (!topLevel || httpStatus || !browser::url::IsHttp(url)) return;
  cancel = true;
  common::ReportNoConnectionAndEnd();
}

void LoginFrm::WebBrowser1_ContextMenu(bool& show) { show = false; }

void LoginFrm::WebBrowser1_NewWindow(const std::wstring& url, bool& processed) {
  browser::SendNewWindowToShell(L"login", url, processed);
}

void LoginFrm::WebBrowser1_BeforeNavigate2(const std::wstring& url, bool& cancel) {
  AppCommand command = InterpretAppCommand(url);
  switch (command.kind) {
    case AppCommandKind::ExitGame:
      cancel = true;
      frm::LoginBgFrm().Unload();
      // A page that gives the command before it has completed leaves the splash up.
      frm::LoadFrm().Unload();
      break;
    case AppCommandKind::Minimize:
      cancel = true;
      frm::LoginBgFrm().Minimize();
      break;
    case AppCommandKind::LoadGame:
      if (!browser::RebuiltWebAddress(command.gameAddress)) {
        // No web address to open (none at all, a file, a share, another
        // scheme): the login screen stays as it is.
        cancel = true;
        forms::Program::Log(L"login: a game address that is not a web page was refused: " + command.gameAddress);
        break;
      }
      // The view is going away with this window: it goes no further towards
      // an app:// address.
      cancel = true;
      frm::LoginBgFrm().Unload();
      frm::WebMainFrm().AccountRequest.Bind([] { frm::LoginFrm().Show(); });
      frm::WebMainFrm().SetURL(command.gameAddress);
      frm::WebMainFrm().Show();
      frm::LoadFrm().Unload();
      break;
    case AppCommandKind::None:
      break;
  }
}

void LoginFrm::MiniBtn_Click() { frm::LoginBgFrm().Minimize(); }

void LoginFrm::closebtn_Click() { frm::LoginBgFrm().Unload(); }

}  // namespace app

app::LoginFrm& frm::LoginFrm() { return forms::TheForm<app::LoginFrm>(); }
