// The WebView2 runtime's version, read from the last part of its folder
// ("...\EdgeWebView\Application\120.0.2210.91"), compared field by field as
// numbers: as text, "99.0" would pass for newer than "100.0".
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace browser {

using RuntimeVersion = std::array<unsigned, 4>;

// Four dot-separated decimal fields, nothing else; nullopt otherwise.
std::optional<RuntimeVersion> ParseRuntimeVersion(std::wstring_view text);
// The folder's last part (after the last backslash or slash, trailing ones ignored).
std::wstring_view LastFolderPart(std::wstring_view folder);
std::wstring RuntimeVersionText(const RuntimeVersion& version);

// The oldest runtime the host accepts: the first stable release, which has
// every interface and method the host calls.
inline constexpr RuntimeVersion kMinimumRuntimeVersion{86, 0, 616, 0};

}  // namespace browser
