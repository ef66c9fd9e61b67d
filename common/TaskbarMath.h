// The height of the strip between the bottom of the work area and the bottom of
// the screen, in twips. 0 when the work area reaches the bottom (taskbar on
// another edge, or hidden).
#pragma once

#include <cstdint>

#include "forms/Rounding.h"

namespace common {

// Raises forms::OverflowError when the result does not fit in 16 bits.
inline std::int16_t TaskbarHeightTwips(double screenHeightTwips, double twipsPerPixel, int workAreaBottomPixels) {
  return forms::CInt((screenHeightTwips / twipsPerPixel - workAreaBottomPixels) * twipsPerPixel);
}

}  // namespace common
