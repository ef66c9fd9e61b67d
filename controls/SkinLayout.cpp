#include "controls/SkinLayout.h"

namespace controls {

std::vector<SkinPiece> TitleBarPieces(std::int32_t width) {
  std::vector<SkinPiece> pieces;
  // The first tile starts at 300, not 0: the left cap covers the start.
  for (std::int32_t i = 1; i <= width / 300 + 1; ++i) pieces.push_back({300, 0, 300, 545, i * 300, 0});
  pieces.push_back({0, 0, 545, 545, 0, 0});
  pieces.push_back({kSkinWidth - 1000, 0, 1000, 545, width - 1000, 0});
  return pieces;
}

std::vector<SkinPiece> FramePieces(std::int32_t width, std::int32_t height) {
  std::vector<SkinPiece> pieces;
  for (std::int32_t i = 1; i <= width / 300 + 1; ++i) pieces.push_back({300, kSkinHeight - 60, 300, 60, i * 300, height - 60});
  // Nothing along the top 300 twips of the sides: the title band covers them.
  for (std::int32_t i = 1; i <= height / 300 + 1; ++i) pieces.push_back({0, 800, 60, 300, 0, i * 300});
  for (std::int32_t i = 1; i <= height / 300 + 1; ++i) pieces.push_back({kSkinWidth - 60, 800, 60, 300, width - 60, i * 300});
  pieces.push_back({0, kSkinHeight - 60, 545, 60, 0, height - 60});
  pieces.push_back({kSkinWidth - 500, kSkinHeight - 60, 500, 60, width - 500, height - 60});
  return pieces;
}

}  // namespace controls
