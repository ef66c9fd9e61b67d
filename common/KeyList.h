// The operator's list of update keys, signed by the root key built into the
// release. It travels in the update manifest as a block of lines after the
// package lines, so that a key can be replaced or withdrawn without a new
// release:
//
//     keylist-signed=2027-01-01T12:00:00Z
//     keylist-expires=2027-03-01T12:00:00Z
//     keylist-key=k2 <128 hex digits: X then Y of the P-256 point>
//     keylist-key=k3 <128 hex digits>
//     keylist-signature=<128 hex digits: r then s>
//
// The root signs KeyListSignedText (the fields in this order, LF line ends).
// Each line is matched exactly as written here (lower case), at its start;
// its value is trimmed of spaces. Pure: the client and the updater both read it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace common {

// More keys than this in one list is no list at all.
inline constexpr std::size_t kMaxListedKeys = 16;

// Views into the manifest text that was read, which must outlive them: the
// reader allocates nothing.
struct ListedKey {
  std::string_view id;
  std::array<std::uint8_t, 64> key{};
};

struct KeyList {
  std::string_view signedAt;  // UTC, "YYYY-MM-DDTHH:MM:SSZ", as written: the judgement reads the times
  std::string_view expires;
  std::array<ListedKey, kMaxListedKeys> keys{};
  std::size_t count = 0;  // keys listed: one to kMaxListedKeys, each id once
  std::array<std::uint8_t, 64> signature{};
};

// Reads the manifest's key list into `list`; false when it has none, or one
// that is not complete and well formed (a field missing or given twice, a bad
// id or key, a line of another kind).
bool ReadKeyList(std::string_view manifest, KeyList& list);

// The exact bytes the root's signature covers.
std::string KeyListSignedText(const KeyList& list);

// The listed key with this id; null when the list does not name it.
const ListedKey* FindListedKey(const KeyList& list, std::string_view id);

}  // namespace common
