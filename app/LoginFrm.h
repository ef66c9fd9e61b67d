// The login window: lies on the backdrop with its own background keyed out, so
// only the login page's panel and two picture buttons show. The page drives
// the client through "app://" addresses (see AppCommand.h).
#pragma once

#include <memory>

#include "browser/WebView.h"
#include "forms/Form.h"
#include "forms/PictureBox.h"

namespace app {

// The design position of both windows; the backdrop then opens centred on
// the pointer's monitor (LoginBgFrm::Form_Load) and the login window follows.
inline constexpr int kLoginLeft = 100;
inline constexpr int kLoginTop = 80;
inline constexpr COLORREF kLoginKeyColour = RGB(254, 254, 254);

// The design both login windows share: caption, place and size in pixels. The
// login window lies exactly on its backdrop.
inline forms::FormDesign LoginDesign(DWORD style, bool showInTaskbar) {
  return forms::FormDesign{
      .caption = L"Belvoy客户端",
      .left = kLoginLeft,
      .top = kLoginTop,
      .clientWidth = 1237,
      .clientHeight = 696,
      .style = style,
      .showInTaskbar = showInTaskbar,
      .scaleMode = forms::ScaleMode::Pixels,
  };
}

class LoginFrm : public forms::Form {
 public:
  LoginFrm();
  // The buttons' pictures, the window icons and the backdrop's picture: drawn
  // once after each load, at the latest when the login screen is shown.
  void DrawPictures();

 protected:
  void Form_Load() override;
  void Form_Unload(bool& cancel) override;
  void Form_MouseDown(int button, int shift, double x, double y) override;

 private:
  void WebBrowser1_DownloadBegin();
  void WebBrowser1_BeforeNavigate2(const std::wstring& url, bool& cancel);
  void WebBrowser1_DocumentComplete(const std::wstring& url, bool topLevel);
  void WebBrowser1_NavigateError(const std::wstring& url, long status, bool topLevel, bool& cancel);
  void WebBrowser1_ContextMenu(bool& show);
  void WebBrowser1_NewWindow(const std::wstring& url, bool& processed);
  void MiniBtn_Click();
  void closebtn_Click();

  std::unique_ptr<forms::PictureBox> Picture1;
  std::unique_ptr<browser::WebView> WebBrowser1;
  std::unique_ptr<forms::PictureBox> MiniBtn;
  std::unique_ptr<forms::PictureBox> closebtn;
  bool picturesDrawn_ = false;
};

}  // namespace app

namespace frm {
app::LoginFrm& LoginFrm();
}
