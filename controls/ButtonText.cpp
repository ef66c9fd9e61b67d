#include "controls/ButtonText.h"

#include <charconv>

namespace controls {

namespace {
std::optional<std::int32_t> WholeNumber(std::wstring_view text) {
  std::string narrow(text.begin(), text.end());
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
  if (error != std::errc{} || end != narrow.data() + narrow.size() || narrow.empty()) return std::nullopt;
  return value;
}
}  // namespace

std::wstring FormatFont(const FontChoice& font) {
  return font.face + L"," + std::to_wstring(font.height) + L"," + std::to_wstring(font.weight);
}

std::optional<FontChoice> ParseFont(std::wstring_view text) {
  // The face may itself hold commas: the numbers are the last two fields.
  const auto second = text.rfind(L',');
  if (second == std::wstring_view::npos || second == 0) return std::nullopt;
  const auto first = text.rfind(L',', second - 1);
  if (first == std::wstring_view::npos || first == 0) return std::nullopt;
  const auto height = WholeNumber(text.substr(first + 1, second - first - 1));
  const auto weight = WholeNumber(text.substr(second + 1));
  if (!height || !weight) return std::nullopt;
  return FontChoice{std::wstring(text.substr(0, first)), *height, *weight};
}

std::optional<std::int32_t> SystemColourIndex(std::uint32_t oleColour) {
  if ((oleColour & 0xFF000000u) != 0x80000000u) return std::nullopt;
  return static_cast<std::int32_t>(oleColour & 0xFFu);
}

}  // namespace controls
