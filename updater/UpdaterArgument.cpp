#include "updater/UpdaterArgument.h"

namespace updater {

namespace {
wchar_t Lower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool SameText(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

// A name a file in a folder can have: not empty, not "." or "..", no
// character that a file name cannot hold.
bool IsPlainName(std::wstring_view part) {
  if (part.empty() || part == L"." || part == L"..") return false;
  for (wchar_t c : part)
    if (c < 0x20 || std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos) return false;
  return true;
}

// An absolute folder ("X:\..." or "\\server\share\...") whose every part is a
// plain name: no "." or ".." part, no empty part, no character that a file
// name cannot hold.
bool IsPlainAbsoluteFolder(std::wstring_view folder) {
  std::size_t at;
  if (folder.size() >= 2 && folder[1] == L':' && Lower(folder[0]) >= L'a' && Lower(folder[0]) <= L'z') {
    if (folder.size() == 2) return false;  // "X:" alone is the drive's current folder, not its root
    if (folder[2] != L'\\') return false;
    at = 3;
  } else if (folder.size() > 2 && folder[0] == L'\\' && folder[1] == L'\\' && folder[2] != L'\\' && folder[2] != L'?' &&
             folder[2] != L'.') {
    at = 2;
  } else {
    return false;
  }
  if (!folder.empty() && folder.back() == L'\\') folder.remove_suffix(1);
  while (at < folder.size()) {
    std::size_t end = folder.find(L'\\', at);
    if (end == std::wstring_view::npos) end = folder.size();
    if (!IsPlainName(folder.substr(at, end - at))) return false;
    at = end + 1;
  }
  return true;
}
}  // namespace

std::optional<UpdaterTarget> ReadUpdaterArgument(std::wstring_view argument) {
  while (!argument.empty() && (argument.back() == L' ' || argument.back() == L'"')) argument.remove_suffix(1);
  while (!argument.empty() && (argument.front() == L' ' || argument.front() == L'"')) argument.remove_prefix(1);
  const std::size_t bar = argument.find(L'|');
  if (bar == std::wstring_view::npos) return std::nullopt;
  const std::wstring_view folder = argument.substr(0, bar), client = argument.substr(bar + 1);
  if (!IsPlainAbsoluteFolder(folder)) return std::nullopt;
  std::wstring_view prefix(folder);
  if (prefix.back() == L'\\') prefix.remove_suffix(1);
  if (client.size() <= prefix.size() + 1 || !SameText(client.substr(0, prefix.size()), prefix) ||
      client[prefix.size()] != L'\\')
    return std::nullopt;
  const std::wstring_view name = client.substr(prefix.size() + 1);
  if (!IsPlainName(name) || name.size() <= 4 || !SameText(name.substr(name.size() - 4), L".exe")) return std::nullopt;
  return UpdaterTarget{std::wstring(folder), std::wstring(client)};
}

}  // namespace updater
