// How the image button keeps its caption's look among its stored properties:
// the font as text ("face,height,weight", the height a logical font's, so
// negative for a character height in pixels), and text colours given as OLE
// colours, which name a system colour when their high byte is 0x80.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace controls {

struct FontChoice {
  std::wstring face;
  std::int32_t height = 0;
  std::int32_t weight = 400;
  friend bool operator==(const FontChoice&, const FontChoice&) = default;
};

std::wstring FormatFont(const FontChoice& font);
// None for text that is not three comma-separated fields with whole numbers last.
std::optional<FontChoice> ParseFont(std::wstring_view text);

// The system colour index an OLE colour names (&H8000xxxx), or none for a plain colour.
std::optional<std::int32_t> SystemColourIndex(std::uint32_t oleColour);

}  // namespace controls
