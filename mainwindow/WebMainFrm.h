// The main game window: borderless and skinned, a title skin with the logo,
// four title buttons and two link buttons, and below it the tab strip whose
// tabs each hold one browser page (WebUrl). It owns the tray icon, the F10
// hot key and the procedure that serves both (ModMsg), the DDE topic through
// which an outside program opens a page, and the exit question.
//
// Load order, layout on resize and the reactions to its controls are in
// WebMainFrm.cpp, WebMainLayout.cpp and WebMainCommands.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "browser/WebView.h"
#include "common/CYFDownLoadFile.h"
#include "controls/BForm.h"
#include "controls/cSetStyle.h"
#include "controls/iButton.h"
#include "forms/Event.h"
#include "forms/Form.h"
#include "forms/PictureBox.h"
#include "mainwindow/CYFNotifyIcon.h"
#include "mainwindow/DdeTopic.h"
#include "tabstrip/uTab.h"
#include "win/UniqueHandle.h"

namespace mainwindow {

// Ids of the program menu's items.
enum AppMenuItem : UINT {
  kMenuRefresh = 101,
  kMenuHideRestore,
  kMenuClearCache,
  kMenuUpdate,
  kMenuVersion,
  kMenuExit,
};

class WebMainFrm : public forms::Form {
 public:
  // The most tabs an outside program's DDE requests may bring the window to.
  static constexpr std::int32_t kMaxTabs = 64;

  WebMainFrm();
  ~WebMainFrm() override;

  // Opens the tab for the address, or selects the one that has it; the first
  // call loads the window (hidden).
  void SetURL(const std::wstring& strURL);

  // Gives `hWnd` the region of a rounded rectangle from (0, 0) to (Top, Buttom)
  // with an X by Y corner ellipse; the window takes the region over.
  static void RectRgn(HWND hWnd, std::int16_t Top, std::int16_t Buttom, std::int16_t X, std::int16_t Y);

  // True: a close of the main window goes ahead without asking.
  bool m_bExit = false;

  // Raised by the account button; the login window, which opens this window,
  // binds it to show itself again.
  forms::Event<> AccountRequest;

  // The program menu, popped up at the pointer on the main window.
  void PopupAppMenu();

 protected:
  void Form_Load() override;
  void Form_QueryUnload(bool& cancel, forms::UnloadMode mode) override;
  void Form_Unload(bool& cancel) override;
  void Form_Resize() override;
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  friend struct WebMainFrmProbe;  // the tests' view of the window's parts

  // Picture1 with its never-navigated view: the blank page the window shows
  // from load until a tab is first opened or selected. Its own visibility,
  // whether or not the main window is shown (the tray menu works on a hidden one).
  bool BlankPageShown() const {
    return Picture1 && (::GetWindowLongW(Picture1->hWnd(), GWL_STYLE) & WS_VISIBLE) != 0;
  }

  void CreateControls();
  void CreateAppMenu();
  void OpenTab(const std::wstring& address);
  void CloseRequest();
  void Picture1_Resize();

  // Reactions (WebMainCommands.cpp).
  void BindReactions();
  void appmenu_Click(UINT item);
  void web_tool_Click();
  void web_min_Click();
  void web_minmax_Click();
  void web_close_Click();
  void objStyle_CloseClick();
  void GameSpaceBtn_Click();
  void OtherUserBtn_Click();
  void WebuTab_TabChanged();
  void WebuTab_OnMouseDown(std::int32_t ItemIndex, std::int16_t& Button, std::int16_t& Shift, float& X, float& Y);
  void WebuTab_OnMouseHover(std::int32_t ItemIndex, std::int16_t& Button, std::int16_t& Shift, float& X, float& Y);
  void WebuTab_OnItemColose(std::int32_t ItemIndex, bool& Cancel);
  void Form_DdeExecute(const std::wstring& address, bool& accepted);

  std::unique_ptr<controls::BForm> WebBForm;
  std::unique_ptr<forms::PictureBox> PicLogo;
  std::unique_ptr<controls::iButton> web_tool, web_min, web_minmax, web_close;
  std::unique_ptr<controls::iButton> GameSpaceBtn, OtherUserBtn;
  std::unique_ptr<tabstrip::uTab> WebuTab;
  std::unique_ptr<forms::PictureBox> pCnt;
  std::unique_ptr<forms::PictureBox> Picture1;
  std::unique_ptr<browser::WebView> WebBrowser1;
  win::UniqueHmenu appmenu;
  HWND tooltip_ = nullptr;

  std::unique_ptr<controls::cSetStyle> objStyle;
  std::unique_ptr<CYFNotifyIcon> notifyIcon_;
  std::unique_ptr<common::CYFDownLoadFile> downLoad_;  // the menu's update check
  DdeTopic dde_;
  // Kept until the program ends: the window and the tray icon show them.
  win::UniqueHicon smallIcon_, bigIcon_;
};

}  // namespace mainwindow

namespace frm {
mainwindow::WebMainFrm& WebMainFrm();
}
