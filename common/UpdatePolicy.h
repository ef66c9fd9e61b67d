// The one judgement of an update manifest, made alike by the client (before
// it asks the player) and by the updater (before it installs): the
// operator's signature, an expiry still to come, the package lines present,
// and a version newer than the running client's. A release with a root key
// built in takes the signing key from the manifest's key list, which the
// root signs and which expires (common/KeyList.h); one without takes the
// update key built in.
// The client offers only what the updater will install. Pure: the signature
// check itself is handed in.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/PackageManifest.h"

namespace common {

// "1.2.10" as numbers: one to four fields of decimal digits (at most nine
// each) separated by single full stops; none for anything else.
std::optional<std::vector<std::uint32_t>> VersionNumbers(std::string_view text);

// Negative, zero or positive as `a` is older than, the same as or newer than
// `b`, field by field as numbers; a missing field counts as 0 ("1.2" = "1.2.0").
int CompareVersions(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b);

// Seconds since 1970-01-01 00:00 UTC of "YYYY-MM-DDTHH:MM:SSZ" (the form
// the signing tool writes); none for any other text or an impossible date.
std::optional<std::int64_t> ParseUtcTime(std::string_view text);

// Checked in this order; the first that fails is the verdict. A manifest
// that is not signed, or whose signature or expiry fails, says nothing about
// the version, not even that the client is up to date.
enum class Verdict {
  Accept,
  NoVersion,          // no version line
  Unsigned,           // no signature line
  Incomplete,         // a package line missing or malformed (Judgement::problem says which)
  NoTrustedKey,       // this program was built without the operator's key
  KeyListMissing,     // root key built in: no key list, or one that cannot be read
  KeyListForged,      // the key list is not signed by the root key
  KeyListExpired,     // the key list's expiry has passed (or cannot be read)
  KeyListTooLong,     // the key list expires more than kMaxKeyListDays after its signing
  KeyNotListed,       // the key list does not name the manifest's signing key (withdrawn, or never listed)
  UnknownKey,         // the signature is not the operator's key's
  Expired,            // its expiry has passed (or cannot be read)
  VersionUnreadable,  // the offered or the running version is not dotted numbers
  NotNewer,           // the same version or an older one
};

struct Judgement {
  Verdict verdict = Verdict::NoVersion;
  std::string offered;                      // the version line's value
  std::string problem;                      // Incomplete: what is wrong; KeyListExpired: the list's
                                            // expiry; KeyNotListed: the signing key's id
  std::optional<PackageManifest> manifest;  // read whenever it is complete
};

// True when `signature` (r then s) signs the SHA-256 of `text` under the
// P-256 public key `key` (X then Y, 64 bytes).
using SignatureCheck = bool (*)(std::span<const std::uint8_t> key, std::string_view text,
                                std::span<const std::uint8_t, 64> signature);

// The root signs a key list for at most this long.
inline constexpr std::int64_t kMaxKeyListDays = 90;

// The keys built into the release, each in hex (X then Y); empty when not built in.
struct TrustedKeys {
  std::string_view root;    // signs the key lists; when set, only keys a list names sign manifests
  std::string_view update;  // without a root key, the one key that signs manifests (the weaker mode)
};

// `installed` is the running client's version; `now` seconds since 1970, UTC.
Judgement JudgeManifest(std::string_view text, std::string_view installed, std::int64_t now,
                        const TrustedKeys& trusted, SignatureCheck check);

// Why a manifest was not accepted, for the player (no full stop at the end).
std::wstring VerdictText(const Judgement& judgement, std::string_view installed);

}  // namespace common
