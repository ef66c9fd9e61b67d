#include "mainwindow/NotifyText.h"

#include <algorithm>
#include <cstdint>

namespace mainwindow {

std::wstring FitToField(std::wstring_view text, std::size_t fieldChars) {
  if (fieldChars == 0) return {};
  text = text.substr(0, text.find(L'\0'));
  std::size_t keep = std::min(text.size(), fieldChars - 1);
  // A high surrogate as the last unit kept would be half a character.
  if (keep > 0 && keep < text.size()) {
    const auto last = static_cast<std::uint32_t>(text[keep - 1]);
    if (last >= 0xD800 && last <= 0xDBFF) --keep;
  }
  return std::wstring(text.substr(0, keep));
}

}  // namespace mainwindow
