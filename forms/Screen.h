// The work area of the monitor a window or the pointer is on, whatever edge
// its taskbar stands on.
#pragma once

#include <windows.h>

#include "forms/WorkArea.h"

namespace forms {

// The monitor that holds most of the window, else the nearest.
PixelRect WorkAreaOf(HWND hwnd);
// The monitor under the pointer, else the nearest.
PixelRect WorkAreaAtPointer();

}  // namespace forms
