// The button and shift arguments of the mouse events of forms and controls:
// 1 left, 2 right, 4 middle; 1 Shift, 2 Ctrl, 4 Alt.
#pragma once

#include <windows.h>

#include <cstdint>

namespace forms {

// The keys held now.
inline std::int16_t ShiftState() {
  return static_cast<std::int16_t>(((::GetKeyState(VK_SHIFT) < 0) ? 1 : 0) | ((::GetKeyState(VK_CONTROL) < 0) ? 2 : 0) |
                                   ((::GetKeyState(VK_MENU) < 0) ? 4 : 0));
}

// The buttons held, from a mouse message's wParam.
inline std::int16_t ButtonState(WPARAM wParam) {
  return static_cast<std::int16_t>(((wParam & MK_LBUTTON) ? 1 : 0) | ((wParam & MK_RBUTTON) ? 2 : 0) |
                                   ((wParam & MK_MBUTTON) ? 4 : 0));
}

}  // namespace forms
