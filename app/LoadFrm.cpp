#include "app/LoadFrm.h"

#include <shellapi.h>
#include <wininet.h>

#include "app/LoadResourceImage.h"
#include "app/PublicData.h"
#include "app/StartLogin.h"
#include "app/UpdateCheck.h"
#include "forms/Program.h"
#include "resources/ResourceIds.h"
#include "win/Gdi.h"

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
  if (!::InternetGetConnectedState(&flags, 0)) {
    ::MessageBoxW(nullptr, L"未能连接到服务器，请检查网络连接是否正常！", L"提示", MB_OK | MB_ICONWARNING);
    forms::Program::EndNow();
  }
  CheckUpdate(true);
}

void LoadFrm::Form_Load() {
  if (forms::Program::Arguments() == L"/web") {
    ::ShellExecuteW(nullptr, L"open", HomeUrl().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    forms::Program::EndNow();
  }

  HWND hwnd = window();
  ::SetWindowLongW(hwnd, GWL_EXSTYLE, ::GetWindowLongW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
  gdiplus_.Start();
  image_ = LoadResourceImage(res::kPngSplash, res::kTypePng);
  const int width = static_cast<int>(image_.width()), height = static_cast<int>(image_.height());

  win::ScopedGetDC formDc(hwnd);
  memoryDc_ = ::CreateCompatibleDC(formDc);
  splashBitmap_.reset(::CreateCompatibleBitmap(formDc, width, height));
  previousBitmap_ = ::SelectObject(memoryDc_, splashBitmap_.get());
  graphics_.FromDC(memoryDc_);
  graphics_.DrawImage(image_, 0, 0, width, height);

  SIZE size{width, height};
  POINT source{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ::UpdateLayeredWindow(hwnd, formDc, nullptr, &size, memoryDc_, &source, 0, &blend, ULW_ALPHA);

  StartLogin();
}

void LoadFrm::Form_Unload(bool& /*cancel*/) {
  image_.Dispose();
  graphics_.Delete();
  gdiplus_.Shutdown();
  if (memoryDc_) ::SelectObject(memoryDc_, previousBitmap_);
  splashBitmap_.reset();
  if (memoryDc_) ::DeleteDC(memoryDc_);
  memoryDc_ = nullptr;
  previousBitmap_ = nullptr;
}

}  // namespace app

app::LoadFrm& frm::LoadFrm() { return forms::TheForm<app::LoadFrm>(); }
