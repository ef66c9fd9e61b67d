// A tab page that is a form. The form's window is the page's window, the form
// keeps what Initialize hands it, and unloading the page sends the form the
// close command, so it goes exactly as it would when its window is closed.
#pragma once

#include <windows.h>

#include "forms/Form.h"
#include "tabstrip/ITabForm.h"

namespace tabstrip {

class TabPageForm : public forms::Form, public ITabForm {
 public:
  explicit TabPageForm(forms::FormDesign design) : forms::Form(std::move(design)) {}

  // The form's window; reading it loads the form.
  HWND hWnd() override { return forms::Form::hWnd(); }
  void Initialize(IuTab* Implement, CTabItem* Item) override;
  // WM_CLOSE to the form's window: Form_QueryUnload with UnloadMode::ControlMenu,
  // then Form_Unload; either may refuse. A form that is not loaded stays so.
  bool UnloadPage() override;

 protected:
  // The strip and the tab this page is in; null while it is in none.
  IuTab* TabStrip() const noexcept { return strip_; }
  CTabItem* TabItem() const noexcept { return item_; }

 private:
  IuTab* strip_ = nullptr;
  CTabItem* item_ = nullptr;
};

}  // namespace tabstrip
