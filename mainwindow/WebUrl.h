// One page of the main window's tab strip: a window holding one page view.
// It keeps its tab's caption equal to the page's title, shows no dialog boxes
// of the view's own, hides the document's scroll bars, and hands every
// request for a new browser window to the shell (the default browser), never
// to a window or a tab of the client.
#pragma once

#include <memory>
#include <string>

#include "browser/WebView.h"
#include "forms/PictureBox.h"
#include "tabstrip/TabPageForm.h"

namespace mainwindow {

class WebUrl final : public tabstrip::TabPageForm {
 public:
  WebUrl();

  // Loads the page on first use (the view starts on about:blank) and
  // navigates to the address.
  void OpenURL(const std::wstring& szURL);
  void RefreshPage() override;
  void PageShown(bool shown) override;

 protected:
  void Form_Load() override;
  void Form_Resize() override;
  void Form_Unload(bool& cancel) override;

 private:
  void wb_DownloadBegin();
  void wb_TitleChange(const std::wstring& title);
  void wb_DocumentComplete(const std::wstring& url, bool topLevel);
  void wb_ContextMenu(bool& show);
  void Web_V1_NewWindow(const std::wstring& url, bool& processed);

  std::unique_ptr<forms::PictureBox> Picture1;
  std::unique_ptr<browser::WebView> wb;
};

}  // namespace mainwindow
