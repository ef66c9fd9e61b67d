// Laying a page's text out in lines of a given width: words wrap at spaces,
// Chinese and Japanese text between any two characters, a word wider than
// the line between characters. The caller measures text (in pixels, for its
// fonts); the layout places fragments and finds the link under a point. Pure.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/PageDocument.h"

namespace browser::layout {

enum class Size { Body, Heading, Title };

struct Style {
  Size size = Size::Body;
  bool bold = false;
  bool link = false;
  bool operator==(const Style&) const = default;
};

struct Fragment {
  int x = 0;
  int y = 0;  // top of the line
  int width = 0;
  int height = 0;  // the line's height
  std::wstring text;
  Style style;
  int link = -1;
};

struct Page {
  std::vector<Fragment> fragments;
  int height = 0;  // of everything, margins included
};

struct Metrics {
  // Width of `text` drawn in `style`.
  std::function<int(std::wstring_view text, const Style& style)> width;
  // Height of a line of text in `style`.
  std::function<int(const Style& style)> lineHeight;
  int margin = 8;        // around the text
  int blockSpacing = 4;  // between blocks
};

// The document's title (when it has one) as the first line, then its blocks.
Page Arrange(const PageDocument& document, int width, const Metrics& metrics);

// The link under (x, y) in page coordinates, or -1.
int LinkAt(const Page& page, int x, int y);

// True for characters between which a line may break without a space.
bool BreaksAnywhere(wchar_t c);

}  // namespace browser::layout
