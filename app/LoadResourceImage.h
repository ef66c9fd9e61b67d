#pragma once

#include <windows.h>

#include "win/GdiPlus.h"

namespace app {

// A custom resource of the program decoded as a GDI+ image. The image owns the
// memory block and stream it was read from. An empty image when the resource
// is missing or cannot be decoded.
win::StreamImage LoadResourceImage(WORD id, const wchar_t* type);

}  // namespace app
