// libFuzzer entry: any bytes as an update manifest with a key list. Reading
// must never fail; a list that is read is what it says (at most sixteen keys,
// each id well formed and once), written out again it reads back the same,
// and its lines never change what the package lines say.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/KeyList.h"
#include "common/PackageManifest.h"

namespace {
// The list as the signing tool writes it.
std::string Block(const common::KeyList& list) {
  std::string text = "keylist-signed=" + list.signedAt + "\r\nkeylist-expires=" + list.expires + "\r\n";
  for (const common::ListedKey& key : list.keys) text += "keylist-key=" + key.id + " " + common::ToHex(key.key) + "\r\n";
  return text + "keylist-signature=" + common::ToHex(list.signature) + "\r\n";
}

// The text without the lines that begin with "keylist-".
std::string WithoutList(std::string_view text) {
  std::string rest;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find_first_of("\r\n", at);
    end = end == std::string_view::npos ? text.size() : end + 1;
    if (text.substr(at, 8) != "keylist-") rest += text.substr(at, end - at);
    at = end;
  }
  return rest;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const auto list = common::ReadKeyList(text)) {
    if (list->keys.empty() || list->keys.size() > common::kMaxListedKeys) std::abort();
    for (const common::ListedKey& key : list->keys)
      if (!common::IsKeyId(key.id) || common::FindListedKey(*list, key.id) != &key) std::abort();
    const auto again = common::ReadKeyList(Block(*list));
    if (!again || common::KeyListSignedText(*again) != common::KeyListSignedText(*list) ||
        again->signature != list->signature)
      std::abort();
  }
  common::ManifestProblem problem, problemWithout;
  const auto with = common::ReadPackageManifest(text, problem);
  const auto without = common::ReadPackageManifest(WithoutList(text), problemWithout);
  if (with.has_value() != without.has_value() || (with && common::SignedText(*with) != common::SignedText(*without)))
    std::abort();
  return 0;
}
