// How forms and controls read a mouse or key message, in one place: which
// kind of input it is, and the button and shift arguments of their events
// (1 left, 2 right, 4 middle; 1 Shift, 2 Ctrl, 4 Alt).
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

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

// The mouse and key messages that forms and controls hand to their handlers.
enum class InputKind { MouseDown, MouseUp, MouseMove, DoubleClick, KeyDown, KeyUp, KeyPress };

inline std::optional<InputKind> InputKindOf(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: return InputKind::MouseDown;
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: return InputKind::MouseUp;
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK: return InputKind::DoubleClick;
    case WM_MOUSEMOVE: return InputKind::MouseMove;
    case WM_KEYDOWN: return InputKind::KeyDown;
    case WM_KEYUP: return InputKind::KeyUp;
    case WM_CHAR: return InputKind::KeyPress;
    default: return std::nullopt;
  }
}

// The button of a mouse message: the one pressed, released or double-clicked;
// on a move, the buttons held.
inline std::int16_t MessageButton(UINT msg, WPARAM wParam) {
  switch (msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: return 1;
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: return 2;
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK: return 4;
    default: return ButtonState(wParam);
  }
}

}  // namespace forms
