#include "controls/ButtonFrames.h"

#include "forms/Rounding.h"

namespace controls {

namespace {
constexpr double kHimetricPerPixel = 26.45836;
}

std::int32_t CurrentButtonState(bool enabled, bool pressed, bool mouseOver) {
  if (!enabled) return kButtonDisabled;
  if (pressed) return mouseOver ? kButtonPressed : kButtonNormal;
  return mouseOver ? kButtonOver : kButtonNormal;
}

std::int32_t FrameCount(std::int32_t style) { return style == 0 ? 3 : 6; }

FrameSize FrameSizeOf(std::int32_t stripHimetricWidth, std::int32_t stripHimetricHeight, std::int32_t style) {
  const double widthPixels = stripHimetricWidth / kHimetricPerPixel;
  const double heightPixels = stripHimetricHeight / kHimetricPerPixel;
  return {forms::CLng(widthPixels / (style == 0 ? 3 : 6)), forms::CLng(heightPixels)};
}

std::int32_t HimetricOfPixels(std::int32_t pixels) { return forms::CLng(pixels * kHimetricPerPixel); }

std::optional<std::int32_t> FrameIndex(std::int32_t state, bool value, bool locked, std::int32_t style,
                                       bool framesReady) {
  if (!framesReady) return std::nullopt;
  if (locked) state = kButtonPressed;
  if (state == kButtonDisabled) state = kButtonNormal;
  const bool checked = value && style != 0;
  return state + (checked ? 3 : 0);
}

TwipsPoint CaptionOrigin(double width, double height, double captionWidth, double captionHeight, double iconWidth,
                         std::int32_t state) {
  std::int32_t x = forms::CLng(width / 2 - captionWidth / 2 + iconWidth);
  std::int32_t y = forms::CLng(height / 2 - captionHeight / 2);
  if (state == kButtonPressed) {
    x += kTwipsPerPixel;
    y += kTwipsPerPixel;
  }
  return {x, y};
}

double IconLeft(double width, double captionWidth, double iconWidth) {
  return width / 2 - captionWidth / 2 - iconWidth / 2;
}

std::int32_t IconWidthTwips(std::int32_t himetricWidth) { return himetricWidth / 26 * kTwipsPerPixel; }

}  // namespace controls
