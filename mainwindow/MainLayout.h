// Where the main window's title skin, title buttons, link buttons, tab strip
// and page area go for a given window size: arithmetic on twips only.
#pragma once

#include <cstdint>
#include <optional>

namespace mainwindow {

struct TwipsBox {
  double left = 0, top = 0, width = 0, height = 0;
};

struct MainLayout {
  double skinWidth = 0;
  // The rounded window region, in pixels; absent when the size does not fit
  // the 16-bit integers the region takes.
  std::optional<std::int16_t> regionRight, regionBottom;
  double toolLeft = 0, minLeft = 0, minmaxLeft = 0, closeLeft = 0;
  // Absent when the window is too narrow: the strip keeps its last width.
  std::optional<TwipsBox> strip;
  double gameSpaceLeft = 0, otherUserLeft = 0;
  // Absent when the window is too small for the page area.
  std::optional<TwipsBox> pageArea;
};

inline constexpr double kTitleButtonTop = 15;
inline constexpr double kStripLeft = 2300, kStripTop = 45;

// windowWidth: the window's outer width; innerWidth/innerHeight: its client
// area; stripHeight: the strip's own current height. All in twips.
MainLayout LayOutMainWindow(double windowWidth, double innerWidth, double innerHeight, double stripHeight);

}  // namespace mainwindow
