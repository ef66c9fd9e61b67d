// The one argument the client starts the updater with, "folder|folder\name.exe",
// and the only file the updater may replace: an executable directly in the
// folder named, under whatever name the client was given (a browser saves a
// second download as "Velmora (1).exe"). Anything else (a path that leaves
// the folder, a relative path, a name not ending in ".exe") is refused here;
// that the file really is the client, its version resource tells
// (updater/VersionResource.h). Pure.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace updater {

// The client's name as it is built; its version resource names it so too.
inline constexpr wchar_t kClientFileName[] = L"Velmora.exe";

struct UpdaterTarget {
  std::wstring folder;  // as the client gave it
  std::wstring client;  // folder + "\" + the client's file name
};

// Spaces and quotes around the whole argument are ignored.
std::optional<UpdaterTarget> ReadUpdaterArgument(std::wstring_view argument);

}  // namespace updater
