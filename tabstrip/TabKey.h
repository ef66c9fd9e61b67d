// Tab keys: unique within a strip and compared without regard to letter case.
// Two keys are the same when their Unicode simple case foldings are equal, code
// point by code point, so "Gamehttp://Ä/x" and "gamehttp://ä/X" name one tab in
// every script that has letter case, not only in ASCII.
#pragma once

#include <string_view>

namespace tabstrip {

// The simple case folding of one code point (itself when it has none): one code
// point to one code point, so "ß" stays "ß" and never becomes "ss".
char32_t FoldCase(char32_t codePoint) noexcept;

// True when the two keys are equal after case folding. Text of 16-bit wchar_t
// is read as UTF-16 (an unpaired surrogate stands for itself); text of 32-bit
// wchar_t as code points.
bool SameTabKey(std::wstring_view a, std::wstring_view b) noexcept;

}  // namespace tabstrip
