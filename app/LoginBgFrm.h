// The login backdrop: a borderless layered window showing the large login
// picture, the one the player sees on the taskbar. The login window lies
// exactly on top of it and moves with it.
#pragma once

#include "app/LayeredPicture.h"
#include "forms/Form.h"
#include "win/UniqueHandle.h"

namespace app {

class LoginBgFrm : public forms::Form {
 public:
  LoginBgFrm();
  // The window icons, kept for as long as the backdrop shows them.
  void SetIcons(win::UniqueHicon small, win::UniqueHicon big);
  void Minimize();

 protected:
  void Form_Load() override;
  void Form_Unload(bool& cancel) override;
  void Form_MouseDown(int button, int shift, double x, double y) override;

 private:
  LayeredPicture backdrop_;
  win::UniqueHicon smallIcon_, bigIcon_;
};

// Lets the system drag `hwnd` with the mouse, as a press on its caption would.
void DragWindow(HWND hwnd);

}  // namespace app

namespace frm {
app::LoginBgFrm& LoginBgFrm();
}
