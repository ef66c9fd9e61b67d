#include "app/LoginBgFrm.h"

#include "app/LoginFrm.h"
#include "app/PublicData.h"
#include "resources/ResourceIds.h"

namespace app {

namespace {
constexpr LONG kNoCaptionNoSizingBorder = static_cast<LONG>(0xFF3BFFFF);
}

LoginBgFrm::LoginBgFrm()
    : Form(forms::FormDesign{
          .caption = L"Belvoy客户端",
          .left = kLoginLeft,
          .top = kLoginTop,
          .clientWidth = 1237,
          .clientHeight = 696,
          .style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
          .showInTaskbar = true,
          .scaleMode = forms::ScaleMode::Pixels,
      }) {}

void DragWindow(HWND hwnd) {
  ::ReleaseCapture();
  ::SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void LoginBgFrm::SetIcons(win::UniqueHicon small, win::UniqueHicon big) {
  ::SendMessageW(hWnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
  ::SendMessageW(hWnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  smallIcon_ = std::move(small);
  bigIcon_ = std::move(big);
}

void LoginBgFrm::Minimize() { ::ShowWindow(hWnd(), SW_MINIMIZE); }

void LoginBgFrm::Form_Load() {
  HWND hwnd = window();
  ::SetWindowLongW(hwnd, GWL_STYLE, ::GetWindowLongW(hwnd, GWL_STYLE) & kNoCaptionNoSizingBorder);
  ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  backdrop_.Show(hwnd, res::kPngBackdrop, res::kTypePng);
  HookBackdrop(hwnd);
  SetCaption(GameCaption());
}

void LoginBgFrm::Form_MouseDown(int button, int, double, double) {
  if (button == 1) DragWindow(window());
}

void LoginBgFrm::Form_Unload(bool&) {
  backdrop_.Release();
  UnhookBackdrop(window());
  frm::LoginFrm().Unload();
}

}  // namespace app

app::LoginBgFrm& frm::LoginBgFrm() { return forms::TheForm<app::LoginBgFrm>(); }
