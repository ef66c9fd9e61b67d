// The image button's choices as arithmetic: its state of the moment, the size
// of one frame of its image strip, which frame a state shows, the size it
// takes by itself, and where its icon and caption go. Strip sizes arrive in
// HIMETRIC units (what pictures report); frames are in pixels; places on the
// button's surface in twips, 15 to a pixel.
#pragma once

#include <cstdint>
#include <optional>

namespace controls {

inline constexpr std::int32_t kButtonNormal = 0;
inline constexpr std::int32_t kButtonOver = 1;
inline constexpr std::int32_t kButtonPressed = 2;
inline constexpr std::int32_t kButtonDisabled = 3;
inline constexpr std::int32_t kTwipsPerPixel = 15;

std::int32_t CurrentButtonState(bool enabled, bool pressed, bool mouseOver);

// Frames in a strip: three for a push button (style 0), six for a toggle button.
std::int32_t FrameCount(std::int32_t style);

struct FrameSize {
  std::int32_t width = 0, height = 0;  // pixels
  friend bool operator==(const FrameSize&, const FrameSize&) = default;
};
// One frame of a strip of the given HIMETRIC size: the strip's pixel width
// shared by the frame count, and its pixel height, each rounded (halves to even).
FrameSize FrameSizeOf(std::int32_t stripHimetricWidth, std::int32_t stripHimetricHeight, std::int32_t style);
// A strip's HIMETRIC size from its pixels, as a picture reports it.
std::int32_t HimetricOfPixels(std::int32_t pixels);

// The frame that a state shows: the checked group of a toggle button when
// checked; a locked button shows the pressed frame; none without frames. A
// disabled button (no strip has a frame for it) shows the normal frame of its group.
std::optional<std::int32_t> FrameIndex(std::int32_t state, bool value, bool locked, std::int32_t style,
                                       bool framesReady);

struct TwipsPoint {
  std::int32_t x = 0, y = 0;
  friend bool operator==(const TwipsPoint&, const TwipsPoint&) = default;
};
// Where the caption is printed on a button of width x height twips: centred,
// moved right by the icon's width when there is one, and one pixel right and
// down while pressed. Rounded to whole twips.
TwipsPoint CaptionOrigin(double width, double height, double captionWidth, double captionHeight, double iconWidth,
                         std::int32_t state);
// The icon's left edge: half an icon left of where the centred caption starts.
double IconLeft(double width, double captionWidth, double iconWidth);
// An icon's width in twips from its HIMETRIC width (whole pixels, truncated).
std::int32_t IconWidthTwips(std::int32_t himetricWidth);

}  // namespace controls
