#include "mainwindow/CYFNotifyIcon.h"

#include <cwchar>

#include "mainwindow/NotifyText.h"
#include "win/Shell.h"

namespace mainwindow {

namespace {
template <std::size_t N>
void CopyField(wchar_t (&field)[N], const std::wstring& text) {
  const std::wstring fitted = FitToField(text, N);
  std::wmemset(field, L'\0', N);
  std::wmemcpy(field, fitted.data(), fitted.size());
}
}  // namespace

CYFNotifyIcon::CYFNotifyIcon() { data_.cbSize = NOTIFYICONDATAW_V2_SIZE; }

CYFNotifyIcon::~CYFNotifyIcon() { DeleteNotifyIcon(); }

void CYFNotifyIcon::SetIconFields(HWND hWnd, HICON hIcon, const std::wstring& strTip) {
  data_.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data_.hIcon = hIcon;
  data_.hWnd = hWnd;
  data_.uID = kIconId;
  data_.uCallbackMessage = kCallbackMessage;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
  CopyField(data_.szTip, strTip);
}

void CYFNotifyIcon::AddNotifyIcon(HWND hWnd, HICON hIcon, const std::wstring& strTip) {
  SetIconFields(hWnd, hIcon, strTip);
  win::NotifyIcon(NIM_ADD, &data_);
}

void CYFNotifyIcon::ModifyNotifyIcon(HWND hWnd, HICON hIcon, const std::wstring& strTip) {
  SetIconFields(hWnd, hIcon, strTip);
  win::NotifyIcon(NIM_MODIFY, &data_);
}

void CYFNotifyIcon::ShowBubble(const std::wstring& strTitle, const std::wstring& strInfo, DWORD eInfoFlags) {
  CopyField(data_.szInfoTitle, strTitle);
  CopyField(data_.szInfo, strInfo);
  data_.dwInfoFlags = eInfoFlags;
  win::NotifyIcon(NIM_MODIFY, &data_);
}

void CYFNotifyIcon::HideBubble() {
  CopyField(data_.szInfoTitle, L"");
  CopyField(data_.szInfo, L"");
  win::NotifyIcon(NIM_MODIFY, &data_);
}

void CYFNotifyIcon::DeleteNotifyIcon() { win::NotifyIcon(NIM_DELETE, &data_); }

}  // namespace mainwindow
