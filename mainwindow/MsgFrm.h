// The exit question: the client's own skinned box, asked modally when the
// main window is about to close. It answers only through the main window's
// m_bExit: "是" sets it true, "否" and the close button false; a box closed
// any other way leaves it as it was.
#pragma once

#include <memory>

#include "controls/BForm.h"
#include "controls/iButton.h"
#include "forms/Form.h"

namespace mainwindow {

inline constexpr wchar_t kExitQuestion[] = L"窗口即将关闭，确定要退出游戏？";

class MsgFrm : public forms::Form {
 public:
  MsgFrm();

 protected:
  void Form_Load() override;
  void Form_Resize() override;
  void Form_Unload(bool& cancel) override;

 private:
  void BForm1_MouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y);
  void Answer(bool leave);

  std::unique_ptr<controls::BForm> BForm1;
  std::unique_ptr<controls::iButton> closebtn;
  std::unique_ptr<controls::iButton> iButton1;
  std::unique_ptr<controls::iButton> iButton2;
  forms::Label* Label1 = nullptr;  // the form's own; drawn under the buttons
};

}  // namespace mainwindow

namespace frm {
mainwindow::MsgFrm& MsgFrm();
}
