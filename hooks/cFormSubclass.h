// The reduced hook service of the borderless frame: every message of a hooked
// window goes to the owner's MsgCome event before the window's own procedure
// runs. The handler may answer the message itself (bHandled, lReturn), or change
// the window handle, the message and its parameters, which are then what the
// window's own procedure receives.
//
// Hooking one window twice chains two hooks. All hooks end when the object ends;
// a hook whose window is destroyed ends by itself, and the object may end from
// inside its own MsgCome handler.
#pragma once

#include <windows.h>

#include <vector>

#include "forms/Event.h"

namespace hooks {

class cFormSubclass {
 public:
  cFormSubclass() = default;
  // Unhooks every window, the last hooked first.
  ~cFormSubclass();
  cFormSubclass(const cFormSubclass&) = delete;
  cFormSubclass& operator=(const cFormSubclass&) = delete;

  // Hooks the window and routes all of its messages to MsgCome before its own
  // procedure. False only when the window cannot be hooked (not a window of this
  // process); nothing is kept then.
  bool AddWindowMsgs(HWND hWnd);
  // Changes nothing and answers false: the hook ends with the object.
  bool DeleteWindowMsg(HWND hWnd);

  // (bBefore, bHandled, lReturn, lng_hWnd, uMsg, wParam, lParam), all but the
  // first the hook's own.
  forms::Event<bool, bool&, LRESULT&, HWND&, UINT&, WPARAM&, LPARAM&> MsgCome;

 private:
  struct Entry;
  // One per hook; a null entry is free and is taken by the next hook.
  std::vector<Entry*> entries_;
};

}  // namespace hooks
