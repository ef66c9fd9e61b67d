#include "app/EmptyPage.h"

namespace app {

namespace {

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\f'; }

wchar_t Lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; }

// Takes one tag <name ...> (or </name> when closing) from the front of `text`.
bool TakeTag(std::wstring_view& text, std::wstring_view name, bool closing) {
  std::size_t i = 0;
  if (i >= text.size() || text[i++] != L'<') return false;
  if (closing && (i >= text.size() || text[i++] != L'/')) return false;
  for (wchar_t c : name) {
    if (i >= text.size() || Lower(text[i++]) != c) return false;
  }
  if (i >= text.size()) return false;
  if (text[i] != L'>') {
    // Attributes belong to an opening tag only, after white space.
    if (closing || !IsSpace(text[i])) return false;
    while (i < text.size() && text[i] != L'>') ++i;
    if (i >= text.size()) return false;
  }
  text.remove_prefix(i + 1);
  return true;
}

void SkipSpace(std::wstring_view& text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
}

}  // namespace

bool IsEmptyPage(std::wstring_view html) {
  SkipSpace(html);
  if (html.empty()) return true;
  // A head, then a body, each empty; either may be missing.
  for (std::wstring_view name : {std::wstring_view(L"head"), std::wstring_view(L"body")}) {
    SkipSpace(html);
    if (!TakeTag(html, name, false)) continue;
    SkipSpace(html);
    if (!TakeTag(html, name, true)) return false;
  }
  SkipSpace(html);
  return html.empty();
}

}  // namespace app
