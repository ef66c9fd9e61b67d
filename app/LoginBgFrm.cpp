#include "app/LoginBgFrm.h"

#include "app/LoginFrm.h"
#include "common/PublicData.h"
#include "forms/Screen.h"
#include "resources/ResourceIds.h"
#include "win/WindowShape.h"

namespace app {

namespace {
WNDPROC g_savedBackdropProc = nullptr;
constexpr LONG kNoCaptionNoSizingBorder = static_cast<LONG>(0xFF3BFFFF);
}

void HookBackdrop(HWND hwnd) {
  g_savedBackdropProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BackdropWndProc)));
}

void UnhookBackdrop(HWND hwnd) {
  if (!g_savedBackdropProc) return;
  ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_savedBackdropProc));
  g_savedBackdropProc = nullptr;
}

LRESULT CALLBACK BackdropWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // The login window lies exactly on the backdrop: it follows every move.
  if (msg == WM_MOVE && frm::LoginFrm().IsLoaded()) {
    RECT backdrop{};
    ::GetWindowRect(hwnd, &backdrop);
    ::SetWindowPos(frm::LoginFrm().hWnd(), nullptr, backdrop.left, backdrop.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The owned login window goes and comes back with a minimised backdrop. The
  // window system does this on its own where it hides owned windows of a
  // minimised owner; saying it keeps the pair together where it does not.
  if (msg == WM_SIZE && wParam == SIZE_MINIMIZED) ::ShowOwnedPopups(hwnd, FALSE);
  if (msg == WM_SIZE && wParam == SIZE_RESTORED && ::IsWindowVisible(hwnd)) ::ShowOwnedPopups(hwnd, TRUE);
  if (!g_savedBackdropProc) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  return ::CallWindowProcW(g_savedBackdropProc, hwnd, msg, wParam, lParam);
}

LoginBgFrm::LoginBgFrm()
    : Form(LoginDesign(WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, true)) {}

void LoginBgFrm::SetIcons(win::UniqueHicon small, win::UniqueHicon big) {
  ::SendMessageW(hWnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
  ::SendMessageW(hWnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  smallIcon_ = std::move(small);
  bigIcon_ = std::move(big);
}

void LoginBgFrm::Minimize() { ::ShowWindow(hWnd(), SW_MINIMIZE); }

void LoginBgFrm::DrawBackdrop() {
  if (IsLoaded() && !backdrop_.Shown()) backdrop_.Show(window(), res::kPngBackdrop, res::kTypePng);
}

void LoginBgFrm::Form_Load() {
  HWND hwnd = window();
  ::SetWindowLongW(hwnd, GWL_STYLE, ::GetWindowLongW(hwnd, GWL_STYLE) & kNoCaptionNoSizingBorder);
  ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  backdrop_.Prepare(hwnd);  // the picture itself: DrawBackdrop
  HookBackdrop(hwnd);
  // Centred on the monitor the player is using (the pointer's), wholly on its
  // work area where it fits, so that the close button is always reachable.
  // The login window follows (BackdropWndProc).
  RECT rc{};
  ::GetWindowRect(hwnd, &rc);
  const forms::PixelRect place = forms::CentredIn(forms::WorkAreaAtPointer(), rc.right - rc.left, rc.bottom - rc.top);
  ::SetWindowPos(hwnd, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetCaption(common::GameCaption());
}

void LoginBgFrm::Form_MouseDown(int button, int, double, double) {
  if (button == 1) win::DragWindow(window());
}

void LoginBgFrm::Form_Unload(bool&) {
  backdrop_.Release();
  UnhookBackdrop(window());
  frm::LoginFrm().Unload();
}

}  // namespace app

app::LoginBgFrm& frm::LoginBgFrm() { return forms::TheForm<app::LoginBgFrm>(); }
