#include "common/UpdateManifest.h"

#include <algorithm>
#include <cctype>

namespace common {

std::vector<std::string> ManifestLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

std::string_view TrimSpaces(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::optional<std::string> ManifestVersion(std::string_view text) {
  for (const std::string& line : ManifestLines(text)) {
    std::string lower = line;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower.find("version") == std::string::npos) continue;
    return std::string(TrimSpaces(std::string_view(line).substr(std::min<std::size_t>(line.size(), 8))));
  }
  return std::nullopt;
}

std::wstring UpdaterArgument(const std::wstring& folder, const std::wstring& baseName) {
  const bool endsInSeparator = !folder.empty() && (folder.back() == L'\\' || folder.back() == L'/');
  return folder + L"|" + folder + (endsInSeparator ? L"" : L"\\") + baseName + L".exe";
}

}  // namespace common
