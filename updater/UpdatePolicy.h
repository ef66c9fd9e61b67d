// What the updater demands of a signed manifest before it installs anything:
// a version newer than the installed client's (a genuine old manifest must
// not put back an old client), and an expiry still to come (an old manifest
// cannot be served forever to hold players on what they have). Pure.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace updater {

// "1.2.10" as numbers: one to four fields of decimal digits (at most nine
// each) separated by single full stops; none for anything else.
std::optional<std::vector<std::uint32_t>> VersionNumbers(std::string_view text);

// Negative, zero or positive as `a` is older than, the same as or newer than
// `b`, field by field as numbers; a missing field counts as 0 ("1.2" = "1.2.0").
int CompareVersions(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b);

// Seconds since 1970-01-01 00:00 UTC of "YYYY-MM-DDTHH:MM:SSZ" (the form
// the signing tool writes); none for any other text or an impossible date.
std::optional<std::int64_t> ParseUtcTime(std::string_view text);

enum class Refusal { None, VersionUnreadable, NotNewer, ExpiryUnreadable, Expired };

// Whether a manifest whose signature checked may be installed over the
// client of version `installed`, at `now` (seconds since 1970, UTC).
Refusal JudgeManifest(std::string_view offered, std::string_view expires, std::string_view installed,
                      std::int64_t now);

}  // namespace updater
