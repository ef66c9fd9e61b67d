// A borderless form titled "Velmora controls host" with the skinned controls
// on it: the frame behaviour (cSetStyle), the title band (BForm) and an image
// button with the close strip and a caption. Every event is appended to a log
// file, one line each, with the button's state and value after it. It lets
// the tests drive the controls with the real pointer and keys.
//
//     controlhost.exe LOG [--no-drag] [--toggle]
//
// --no-drag leaves the title band's frmHwnd at 0; --toggle makes the button a
// toggle button with the maximise/restore strip.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "controls/BForm.h"
#include "controls/cSetStyle.h"
#include "controls/iButton.h"
#include "forms/Form.h"
#include "forms/Program.h"
#include "resources/ResourceIds.h"

namespace {

FILE* g_log = nullptr;

class HostForm : public forms::Form {
 public:
  HostForm(bool drag, bool toggle) : Form(Design()), drag_(drag), toggle_(toggle) {}

 protected:
  void Form_Load() override {
    style = std::make_unique<controls::cSetStyle>();
    style->objForm = this;
    style->SetWindowStyle(window());
    style->CloseClick.Bind([this] { Log("CloseClick"); });
    ::SetWindowPos(window(), nullptr, 50, 50, 900, 650, SWP_NOZORDER | SWP_FRAMECHANGED);
    band = std::make_unique<controls::BForm>();
    forms::PropertyBag bag;
    bag.Write(L"Caption", L"Velmora controls host");
    band->Create(window(), 0, 0, 900, 33, bag);
    if (drag_) band->SetfrmHwnd(window());
    button = std::make_unique<controls::iButton>();
    button->Create(window(), 200, 100, 100, 40);
    if (toggle_) button->SetStyle(1);
    button->SetBackPicture(static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                             MAKEINTRESOURCEW(toggle_ ? res::kBmpMinMax : res::kBmpClose),
                                                             IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    button->Click.Bind([this] { Log("Click"); });
    button->MouseOver.Bind([this] { Log("MouseOver"); });
    button->MouseOut.Bind([this] { Log("MouseOut"); });
    button->DBClick.Bind([this] { Log("DBClick"); });
    button->MouseDown.Bind([this](std::int16_t& b, std::int16_t&, float&, float&) {
      Log("MouseDown button=" + std::to_string(b));
    });
    button->MouseUp.Bind([this](std::int16_t& b, std::int16_t&, float&, float&) {
      Log("MouseUp button=" + std::to_string(b));
    });
  }
  void Form_Unload(bool&) override {
    button.reset();
    band.reset();
    style.reset();
  }

 private:
  static forms::FormDesign Design() {
    forms::FormDesign design;
    design.caption = L"Velmora controls host";
    design.left = 50;
    design.top = 50;
    design.clientWidth = 900;
    design.clientHeight = 650;
    design.backColor = RGB(222, 222, 222);
    return design;
  }
  void Log(const std::string& line) {
    std::fprintf(g_log, "%s state=%d value=%d\n", line.c_str(), button ? button->State() : -1,
                 button && button->Value() ? 1 : 0);
    std::fflush(g_log);
  }

  std::unique_ptr<controls::cSetStyle> style;
  std::unique_ptr<controls::BForm> band;
  std::unique_ptr<controls::iButton> button;
  bool drag_;
  bool toggle_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  g_log = _wfopen(argv[1], L"w");
  if (!g_log) return 1;
  bool drag = true, toggle = false;
  for (int i = 2; i < argc; ++i) {
    if (std::wstring(argv[i]) == L"--no-drag") drag = false;
    if (std::wstring(argv[i]) == L"--toggle") toggle = true;
  }
  forms::Program::Init(::GetModuleHandleW(nullptr));
  HostForm form(drag, toggle);
  form.Show();
  std::fprintf(g_log, "ready\n");
  std::fflush(g_log);
  const int code = forms::Program::Run();
  std::fclose(g_log);
  return code;
}
