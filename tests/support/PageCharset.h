// Which character set a page is written in, and decoding the common ones.
// The choice, in order: a byte-order mark; the charset of the Content-Type
// answer header; a <meta charset> or <meta http-equiv="Content-Type"> near
// the start of the page; UTF-8 when the bytes are valid UTF-8; windows-1252
// (the browsers' reading of Latin-1) otherwise. Pure: code pages are numbers.
#pragma once

#include <string>
#include <string_view>

namespace browser::charset {

inline constexpr unsigned kUtf8 = 65001;
inline constexpr unsigned kUtf16Le = 1200;
inline constexpr unsigned kUtf16Be = 1201;
inline constexpr unsigned kWindows1252 = 1252;

// The lower-case charset parameter of a Content-Type value ("" when none).
std::string FromContentType(std::string_view contentType);
// The charset a page declares in a <meta> element within its first 4096 bytes ("" when none).
std::string FromMeta(std::string_view bytes);
// The code page of a charset label (0 when the label is unknown).
unsigned CodePageOf(std::string_view label);

struct Choice {
  unsigned codePage = kUtf8;
  std::size_t skip = 0;  // bytes of a byte-order mark to leave out
};
Choice Choose(std::string_view contentType, std::string_view body);

// Decoders for the code pages every platform has; invalid input becomes U+FFFD.
std::wstring DecodeUtf8(std::string_view bytes);
std::wstring DecodeUtf16(std::string_view bytes, bool bigEndian);
std::wstring DecodeWindows1252(std::string_view bytes);
bool IsValidUtf8(std::string_view bytes);
// True when `codePage` is one of the four above; `out` then holds the text.
bool DecodeBuiltIn(std::string_view bytes, unsigned codePage, std::wstring& out);

}  // namespace browser::charset
