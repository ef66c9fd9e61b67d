// The tests' view of the main window's parts: a friend of WebMainFrm that only
// the tests define.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "mainwindow/WebMainFrm.h"

namespace mainwindow {
struct WebMainFrmProbe {
  static tabstrip::uTab* TabStrip(const WebMainFrm& form) { return form.WebuTab.get(); }
  static bool BlankPageShown(const WebMainFrm& form) { return form.BlankPageShown(); }
  static HMENU AppMenu(const WebMainFrm& form) { return form.appmenu.get(); }
  static controls::iButton* FillButton(const WebMainFrm& form) { return form.web_minmax.get(); }
  static controls::cSetStyle* Frame(const WebMainFrm& form) { return form.objStyle.get(); }
  static controls::BForm* TitleSkin(const WebMainFrm& form) { return form.WebBForm.get(); }
  static void Command(WebMainFrm& form, UINT item) { form.appmenu_Click(item); }
  // The text the strip's tooltip shows now.
  static std::wstring TabTooltip(const WebMainFrm& form) {
    if (!form.tooltip_ || !form.WebuTab) return {};
    wchar_t text[512] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = form.window();
    tool.uId = reinterpret_cast<UINT_PTR>(form.WebuTab->hWnd());
    tool.lpszText = text;
    ::SendMessageW(form.tooltip_, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
    return text;
  }
};
}  // namespace mainwindow
