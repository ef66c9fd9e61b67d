#include "app/LoadFrm.h"

#include <shellapi.h>
#include <wininet.h>

#include "app/PublicData.h"
#include "app/StartLogin.h"
#include "app/UpdateCheck.h"
#include "forms/Program.h"
#include "resources/ResourceIds.h"

namespace app {

LoadFrm::LoadFrm()
    : Form(forms::FormDesign{
          .caption = GameName,
          .clientWidth = 356,
          .clientHeight = 122,
          .style = WS_POPUP,
          .showInTaskbar = false,
          .startUp = forms::StartUpPosition::CenterScreen,
          .scaleMode = forms::ScaleMode::Pixels,
      }) {}

void LoadFrm::Form_Initialize() {
  DWORD flags = 0;
  if (!::InternetGetConnectedState(&flags, 0)) ReportNoConnectionAndEnd();
  if (!downLoad_) downLoad_ = std::make_unique<CYFDownLoadFile>();
  CheckUpdate(*downLoad_, UpdateRun::StartUp);
}

void LoadFrm::Form_Load() {
  if (forms::Program::Arguments() == L"/web") {
    ::ShellExecuteW(nullptr, L"open", HomeUrl().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    forms::Program::EndNow();
  }

  splash_.Show(window(), res::kPngSplash, res::kTypePng);
  StartLogin();
}

void LoadFrm::Form_Unload(bool& /*cancel*/) { splash_.Release(); }

}  // namespace app

app::LoadFrm& frm::LoadFrm() { return forms::TheForm<app::LoadFrm>(); }
