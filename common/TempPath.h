// The temporary folder's text as the client uses it: cut at the first NUL and
// ending in exactly one backslash (one is appended only when missing).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace common {

inline std::wstring NormaliseTempPath(std::wstring_view raw) {
  std::wstring path(raw.substr(0, raw.find(L'\0')));
  if (path.empty() || path.back() != L'\\') path += L'\\';
  return path;
}

// The folder from the system's answer, or none when that answer cannot be
// used: a failed call (0), a folder longer than the buffer (the system then
// gives the length it needs), or a text that is not an absolute path (a drive
// root "X:\" or a "\\server\share" path). The client then writes nothing,
// rather than writing beside whatever folder a short or empty text would name.
inline std::optional<std::wstring> UsableTempFolder(std::wstring_view buffer, std::size_t reported) {
  if (reported == 0 || reported >= buffer.size()) return std::nullopt;
  const std::wstring path = NormaliseTempPath(buffer.substr(0, reported));
  const bool drive = path.size() >= 3 && path[1] == L':' && path[2] == L'\\' &&
                     ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
  const bool unc = path.size() > 4 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\';
  if (!drive && !unc) return std::nullopt;
  return path;
}

}  // namespace common
