// Reading the update manifest: a text of lines, each ending at CR LF, at a
// CR alone or at an LF alone. The version line is the first whose text,
// lower-cased, contains "version"; its value is the text from its ninth
// character on, without leading and trailing spaces ("version=1.1.0",
// "Version: 1.1.0"). Whether it is offered is the judgement's
// (common/UpdatePolicy.h), which reads the version as dotted numbers.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace common {

std::vector<std::string> ManifestLines(std::string_view text);

// `text` without its leading and trailing spaces.
std::string_view TrimSpaces(std::string_view text);

// The version line's value; none when no line names a version.
std::optional<std::string> ManifestVersion(std::string_view text);

// The updater's start argument: the client's folder, "|", and the client's
// full path (folder + "\" + base name + ".exe"), with no doubled backslash
// when the folder is a drive root ("C:\").
std::wstring UpdaterArgument(const std::wstring& folder, const std::wstring& baseName);

}  // namespace common
