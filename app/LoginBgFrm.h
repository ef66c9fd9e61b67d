// The login backdrop: a borderless layered window showing the large login
// picture, the one the player sees on the taskbar. The login window lies
// exactly on top of it and moves with it.
#pragma once

#include "app/LayeredPicture.h"
#include "forms/Form.h"
#include "win/UniqueHandle.h"

namespace app {

// Replaces the backdrop's window procedure with BackdropWndProc, and puts the
// saved one back. One window at a time.
void HookBackdrop(HWND hwnd);
void UnhookBackdrop(HWND hwnd);
LRESULT CALLBACK BackdropWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

class LoginBgFrm : public forms::Form {
 public:
  LoginBgFrm();
  // The window icons, kept for as long as the backdrop shows them.
  void SetIcons(win::UniqueHicon small, win::UniqueHicon big);
  void Minimize();
  // Puts the login picture on the backdrop (once a load).
  void DrawBackdrop();

 protected:
  void Form_Load() override;
  void Form_Unload(bool& cancel) override;
  void Form_MouseDown(int button, int shift, double x, double y) override;

 private:
  LayeredPicture backdrop_;
  win::UniqueHicon smallIcon_, bigIcon_;
};

}  // namespace app

namespace frm {
app::LoginBgFrm& LoginBgFrm();
}
