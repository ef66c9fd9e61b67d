// The main game window, as far as the login hands over to it: a window
// captioned with the game's name whose page view SetURL navigates.
#pragma once

#include <memory>
#include <string>

#include "browser/WebView.h"
#include "forms/Form.h"

namespace mainwindow {

class WebMainFrm : public forms::Form {
 public:
  WebMainFrm();

  // Loads the window on first use and opens the address in it.
  void SetURL(const std::wstring& url);

  // True: a close of the main window goes ahead without asking.
  bool m_bExit = false;

 protected:
  void Form_Load() override;
  void Form_Resize() override;
  void Form_Unload(bool& cancel) override;

 private:
  std::unique_ptr<browser::WebView> web_;
};

}  // namespace mainwindow

namespace frm {
mainwindow::WebMainFrm& WebMainFrm();
}
