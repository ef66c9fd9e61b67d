#include "mainwindow/DdeText.h"

namespace mainwindow {

bool LooksLikeUtf16(const unsigned char* data, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] != 0) continue;
    const bool more = i + 1 < size;
    // At an odd offset: the high half of a character, if more text follows
    // (an ANSI string of odd length has its terminator there). At an even
    // one: the first half of a two-byte NUL.
    if (i % 2 == 1) return more && data[i + 1] != 0;
    return more && data[i + 1] == 0;
  }
  return false;
}

std::optional<std::wstring> ExecuteAddress(std::wstring text) {
  text = text.substr(0, text.find(L'\0'));
  const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; };
  while (!text.empty() && blank(text.back())) text.pop_back();
  std::size_t start = 0;
  while (start < text.size() && blank(text[start])) ++start;
  text.erase(0, start);
  if (text.empty() || text.size() > kMaxAddressLength) return std::nullopt;
  for (wchar_t c : text) {
    if (c < 0x20 || c == 0x7F) return std::nullopt;
  }
  return text;
}

}  // namespace mainwindow
