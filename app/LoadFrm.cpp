#include "app/LoadFrm.h"

#include <wininet.h>

#include "app/StartLogin.h"
#include "common/PublicData.h"
#include "common/UpdateCheck.h"
#include "forms/Program.h"
#include "resources/ResourceIds.h"
#include "win/Shell.h"

namespace app {

LoadFrm::LoadFrm()
    : Form(forms::FormDesign{
          .caption = common::GameName,
          .clientWidth = 356,
          .clientHeight = 122,
          .style = WS_POPUP,
          .showInTaskbar = false,
          .startUp = forms::StartUpPosition::CenterScreen,
          .scaleMode = forms::ScaleMode::Pixels,
      }) {}

void LoadFrm::Form_Initialize() {
  DWORD flags = 0;
  if (!::InternetGetConnectedState(&flags, 0)) common::ReportNoConnectionAndEnd();
  if (!downLoad_) downLoad_ = std::make_unique<common::CYFDownLoadFile>();
  common::CheckUpdate(*downLoad_, common::UpdateRun::StartUp);
}

void LoadFrm::Form_Load() {
  if (forms::Program::Arguments() == L"/web") {
    win::ShellOpen(common::HomeUrl().c_str());
    forms::Program::EndNow();
  }

  splash_.Show(window(), res::kPngSplash, res::kTypePng);
  StartLogin();
}

void LoadFrm::Form_Unload(bool& /*cancel*/) { splash_.Release(); }

}  // namespace app

app::LoadFrm& frm::LoadFrm() { return forms::TheForm<app::LoadFrm>(); }
