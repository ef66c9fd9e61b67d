// Letting the thread's window messages run from inside a long operation.
#pragma once

#include <windows.h>

#include "win/KeyRouting.h"

namespace win {

// Dispatches every message waiting in the thread's queue. A WM_QUIT among
// them is posted again for the loop that owns it and ends the dispatch:
// false then.
inline bool DispatchPendingMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    if (RouteKey(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return true;
}

}  // namespace win
