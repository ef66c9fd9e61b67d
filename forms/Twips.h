// Twips are 1/1440 inch. The client declares itself unaware of display scaling,
// so the system always reports 96 dots per inch to it: 15 twips to a pixel.
#pragma once

#include "forms/Rounding.h"

namespace forms {

inline constexpr int kTwipsPerPixel = 15;

inline int PixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }
inline int TwipsToPixels(double twips) { return CLng(twips / kTwipsPerPixel); }

}  // namespace forms
