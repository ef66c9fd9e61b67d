// libFuzzer entry: any bytes as an update manifest. The client's version rule
// and the updater's reading must never fail, and what the updater accepts
// must say what it read.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/UpdateManifest.h"
#include "common/PackageManifest.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto version = common::ManifestVersion(text);
  if (version && (version->find('\r') != std::string::npos || version->find('\n') != std::string::npos)) std::abort();
  common::ManifestProblem problem;
  const auto manifest = common::ReadPackageManifest(text, problem);
  if (manifest) {
    if (!version || *version != manifest->version || manifest->size == 0) std::abort();
    const std::string signed_text = common::SignedText(*manifest);
    if (signed_text.find(manifest->package) == std::string::npos) std::abort();
  } else if (problem.what.empty()) {
    std::abort();
  }
  return 0;
}
