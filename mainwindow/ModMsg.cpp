#include "mainwindow/ModMsg.h"

#include "forms/Program.h"
#include "mainwindow/CYFNotifyIcon.h"
#include "mainwindow/HiddenSound.h"
#include "mainwindow/WebMainFrm.h"

namespace mainwindow {

namespace {
// One main window in the program: one saved procedure.
WNDPROC g_previous = nullptr;
bool g_serving = false;
}  // namespace

void HookMainWindow(HWND hWnd) {
  ::RegisterHotKey(hWnd, kHotKeyId, 0, VK_F10);
  // The wide form keeps the window's text messages in UTF-16.
  g_previous = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MainWndProc)));
  g_serving = true;
}

void UnhookMainWindow(HWND hWnd) {
  ::UnregisterHotKey(hWnd, kHotKeyId);
  g_serving = false;
  // A window unloaded while hidden gives the process its sound back.
  ReleaseSound();
  if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC)) == &MainWndProc) {
    ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_previous));
  }
}

void ToggleWindow(HWND hWnd) { ::ShowWindow(hWnd, ::IsWindowVisible(hWnd) ? SW_HIDE : SW_SHOW); }

LRESULT CALLBACK MainWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // The tray's menu runs its commands from here, nested loops included.
  forms::HandlerScope running;
  if (g_serving) {
    if (msg == WM_HOTKEY && HIWORD(lParam) == VK_F10) {
      ToggleWindow(hWnd);
    } else if (msg == CYFNotifyIcon::kCallbackMessage) {
      if (lParam == WM_LBUTTONUP) {
        ToggleWindow(hWnd);
      } else if (lParam == WM_RBUTTONUP) {
        frm::WebMainFrm().PopupAppMenu();
      }
    } else if (msg == WM_SHOWWINDOW && lParam == 0) {
      // The boss key is what hides the game window (F10, the tray icon, the
      // menu): its sound goes with it and comes back with the window.
      if (wParam) {
        RestoreSound();
      } else {
        SilenceSound();
      }
    }
  }
  return ::CallWindowProcW(g_previous, hWnd, msg, wParam, lParam);
}

}  // namespace mainwindow
