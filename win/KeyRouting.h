// The step every message loop of the program takes before translating a
// message: a hosted control that handles keys itself (the browser control's
// in-place active object) is offered each key message first.
#pragma once

#include <windows.h>

namespace win {

// Answers true when it has handled the message: the loop then neither
// translates nor dispatches it.
using KeyRouter = bool (*)(MSG& msg);

namespace detail {
inline KeyRouter g_keyRouter = nullptr;
}  // namespace detail

// The program's one router; null removes it.
inline void SetKeyRouter(KeyRouter router) { detail::g_keyRouter = router; }

// What a loop calls for each message it takes: true when the router handled it.
inline bool RouteKey(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !detail::g_keyRouter) return false;
  return detail::g_keyRouter(msg);
}

}  // namespace win
