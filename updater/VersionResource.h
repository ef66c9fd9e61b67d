// What an executable's version resource (RT_VERSION 1, its bytes read as
// data) says of it: the file version of its fixed part and the names in its
// string table. The updater replaces only a file that names itself this
// client, whatever it is called on disk. Pure: the bytes come from any file
// in the client's folder.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace updater {

struct VersionFacts {
  std::string fileVersion;  // "major.minor.revision"; empty when the fixed part is missing
  std::wstring productName, originalFilename;  // UTF-16 units, one a character
};

// None when the bytes do not begin with a VS_VERSION_INFO block that fits
// in them; a block or value cut short is read no further.
std::optional<VersionFacts> ReadVersionResource(std::span<const std::uint8_t> bytes);

// The client's own resource: product "Velmora", built as "Velmora.exe".
bool IsTheClient(const VersionFacts& facts);

}  // namespace updater
