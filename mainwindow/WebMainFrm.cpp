#include "mainwindow/WebMainFrm.h"

#include "app/PublicData.h"
#include "forms/DeleteLater.h"

namespace mainwindow {

WebMainFrm::WebMainFrm()
    : Form(forms::FormDesign{
          .caption = app::GameCaption(),
          .clientWidth = 1000,
          .clientHeight = 640,
          .style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
          .showInTaskbar = true,
          .startUp = forms::StartUpPosition::CenterScreen,
      }) {}

void WebMainFrm::Form_Load() {
  RECT rc{};
  ::GetClientRect(window(), &rc);
  web_ = browser::CreateWebView(window(), 0, 0, rc.right, rc.bottom);
}

void WebMainFrm::SetURL(const std::wstring& url) {
  Load();
  if (web_) web_->Navigate(url);
}

void WebMainFrm::Form_Resize() {
  RECT rc{};
  ::GetClientRect(window(), &rc);
  if (web_) web_->Move(0, 0, rc.right, rc.bottom);
}

void WebMainFrm::Form_Unload(bool&) { forms::DeleteLater(std::move(web_)); }

}  // namespace mainwindow

mainwindow::WebMainFrm& frm::WebMainFrm() { return forms::TheForm<mainwindow::WebMainFrm>(); }
