#include "browser/WebAddress.h"

namespace browser {

namespace {

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
wchar_t Lower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

// Characters that may stand as they are in a path, query or fragment: the
// unreserved and reserved sets of RFC 3986, and '%' (an escape already made).
bool StandsAsItIs(wchar_t c) {
  if (IsAsciiLetter(c) || IsDigit(c)) return true;
  for (wchar_t allowed : std::wstring_view(L"-._~:/?#[]@!$&'()*+,;=%"))
    if (c == allowed) return true;
  return false;
}

void AppendEscaped(std::wstring& out, unsigned byte) {
  static const wchar_t kHex[] = L"0123456789ABCDEF";
  out += L'%';
  out += kHex[(byte >> 4) & 15];
  out += kHex[byte & 15];
}

// Appends one character of the path, query or fragment; false for text that
// is no character (a lone surrogate).
bool AppendPathCharacter(std::wstring& out, std::wstring_view text, std::size_t& i) {
  const wchar_t c = text[i];
  if (c < 0x80) {
    if (StandsAsItIs(c)) out += c;
    else AppendEscaped(out, c);
    return true;
  }
  char32_t code = c;
  if (c >= 0xD800 && c <= 0xDBFF) {
    if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
    code = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (static_cast<char32_t>(text[++i]) - 0xDC00);
  } else if (c >= 0xDC00 && c <= 0xDFFF) {
    return false;
  }
  if (code < 0x800) {
    AppendEscaped(out, 0xC0 | (code >> 6));
  } else if (code < 0x10000) {
    AppendEscaped(out, 0xE0 | (code >> 12));
    AppendEscaped(out, 0x80 | ((code >> 6) & 0x3F));
  } else {
    AppendEscaped(out, 0xF0 | (code >> 18));
    AppendEscaped(out, 0x80 | ((code >> 12) & 0x3F));
    AppendEscaped(out, 0x80 | ((code >> 6) & 0x3F));
  }
  AppendEscaped(out, 0x80 | (code & 0x3F));
  return true;
}

// A host name of letters, digits, '-' and '.', or an IPv6 literal in
// brackets; lower-cased into `out`.
bool AppendHost(std::wstring& out, std::wstring_view host) {
  if (host.empty() || host.size() > 253) return false;
  if (host.front() == L'[') {
    if (host.size() < 3 || host.back() != L']') return false;
    for (wchar_t c : host.substr(1, host.size() - 2))
      if (!IsDigit(c) && !(Lower(c) >= L'a' && Lower(c) <= L'f') && c != L':' && c != L'.') return false;
  } else {
    if (host.front() == L'.' || host.front() == L'-') return false;
    for (wchar_t c : host)
      if (!IsAsciiLetter(c) && !IsDigit(c) && c != L'-' && c != L'.') return false;
  }
  for (wchar_t c : host) out += Lower(c);
  return true;
}

bool AppendPort(std::wstring& out, std::wstring_view port) {
  if (port.empty() || port.size() > 5) return false;
  unsigned value = 0;
  for (wchar_t c : port) {
    if (!IsDigit(c)) return false;
    value = value * 10 + static_cast<unsigned>(c - L'0');
  }
  if (value == 0 || value > 65535) return false;
  out += L':';
  out += std::to_wstring(value);
  return true;
}

}  // namespace

std::optional<std::wstring> RebuiltWebAddress(std::wstring_view address) {
  for (wchar_t c : address)
    if (c < 0x20 || c == 0x7F) return std::nullopt;
  const std::size_t colon = address.find(L"://");
  if (colon == std::wstring_view::npos) return std::nullopt;
  std::wstring out;
  for (wchar_t c : address.substr(0, colon)) out += Lower(c);
  if (out != L"http" && out != L"https") return std::nullopt;
  out += L"://";

  const std::wstring_view rest = address.substr(colon + 3);
  const std::size_t authorityEnd = rest.find_first_of(L"/?#");
  const std::wstring_view authority = rest.substr(0, authorityEnd);
  // No user names or passwords: they only serve to disguise the real host.
  if (authority.find(L'@') != std::wstring_view::npos) return std::nullopt;
  const std::size_t portColon = authority.rfind(L':');
  const bool hasPort = portColon != std::wstring_view::npos && authority.find(L']', portColon) == std::wstring_view::npos;
  if (!AppendHost(out, hasPort ? authority.substr(0, portColon) : authority)) return std::nullopt;
  if (hasPort && !AppendPort(out, authority.substr(portColon + 1))) return std::nullopt;

  const std::wstring_view tail = authorityEnd == std::wstring_view::npos ? std::wstring_view() : rest.substr(authorityEnd);
  if (tail.empty() || tail.front() != L'/') out += L'/';
  for (std::size_t i = 0; i < tail.size(); ++i)
    if (!AppendPathCharacter(out, tail, i)) return std::nullopt;
  return out;
}

}  // namespace browser
