#include "browser/AddressScheme.h"

namespace browser::url {

namespace {
bool IsSchemeChar(wchar_t c, bool first) {
  bool alpha = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
  if (first) return alpha;
  return alpha || (c >= L'0' && c <= L'9') || c == L'+' || c == L'-' || c == L'.';
}
}  // namespace

std::size_t SchemeLength(std::wstring_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L':') return i;
    if (!IsSchemeChar(text[i], i == 0)) return 0;
  }
  return 0;
}

std::wstring Scheme(std::wstring_view address) {
  std::size_t i = 0;
  while (i < address.size() && address[i] <= L' ') ++i;
  address.remove_prefix(i);
  std::wstring scheme(address.substr(0, SchemeLength(address)));
  for (wchar_t& c : scheme) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
  return scheme;
}

bool IsHttp(std::wstring_view address) {
  std::wstring s = Scheme(address);
  return s == L"http" || s == L"https";
}

bool IsAbout(std::wstring_view address) { return Scheme(address) == L"about"; }

bool IsScript(std::wstring_view address) { return Scheme(address) == L"javascript"; }

}  // namespace browser::url
