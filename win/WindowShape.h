// Moving and shaping a borderless top-level window.
#pragma once

#include <windows.h>

namespace win {

// Lets the system drag `hwnd` with the mouse, as a press on its caption would.
void DragWindow(HWND hwnd);

// Clips `hwnd` to the rectangle (0, 0)-(right, bottom) with corners rounded by
// ellipses of width x and height y. The window owns the region once set.
void RoundWindowCorners(HWND hwnd, int right, int bottom, int x, int y);

}  // namespace win
