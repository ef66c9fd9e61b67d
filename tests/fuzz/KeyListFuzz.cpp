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
  std::string text = "keylist-signed=" + std::string(list.signedAt) + "\r\nkeylist-expires=" + std::string(list.expires) +
                     "\r\n";
  for (std::size_t i = 0; i < list.count; ++i)
    text += "keylist-key=" + std::string(list.keys[i].id) + " " + common::ToHex(list.keys[i].key) + "\r\n";
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
  common::KeyList list;
  if (common::ReadKeyList(text, list)) {
    if (list.count == 0 || list.count > common::kMaxListedKeys) std::abort();
    for (std::size_t i = 0; i < list.count; ++i)
      if (!common::IsKeyId(list.keys[i].id) || common::FindListedKey(list, list.keys[i].id) != &list.keys[i]) std::abort();
    const std::string block = Block(list);
    common::KeyList again;
    if (!common::ReadKeyList(block, again) || common::KeyListSignedText(again) != common::KeyListSignedText(list) ||
        again.signature != list.signature)
      std::abort();
  }
  common::ManifestProblem problem, problemWithout;
  const auto with = common::ReadPackageManifest(text, problem);
  const auto without = common::ReadPackageManifest(WithoutList(text), problemWithout);
  if (with.has_value() != without.has_value() || (with && common::SignedText(*with) != common::SignedText(*without)))
    std::abort();
  return 0;
}
