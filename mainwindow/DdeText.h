// What an outside program's DDE execute string becomes: the bytes come as
// UTF-16 from a wide client and in the system code page from an ANSI one,
// and the whole string, once trimmed, is a page address.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace mainwindow {

// True when the execute data reads as UTF-16LE: its first zero byte is the
// high half of a character with more text after it, or the first of a
// two-byte NUL at an even offset. A one-character wide string reads as ANSI,
// which gives the same text.
bool LooksLikeUtf16(const unsigned char* data, std::size_t size);

// The longest address a page view takes.
inline constexpr std::size_t kMaxAddressLength = 2083;

// The address in an execute string: up to its first NUL, without surrounding
// blanks or line ends. None for an empty string, one with control characters
// or one longer than an address can be.
std::optional<std::wstring> ExecuteAddress(std::wstring text);

}  // namespace mainwindow
