// Where the update manifest lies on the static-content host; the client and
// the updater both read it.
#pragma once

namespace common {
inline constexpr wchar_t kUpdateManifestPath[] = L"/gamehome/vorn/update.txt";
}  // namespace common
