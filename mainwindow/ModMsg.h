// The main window's hot key and the procedure that serves it and the tray
// icon: F10 (no modifier, registered as hot key 1000) and a left click on the
// tray icon hide a shown window and show a hidden one; a right click on the
// tray icon pops up the program menu. While the window is hidden its sound is
// muted (HiddenSound.h). Every message, these included, then goes on to the
// window's previous procedure.
#pragma once

#include <windows.h>

namespace mainwindow {

inline constexpr int kHotKeyId = 1000;

// Registers F10 for `hWnd` and puts MainWndProc in front of its procedure.
void HookMainWindow(HWND hWnd);
// Unregisters F10 and gives the window its previous procedure back. When
// another hook has since been put in front of MainWndProc, that hook keeps
// calling it: MainWndProc then only passes messages on.
void UnhookMainWindow(HWND hWnd);

LRESULT CALLBACK MainWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Hides a visible window, shows a hidden one; size, place and the minimised
// state stay as they are.
void ToggleWindow(HWND hWnd);

}  // namespace mainwindow
