// The temporary folder's text as the client uses it: cut at the first NUL and
// ending in exactly one backslash (one is appended only when missing).
#pragma once

#include <string>
#include <string_view>

namespace common {

inline std::wstring NormaliseTempPath(std::wstring_view raw) {
  std::wstring path(raw.substr(0, raw.find(L'\0')));
  if (path.empty() || path.back() != L'\\') path += L'\\';
  return path;
}

}  // namespace common
