#include "mainwindow/MainLayout.h"

#include "forms/Rounding.h"
#include "forms/Twips.h"

namespace mainwindow {

namespace {
std::optional<std::int16_t> RegionEdge(double twips) {
  try {
    return forms::CInt(twips / forms::kTwipsPerPixel + 1);
  } catch (const forms::OverflowError&) {
    return std::nullopt;
  }
}
}  // namespace

MainLayout LayOutMainWindow(double windowWidth, double innerWidth, double innerHeight, double stripHeight) {
  MainLayout layout;
  layout.skinWidth = windowWidth;
  layout.regionRight = RegionEdge(innerWidth);
  layout.regionBottom = RegionEdge(innerHeight);
  layout.closeLeft = windowWidth - 730;
  layout.minmaxLeft = windowWidth - 1105;
  layout.minLeft = windowWidth - 1465;
  layout.toolLeft = windowWidth - 1825;
  if (innerWidth - 6900 >= 0) layout.strip = TwipsBox{kStripLeft, kStripTop, innerWidth - 6900, stripHeight};
  layout.gameSpaceLeft = innerWidth - 3300;
  layout.otherUserLeft = innerWidth - 4850;
  const TwipsBox page{60, stripHeight, innerWidth - 120, innerHeight - stripHeight - 60};
  if (page.width >= 0 && page.height >= 0) layout.pageArea = page;
  return layout;
}

}  // namespace mainwindow
