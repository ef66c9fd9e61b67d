// Where the form skin's pieces go, in twips: the title band (tiles from 300
// on, then the left and right caps over them) and the frame that Printform
// paints on a form (bottom, left and right border tiles, then the two bottom
// corners). Each piece is a source rectangle in the skin bitmap and the
// place it is painted at, at its own size.
#pragma once

#include <cstdint>
#include <vector>

namespace controls {

inline constexpr std::int32_t kSkinWidth = 1410;   // bitmap 108, 94 x 85 pixels
inline constexpr std::int32_t kSkinHeight = 1275;
inline constexpr std::int32_t kTitleBarHeight = 500;
inline constexpr std::int32_t kCaptionTop = 150;

struct SkinPiece {
  std::int32_t sourceX = 0, sourceY = 0, width = 0, height = 0;
  std::int32_t x = 0, y = 0;  // where it is painted
  friend bool operator==(const SkinPiece&, const SkinPiece&) = default;
};

// The title band of a control `width` twips wide, in painting order.
std::vector<SkinPiece> TitleBarPieces(std::int32_t width);
// The frame of a form of width x height twips, in painting order.
std::vector<SkinPiece> FramePieces(std::int32_t width, std::int32_t height);
// Where the caption starts: room for a logo, or not.
constexpr std::int32_t CaptionLeft(bool hasLogo) { return hasLogo ? 600 : 150; }

}  // namespace controls
