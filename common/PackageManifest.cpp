#include "common/PackageManifest.h"

#include <algorithm>
#include <cctype>

#include "common/UpdateManifest.h"

namespace common {

namespace {
// The value of the first line that starts with `key` followed by '='.
std::optional<std::string> Field(const std::vector<std::string>& lines, std::string_view key) {
  for (const std::string& line : lines) {
    if (line.size() <= key.size() || line[key.size()] != '=') continue;
    bool same = true;
    for (std::size_t i = 0; i < key.size() && same; ++i)
      same = std::tolower(static_cast<unsigned char>(line[i])) == key[i];
    if (same) return std::string(TrimSpaces(std::string_view(line).substr(key.size() + 1)));
  }
  return std::nullopt;
}
}  // namespace

bool HexInto(std::string_view hex, std::span<std::uint8_t> out) {
  if (hex.size() != out.size() * 2) return false;
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  for (std::size_t i = 0; i < out.size(); ++i) {
    const int high = digit(hex[2 * i]), low = digit(hex[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    out[i] = static_cast<std::uint8_t>(high * 16 + low);
  }
  return true;
}

std::optional<std::vector<std::uint8_t>> FromHex(std::string_view hex) {
  std::vector<std::uint8_t> bytes(hex.size() / 2);
  if (hex.size() % 2 || !HexInto(hex, bytes)) return std::nullopt;
  return bytes;
}

std::string ToHex(std::span<const std::uint8_t> bytes) {
  static const char kHex[] = "0123456789abcdef";
  std::string hex;
  for (const std::uint8_t b : bytes) {
    hex += kHex[b >> 4];
    hex += kHex[b & 15];
  }
  return hex;
}

bool IsKeyId(std::string_view id) {
  if (id.empty() || id.size() > 32) return false;
  for (const char c : id) {
    const char lower = static_cast<char>(c | 0x20);
    if (!((c >= '0' && c <= '9') || (lower >= 'a' && lower <= 'z') || c == '.' || c == '_' || c == '-')) return false;
  }
  return true;
}

std::optional<std::string> ManifestField(std::string_view text, std::string_view key) {
  return Field(ManifestLines(text), key);
}

std::optional<PackageManifest> ReadPackageManifest(std::string_view text, ManifestProblem& problem) {
  const std::vector<std::string> lines = ManifestLines(text);
  PackageManifest manifest;
  const auto version = ManifestVersion(text);
  const auto package = Field(lines, "package"), size = Field(lines, "size"), sha = Field(lines, "sha256"),
             signature = Field(lines, "signature"), expires = Field(lines, "expires");
  if (!version || version->empty()) {
    problem.what = "the manifest names no version";
    return std::nullopt;
  }
  if (!package || (package->rfind("http://", 0) != 0 && package->rfind("https://", 0) != 0)) {
    problem.what = "the manifest names no package address";
    return std::nullopt;
  }
  if (!size || size->empty() || size->size() > 12 ||
      !std::all_of(size->begin(), size->end(), [](unsigned char c) { return std::isdigit(c); })) {
    problem.what = "the manifest gives no package size";
    return std::nullopt;
  }
  if (!sha || !HexInto(*sha, manifest.sha256)) {
    problem.what = "the manifest gives no SHA-256 of the package";
    return std::nullopt;
  }
  if (!expires || expires->empty()) {
    problem.what = "the manifest has no expiry";
    return std::nullopt;
  }
  const std::size_t colon = signature ? signature->find(':') : std::string::npos;
  if (colon != std::string::npos) manifest.signer = signature->substr(0, colon);
  if (!signature || (colon != std::string::npos && !IsKeyId(manifest.signer)) ||
      !HexInto(std::string_view(*signature).substr(colon == std::string::npos ? 0 : colon + 1), manifest.signature)) {
    problem.what = "the manifest is not signed";
    return std::nullopt;
  }
  manifest.version = *version;
  manifest.package = *package;
  manifest.expires = *expires;
  for (const char digit : *size) manifest.size = manifest.size * 10 + static_cast<std::uint64_t>(digit - '0');
  if (manifest.size == 0) {
    problem.what = "the manifest gives no package size";
    return std::nullopt;
  }
  return manifest;
}

std::string SignedText(const PackageManifest& manifest) {
  std::string text = "Velmora update\nversion=";
  text.append(manifest.version).append("\npackage=").append(manifest.package).append("\nsize=");
  text.append(std::to_string(manifest.size)).append("\nsha256=").append(ToHex(manifest.sha256));
  return text.append("\nexpires=").append(manifest.expires).append("\n");
}

}  // namespace common
