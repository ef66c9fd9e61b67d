#include "browser/RuntimeVersion.h"

namespace browser {

std::optional<RuntimeVersion> ParseRuntimeVersion(std::wstring_view text) {
  RuntimeVersion version{};
  std::size_t field = 0, digits = 0;
  for (wchar_t c : text) {
    if (c == L'.') {
      if (digits == 0 || ++field == version.size()) return std::nullopt;
      digits = 0;
    } else if (c >= L'0' && c <= L'9') {
      if (++digits > 9) return std::nullopt;  // keeps every field within unsigned
      version[field] = version[field] * 10 + static_cast<unsigned>(c - L'0');
    } else {
      return std::nullopt;
    }
  }
  if (digits == 0 || field != version.size() - 1) return std::nullopt;
  return version;
}

std::wstring_view LastFolderPart(std::wstring_view folder) {
  while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.remove_suffix(1);
  const std::size_t slash = folder.find_last_of(L"\\/");
  return slash == std::wstring_view::npos ? folder : folder.substr(slash + 1);
}

std::wstring RuntimeVersionText(const RuntimeVersion& version) {
  std::wstring text;
  for (unsigned field : version) {
    if (!text.empty()) text += L'.';
    text += std::to_wstring(field);
  }
  return text;
}

}  // namespace browser
