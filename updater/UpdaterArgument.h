// The one argument the client starts the updater with, "folder|folder\Velmora.exe",
// and the only thing the updater will replace: the client's own file, by its
// own name, directly in the folder named. Anything else (another file name,
// a path that leaves the folder, a relative path) is refused. Pure.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace updater {

inline constexpr wchar_t kClientFileName[] = L"Velmora.exe";

struct UpdaterTarget {
  std::wstring folder;  // as the client gave it
  std::wstring client;  // folder + "\" + kClientFileName
};

// Spaces and quotes around the whole argument are ignored.
std::optional<UpdaterTarget> ReadUpdaterArgument(std::wstring_view argument);

}  // namespace updater
