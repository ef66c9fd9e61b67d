#include "common/KeyList.h"

#include <algorithm>

#include "common/PackageManifest.h"
#include "common/UpdateManifest.h"

namespace common {

namespace {
// "<id> <128 hex digits>"
bool ReadListedKey(std::string_view value, ListedKey& out) {
  const std::size_t space = value.find(' ');
  if (space == std::string_view::npos) return false;
  out.id = value.substr(0, space);
  return IsKeyId(out.id) && HexInto(TrimSpaces(value.substr(space)), out.key);
}
}  // namespace

bool ReadKeyList(std::string_view text, KeyList& list) {
  constexpr std::string_view kPrefix = "keylist-";
  enum : unsigned { kSigned = 1, kExpires = 2, kSignature = 4 };
  unsigned seen = 0;
  list.count = 0;
  // Lines end at CR LF, CR or LF, as in the rest of the manifest; the list's
  // fields are views into `text` itself, so the lines are not copied out.
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
    const std::string_view line = text.substr(at, end - at);
    at = end + 1;
    if (line.substr(0, kPrefix.size()) != kPrefix) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return false;
    const std::string_view name = line.substr(kPrefix.size(), equals - kPrefix.size()),
                           value = TrimSpaces(line.substr(equals + 1));
    unsigned field = 0;
    if (name == "signed") {
      field = kSigned;
      list.signedAt = value;
    } else if (name == "expires") {
      field = kExpires;
      list.expires = value;
    } else if (name == "signature") {
      field = kSignature;
      if (!HexInto(value, list.signature)) return false;
    } else if (name != "key" || list.count == kMaxListedKeys || !ReadListedKey(value, list.keys[list.count]) ||
               FindListedKey(list, list.keys[list.count].id)) {
      return false;  // a bad key, or a field of a later list format: not a list this program can read
    } else {
      ++list.count;
    }
    if (seen & field) return false;
    seen |= field;
  }
  return seen == (kSigned | kExpires | kSignature) && list.count > 0;
}

std::string KeyListSignedText(const KeyList& list) {
  std::string text = "Velmora update keys\nsigned=";
  text.append(list.signedAt).append("\nexpires=").append(list.expires).append("\n");
  for (std::size_t i = 0; i < list.count; ++i)
    text.append("key=").append(list.keys[i].id).append(" ").append(ToHex(list.keys[i].key)).append("\n");
  return text;
}

const ListedKey* FindListedKey(const KeyList& list, std::string_view id) {
  for (std::size_t i = 0; i < list.count; ++i)
    if (list.keys[i].id == id) return &list.keys[i];
  return nullptr;
}

}  // namespace common
