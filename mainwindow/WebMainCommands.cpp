// What the player can do in the main window besides playing: the program
// menu, the title and link buttons, the frame's close and the reactions to the
// tab strip.
#include <windows.h>
#include <commctrl.h>

#include "browser/WebView.h"
#include "common/PublicData.h"
#include "common/UpdateCheck.h"
#include "mainwindow/CacheMain.h"
#include "mainwindow/ModMsg.h"
#include "mainwindow/WebMainFrm.h"
#include "win/Shell.h"

namespace mainwindow {

namespace {
void ArrowCursor() { ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW)); }
}  // namespace

void WebMainFrm::BindReactions() {
  web_tool->Click.Bind(this, &WebMainFrm::web_tool_Click);
  web_min->Click.Bind(this, &WebMainFrm::web_min_Click);
  web_minmax->Click.Bind(this, &WebMainFrm::web_minmax_Click);
  web_close->Click.Bind(this, &WebMainFrm::web_close_Click);
  GameSpaceBtn->Click.Bind(this, &WebMainFrm::GameSpaceBtn_Click);
  OtherUserBtn->Click.Bind(this, &WebMainFrm::OtherUserBtn_Click);
  WebBForm->MouseMove.Bind([](std::int16_t&, std::int16_t&, float&, float&) { ArrowCursor(); });
  WebuTab->TabChanged.Bind(this, &WebMainFrm::WebuTab_TabChanged);
  WebuTab->OnMouseDown.Bind(this, &WebMainFrm::WebuTab_OnMouseDown);
  WebuTab->OnMouseHover.Bind(this, &WebMainFrm::WebuTab_OnMouseHover);
  WebuTab->OnMouseMove.Bind([](std::int32_t, std::int16_t&, std::int16_t&, float&, float&) { ArrowCursor(); });
  WebuTab->OnItemColose.Bind(this, &WebMainFrm::WebuTab_OnItemColose);
}

void WebMainFrm::appmenu_Click(UINT item) {
  switch (item) {
    case kMenuRefresh:
      if (BlankPageShown()) {
        if (WebBrowser1) WebBrowser1->Refresh();
      } else {
        WebuTab->RefreshPage();
      }
      break;
    case kMenuHideRestore:
      ToggleWindow(window());
      break;
    case kMenuClearCache:
      // The page engine's own cache first (WebView2 keeps one apart), then WinINet's.
      browser::ClearPageEngineCache();
      ClearUrlCache("*.*", kKeepCookiesAndHistory);
      ::MessageBoxW(window(), L"缓存已清理完毕！", L"缓存清理", MB_OK | MB_ICONINFORMATION);
      break;
    case kMenuUpdate:
      if (!downLoad_) downLoad_ = std::make_unique<common::CYFDownLoadFile>();
      if (common::CheckUpdate(*downLoad_, common::UpdateRun::Menu, window())) {
        m_bExit = true;
        Unload();
      }
      break;
    case kMenuExit:
      CloseRequest();
      break;
    default:
      break;
  }
}

void WebMainFrm::web_tool_Click() { PopupAppMenu(); }

void WebMainFrm::web_min_Click() { ::ShowWindow(window(), SW_MINIMIZE); }

void WebMainFrm::web_minmax_Click() {
  // The title skin drags only a window that does not fill the work area.
  const bool filled = objStyle->CallWindowStateChange();
  // The button shows what the window is, whatever brought it here.
  web_minmax->SetValue(filled);
  WebBForm->SetfrmHwnd(filled ? nullptr : window());
}

void WebMainFrm::web_close_Click() { CloseRequest(); }

void WebMainFrm::objStyle_CloseClick() { web_close_Click(); }

void WebMainFrm::GameSpaceBtn_Click() {
  win::ShellOpen(common::GameSpaceUrl().c_str());
}

void WebMainFrm::OtherUserBtn_Click() { AccountRequest(); }

void WebMainFrm::WebuTab_TabChanged() { Picture1->SetVisible(false); }

void WebMainFrm::WebuTab_OnMouseDown(std::int32_t ItemIndex, std::int16_t&, std::int16_t&, float&, float&) {
  ArrowCursor();
  // A restored window is dragged by the empty part of the strip.
  if (!web_minmax->Value() && ItemIndex < 0) {
    ::ReleaseCapture();
    ::SendMessageW(window(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
  }
}

void WebMainFrm::WebuTab_OnMouseHover(std::int32_t ItemIndex, std::int16_t&, std::int16_t&, float&, float&) {
  tabstrip::CTabItems& items = WebuTab->TabItems();
  std::wstring text;
  if (ItemIndex >= 0 && ItemIndex < items.Count()) text = items.Item(ItemIndex)->Caption();
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = window();
  tool.uId = reinterpret_cast<UINT_PTR>(WebuTab->hWnd());
  tool.lpszText = text.data();
  ::SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void WebMainFrm::WebuTab_OnItemColose(std::int32_t, bool& Cancel) {
  // The last tab closes the window, with the question first; the strip never removes it.
  if (WebuTab->TabItems().Count() <= 1) {
    web_close_Click();
    Cancel = true;
  }
}

}  // namespace mainwindow
