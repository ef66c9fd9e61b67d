#include "common/KeyList.h"

#include <algorithm>

#include "common/PackageManifest.h"
#include "common/UpdateManifest.h"

namespace common {

namespace {
std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Sets `field` once from `value`; false when it was already set.
bool SetOnce(std::optional<std::string>& field, std::string_view value) {
  if (field) return false;
  field.emplace(value);
  return true;
}

// "<id> <128 hex digits>"
bool ReadListedKey(std::string_view value, ListedKey& out) {
  const std::size_t space = value.find(' ');
  if (space == std::string_view::npos) return false;
  const std::string_view id = value.substr(0, space);
  const auto key = FromHex(Trim(value.substr(space)));
  if (!IsKeyId(id) || !key || key->size() != out.key.size()) return false;
  out.id = std::string(id);
  std::copy(key->begin(), key->end(), out.key.begin());
  return true;
}
}  // namespace

std::optional<KeyList> ReadKeyList(std::string_view manifest) {
  constexpr std::string_view kPrefix = "keylist-";
  KeyList list;
  std::optional<std::string> signedAt, expires, signature;
  for (const std::string& line : ManifestLines(manifest)) {
    const std::string_view text(line);
    if (text.rfind(kPrefix, 0) != 0) continue;
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    const std::string_view name = text.substr(kPrefix.size(), equals - kPrefix.size()),
                           value = Trim(text.substr(equals + 1));
    bool good;
    if (name == "signed") {
      good = SetOnce(signedAt, value);
    } else if (name == "expires") {
      good = SetOnce(expires, value);
    } else if (name == "signature") {
      good = SetOnce(signature, value);
    } else if (name == "key") {
      ListedKey key;
      good = list.keys.size() < kMaxListedKeys && ReadListedKey(value, key) && !FindListedKey(list, key.id);
      list.keys.push_back(std::move(key));
    } else {
      good = false;  // a field of a later list format: this is not a list this program can read
    }
    if (!good) return std::nullopt;
  }
  const auto signatureBytes = signature ? FromHex(*signature) : std::nullopt;
  if (!signedAt || !expires || list.keys.empty() || !signatureBytes || signatureBytes->size() != 64)
    return std::nullopt;
  list.signedAt = std::move(*signedAt);
  list.expires = std::move(*expires);
  std::copy(signatureBytes->begin(), signatureBytes->end(), list.signature.begin());
  return list;
}

std::string KeyListSignedText(const KeyList& list) {
  std::string text = "Velmora update keys\nsigned=" + list.signedAt + "\nexpires=" + list.expires + "\n";
  for (const ListedKey& key : list.keys) text += "key=" + key.id + " " + ToHex(key.key) + "\n";
  return text;
}

const ListedKey* FindListedKey(const KeyList& list, std::string_view id) {
  for (const ListedKey& key : list.keys)
    if (key.id == id) return &key;
  return nullptr;
}

}  // namespace common
