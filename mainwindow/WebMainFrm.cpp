#include "mainwindow/WebMainFrm.h"

#include <commctrl.h>

#include "browser/WebAddress.h"
#include "common/PublicData.h"
#include "forms/DeleteLater.h"
#include "forms/Program.h"
#include "forms/Rounding.h"
#include "forms/Screen.h"
#include "forms/Twips.h"
#include "mainwindow/ModMsg.h"
#include "mainwindow/MsgFrm.h"
#include "mainwindow/WebUrl.h"
#include "resources/ResourceIds.h"
#include "win/CommonControls.h"
#include "win/Module.h"
#include "win/Resource.h"
#include "win/WindowShape.h"

namespace mainwindow {

namespace {
// The design size of the window's inner area: 15540 by 9585 twips.
constexpr int kDesignWidth = 1036, kDesignHeight = 639;

std::unique_ptr<controls::iButton> TitleButton(HWND parent, int width, int height) {
  auto button = std::make_unique<controls::iButton>();
  // Transparent: the strips' magenta corners let the title band show through.
  forms::PropertyBag bag;
  bag.Write(L"cBackStyle", 0);
  button->Create(parent, 0, 1, width, height, bag);
  return button;
}

std::unique_ptr<controls::iButton> LinkButton(HWND parent, int width, const wchar_t* caption) {
  auto button = std::make_unique<controls::iButton>();
  forms::PropertyBag bag;
  bag.Write(L"AutoSize", false);
  bag.Write(L"Caption", caption);
  bag.Write(L"BackPicture", static_cast<std::int32_t>(res::kBmpAnswerButtons));
  bag.Write(L"cBackStyle", 0);
  button->Create(parent, 0, 0, width, 22, bag);
  return button;
}
}  // namespace

WebMainFrm::WebMainFrm()
    : Form(forms::FormDesign{
          .caption = common::GameCaption(),
          .clientWidth = kDesignWidth,
          .clientHeight = kDesignHeight,
          .style = WS_POPUP | WS_CLIPCHILDREN,
          .showInTaskbar = true,
          .autoRedraw = true,
      }) {}

WebMainFrm::~WebMainFrm() = default;

void WebMainFrm::RectRgn(HWND hWnd, std::int16_t Top, std::int16_t Buttom, std::int16_t X, std::int16_t Y) {
  win::RoundWindowCorners(hWnd, Top, Buttom, X, Y);
}

void WebMainFrm::CreateControls() {
  HWND hwnd = window();
  WebBForm = std::make_unique<controls::BForm>();
  forms::PropertyBag band;
  band.Write(L"HasLogo", true);
  band.Write(L"BackColor", std::to_wstring(RGB(222, 222, 222)));
  WebBForm->Create(hwnd, 0, 0, kDesignWidth, 33, band);
  PicLogo = std::make_unique<forms::PictureBox>();
  PicLogo->Create(hwnd, forms::TwipsToPixels(100), forms::TwipsToPixels(30), forms::TwipsToPixels(440),
                  forms::TwipsToPixels(440));
  web_tool = TitleButton(hwnd, 24, 18);
  web_min = TitleButton(hwnd, 24, 18);
  web_minmax = TitleButton(hwnd, 25, 18);
  web_minmax->SetStyle(1);
  web_close = TitleButton(hwnd, 43, 18);
  GameSpaceBtn = LinkButton(hwnd, forms::TwipsToPixels(1215), L"游戏空间");
  OtherUserBtn = LinkButton(hwnd, forms::TwipsToPixels(1485), L"切换账号");

  WebuTab = std::make_unique<tabstrip::uTab>();
  forms::PropertyBag strip;
  strip.Write(L"TabStyle", 1);
  strip.Write(L"TabLeftSize", 10);
  // The link buttons lie over the strip's right end: no tab goes under them
  // (a margin of our own; the strip's default right margin is 0).
  strip.Write(L"TabRightSize", forms::TwipsToPixels(250));
  WebuTab->Create(hwnd, forms::TwipsToPixels(2300), forms::TwipsToPixels(45), 400, 32, strip);

  const int pageTop = 32, pageWidth = kDesignWidth - 8, pageHeight = kDesignHeight - pageTop - 4;
  pCnt = std::make_unique<forms::PictureBox>();
  pCnt->Create(hwnd, 4, pageTop, pageWidth, pageHeight);
  Picture1 = std::make_unique<forms::PictureBox>();
  Picture1->Create(hwnd, 4, pageTop, pageWidth, pageHeight);
  // Picture1's view is never navigated: the window shows it, blank, until the first tab.
  WebBrowser1 = browser::CreateWebView(Picture1->hWnd(), -2, -2, pageWidth + 4, pageHeight + 4);

  // Stacking, top first: buttons and logo, strip, blank page, page container,
  // and the title skin under everything.
  for (HWND above : {web_tool->hWnd(), web_min->hWnd(), web_minmax->hWnd(), web_close->hWnd(),
                     GameSpaceBtn->hWnd(), OtherUserBtn->hWnd(), PicLogo->hWnd(), WebuTab->hWnd(),
                     Picture1->hWnd()}) {
    ::SetWindowPos(above, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  ::SetWindowPos(pCnt->hWnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::SetWindowPos(WebBForm->hWnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  win::LoadCommonControlClasses(ICC_WIN95_CLASSES);
  tooltip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd, nullptr,
                               forms::Program::Instance(), nullptr);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = hwnd;
  tool.uId = reinterpret_cast<UINT_PTR>(WebuTab->hWnd());
  tool.lpszText = const_cast<wchar_t*>(L"");
  ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void WebMainFrm::CreateAppMenu() {
  appmenu.reset(::CreatePopupMenu());
  HMENU menu = appmenu.get();
  ::AppendMenuW(menu, MF_STRING, kMenuRefresh, L"刷新(F5)");
  ::AppendMenuW(menu, MF_STRING, kMenuHideRestore, L"隐藏/恢复(F10)");
  ::AppendMenuW(menu, MF_STRING, kMenuClearCache, L"清除缓存");
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu, MF_STRING, kMenuUpdate, L"更新");
  ::AppendMenuW(menu, MF_STRING, kMenuVersion, L"版本号:");
  ::AppendMenuW(menu, MF_STRING, kMenuExit, L"退出");
}

void WebMainFrm::Form_Load() {
  HWND hwnd = window();
  CreateControls();
  CreateAppMenu();
  BindReactions();

  const std::wstring iconFile = common::GetTempFolder() + common::IconFileName();
  smallIcon_ = win::LoadIconFile(iconFile, 16);
  ::SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
  if (!notifyIcon_) notifyIcon_ = std::make_unique<CYFNotifyIcon>();
  notifyIcon_->AddNotifyIcon(hwnd, smallIcon_.get(), common::GameCaption());
  bigIcon_ = win::LoadIconFile(iconFile, 32);
  ::SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));

  HookMainWindow(hwnd);
  const std::wstring version = L"版本号:" + win::ModuleVersionText();
  ::ModifyMenuW(appmenu.get(), kMenuVersion, MF_BYCOMMAND | MF_STRING, kMenuVersion, version.c_str());

  WebBForm->SetCaption(common::GameName);
  SetCaption(common::GameCaption());

  objStyle = std::make_unique<controls::cSetStyle>();
  objStyle->CloseClick.Bind(this, &WebMainFrm::objStyle_CloseClick);
  objStyle->objForm = this;
  objStyle->SetWindowStyle(hwnd);
  WebBForm->SetfrmHwnd(hwnd);

  // Centred in twips on the work area of the window's monitor: each
  // difference rounded, then halved toward zero.
  const Place place = WindowPlace();
  const forms::PixelRect work = forms::WorkAreaOf(hwnd);
  Move(forms::CentredEdgeTwips(forms::PixelsToTwips(work.left), forms::PixelsToTwips(work.width()), place.width),
       forms::CentredEdgeTwips(forms::PixelsToTwips(work.top), forms::PixelsToTwips(work.height()), place.height),
       place.width, place.height);

  web_close->SetBackPicture(win::LoadBitmapResource(res::kBmpClose).release());
  web_minmax->SetBackPicture(win::LoadBitmapResource(res::kBmpMinMax).release());
  web_min->SetBackPicture(win::LoadBitmapResource(res::kBmpMin).release());
  web_minmax->SetValue(true);
  web_tool->SetBackPicture(win::LoadBitmapResource(res::kBmpTool).release());

  WebuTab->SethContainerWnd(pCnt->hWnd());
  WebuTab->LockReDraw(false);
  PicLogo->SetPicture(win::LoadBitmapResource(res::kBmpLogo).release());

  web_minmax_Click();

  dde_.Execute.Bind(this, &WebMainFrm::Form_DdeExecute);
  dde_.Start(kDdeService, kDdeTopic);
}

void WebMainFrm::SetURL(const std::wstring& strURL) {
  Load();
  if (WebuTab) OpenTab(strURL);
}

void WebMainFrm::OpenTab(const std::wstring& address) {
  const std::wstring key = L"Game" + address;
  tabstrip::CTabItems& items = WebuTab->TabItems();
  const std::int32_t index = items.FindItem(key);
  if (index == tabstrip::kNoTab) {
    auto page = std::make_shared<WebUrl>();
    page->OpenURL(address);
    items.Add(key, page, key, std::nullopt);
    WebuTab->SetSelected(items.Count() - 1);
  } else {
    WebuTab->SetSelected(index);
  }
  Picture1->SetVisible(false);
}

void WebMainFrm::Form_DdeExecute(const std::wstring& address, bool& accepted) {
  // Any local program may ask: only a web page opens, rebuilt from its parts
  // as a page's new window is, never a file, a share or a script.
  const std::optional<std::wstring> page = browser::RebuiltWebAddress(address);
  if (!page) {
    accepted = false;
    forms::Program::Log(L"DDE: an address that is not a web page was refused: " + address);
    return;
  }
  // Each tab is a page view of its own: a flood of addresses must not use up the process.
  if (WebuTab->TabItems().FindItem(L"Game" + *page) == tabstrip::kNoTab && WebuTab->TabItems().Count() >= kMaxTabs) {
    accepted = false;
    forms::Program::Log(L"DDE: " + std::to_wstring(kMaxTabs) + L" tabs are open, no more is opened: " + *page);
    return;
  }
  // The normal state restores a minimised window; one hidden by the boss key
  // stays hidden and silent, and the tab is there when it comes back.
  if (::IsWindowVisible(window()) && ::IsIconic(window())) ::ShowWindow(window(), SW_RESTORE);
  OpenTab(*page);
}

void WebMainFrm::CloseRequest() { Unload(forms::UnloadMode::Code); }

void WebMainFrm::Form_QueryUnload(bool& cancel, forms::UnloadMode) {
  // A close request that arrives while the question is open (the tray menu
  // stays reachable) never gets here: the form is already unloading, and the
  // open question's answer decides for both.
  if (m_bExit) return;
  mainwindow::MsgFrm& box = frm::MsgFrm();
  box.Load();
  // Modal over the main window: owned by it, so it stays above it.
  ::SetWindowLongPtrW(box.hWnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(window()));
  // A log-off or shutdown meanwhile shows the player why the game holds it up.
  ::ShutdownBlockReasonCreate(window(), mainwindow::kExitQuestion);
  box.ShowModal();
  ::ShutdownBlockReasonDestroy(window());
  if (!m_bExit) cancel = true;
}

LRESULT WebMainFrm::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = Form::WindowProc(msg, wParam, lParam);
  // The session ends and the window has unloaded: the tray icon goes now
  // rather than at the program's end, which the system may not wait for.
  if (msg == WM_ENDSESSION && wParam && !IsLoaded()) {
    notifyIcon_.reset();
    forms::Program::Log(L"session end: the game window has unloaded");
  }
  return result;
}

void WebMainFrm::Form_Unload(bool&) {
  // The menu's update check may be waiting for its manifest: it ends now.
  if (downLoad_) downLoad_->StopDownLoad();
  dde_.Stop();
  UnhookMainWindow(window());
  WebuTab->TabItems().Clear();
  // The frame object may be the one reporting the close that unloads the window.
  forms::DeleteLater(std::move(objStyle));
  // Everything below may be running an event of its own.
  forms::DeleteLater(std::move(WebBrowser1));
  forms::DeleteLater(std::move(Picture1));
  forms::DeleteLater(std::move(WebuTab));
  forms::DeleteLater(std::move(pCnt));
  forms::DeleteLater(std::move(web_tool));
  forms::DeleteLater(std::move(web_min));
  forms::DeleteLater(std::move(web_minmax));
  forms::DeleteLater(std::move(web_close));
  forms::DeleteLater(std::move(GameSpaceBtn));
  forms::DeleteLater(std::move(OtherUserBtn));
  forms::DeleteLater(std::move(PicLogo));
  forms::DeleteLater(std::move(WebBForm));
  tooltip_ = nullptr;
}

void WebMainFrm::PopupAppMenu() {
  if (!appmenu) return;
  POINT at{};
  ::GetCursorPos(&at);
  // The window must be in front for the menu to close when the user clicks elsewhere.
  ::SetForegroundWindow(window());
  const UINT item = static_cast<UINT>(
      ::TrackPopupMenu(appmenu.get(), TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, window(), nullptr));
  ::PostMessageW(window(), WM_NULL, 0, 0);
  if (item) appmenu_Click(item);
}

}  // namespace mainwindow

mainwindow::WebMainFrm& frm::WebMainFrm() { return forms::TheForm<mainwindow::WebMainFrm>(); }
