// What the update manifest says besides its version line: where the new
// client is, its size, its SHA-256, its expiry and the operator's ECDSA P-256
// signature over all of it. The client and the updater both read it.
//
//     version=1.2.0
//     package=https://static.example/gamehome/vorn/Velmora-1.2.0.exe
//     size=912384
//     sha256=<64 hex digits>
//     expires=2027-01-07T12:00:00Z
//     signature=<128 hex digits: r then s, 32 bytes each>
//
// or, signed under a key list (common/KeyList.h), "signature=<key id>:<128
// hex digits>", which names the listed key that made it.
//
// The version line comes first (the client takes the first line that
// mentions "version"). Lines end at CR LF, CR or LF; each key is matched in
// lower case at the start of its line and its value is trimmed of spaces.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace common {

struct PackageManifest {
  std::string version;
  std::string package;
  std::uint64_t size = 0;
  std::array<std::uint8_t, 32> sha256{};
  std::string expires;  // UTC, "YYYY-MM-DDTHH:MM:SSZ"
  std::array<std::uint8_t, 64> signature{};
  std::string signer;  // the key id before the signature's digits; empty when none is named
};

// Why a manifest cannot be used, in the words the updater shows.
struct ManifestProblem {
  std::string what;
};

// The value, trimmed, of the first line that starts with `key` (lower case)
// and "="; none when no line does.
std::optional<std::string> ManifestField(std::string_view text, std::string_view key);

// The manifest's package fields; a problem when one is missing or malformed.
std::optional<PackageManifest> ReadPackageManifest(std::string_view text, ManifestProblem& problem);

// The exact bytes the signature covers.
std::string SignedText(const PackageManifest& manifest);

// Bytes from hex digits (either case); none for an odd count or another character.
std::optional<std::vector<std::uint8_t>> FromHex(std::string_view hex);

// Fills `out` from exactly twice as many hex digits (either case); false otherwise.
bool HexInto(std::string_view hex, std::span<std::uint8_t> out);

// Lower-case hex digits of the bytes.
std::string ToHex(std::span<const std::uint8_t> bytes);

// A key's id: 1 to 32 of the letters, digits, '.', '_' and '-'.
bool IsKeyId(std::string_view id);

}  // namespace common
