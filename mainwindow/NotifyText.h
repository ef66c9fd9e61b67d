// The texts of the tray icon's record live in fixed character fields: each is
// cut to leave room for its terminating NUL, never between the two halves of
// a character outside the basic plane.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mainwindow {

// At most fieldChars - 1 UTF-16 units of `text`, ending on a whole character;
// text from a NUL on is dropped too (the field ends there anyway).
std::wstring FitToField(std::wstring_view text, std::size_t fieldChars);

}  // namespace mainwindow
