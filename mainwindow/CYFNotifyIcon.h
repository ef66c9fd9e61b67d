// One icon in the notification area for a window, with its tip and, on
// request, a balloon. The record is the shell's wide NOTIFYICONDATAW in its
// second-version size (what every system since Windows 2000 takes), kept for
// the object's life; each operation changes some fields and sends it whole.
// Clicks come back to the window as kCallbackMessage with the mouse message
// in lParam. Nothing here looks at the shell's answers: deleting twice or
// modifying before adding is simply refused by the shell.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace mainwindow {

class CYFNotifyIcon {
 public:
  static constexpr UINT kIconId = 1000;
  static constexpr UINT kCallbackMessage = 6242;

  CYFNotifyIcon();
  ~CYFNotifyIcon();  // removes the icon
  CYFNotifyIcon(const CYFNotifyIcon&) = delete;
  CYFNotifyIcon& operator=(const CYFNotifyIcon&) = delete;

  // The icon handle stays the caller's.
  void AddNotifyIcon(HWND hWnd, HICON hIcon, const std::wstring& strTip);
  // Same fields, new values; the callback message stays kCallbackMessage.
  void ModifyNotifyIcon(HWND hWnd, HICON hIcon, const std::wstring& strTip);
  // eInfoFlags: the shell's NIIF_* icon of the balloon.
  void ShowBubble(const std::wstring& strTitle, const std::wstring& strInfo, DWORD eInfoFlags);
  void HideBubble();
  void DeleteNotifyIcon();

 private:
  void SetIconFields(HWND hWnd, HICON hIcon, const std::wstring& strTip);

  NOTIFYICONDATAW data_{};
};

}  // namespace mainwindow
