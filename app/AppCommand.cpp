#include "app/AppCommand.h"

namespace app {

std::vector<std::wstring> SplitFields(std::wstring_view text, wchar_t separator) {
  std::vector<std::wstring> fields;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = text.find(separator, start);
    if (end == std::wstring_view::npos) {
      fields.emplace_back(text.substr(start));
      return fields;
    }
    fields.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
}

AppCommand InterpretAppCommand(std::wstring_view url) {
  if (url.find(L"app://exitgame") != std::wstring_view::npos) return {AppCommandKind::ExitGame, {}};
  if (url.find(L"app://minimize") != std::wstring_view::npos) return {AppCommandKind::Minimize, {}};
  if (url.find(L"app://loadgame") != std::wstring_view::npos) {
    std::vector<std::wstring> fields = SplitFields(url, L'|');
    return {AppCommandKind::LoadGame, fields.size() > 1 ? fields[1] : std::wstring()};
  }
  return {};
}

}  // namespace app
