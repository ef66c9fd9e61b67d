#include "tests/support/PageScript.h"

#include <algorithm>
#include <iterator>

#include "tests/support/HtmlScan.h"

namespace browser::script {

namespace {

enum class Kind { Name, String, Punct };

struct Tok {
  Kind kind;
  std::wstring text;      // names, punctuation: as written; strings: the value
  bool literal = true;    // strings: false for a template with ${...} in it
};

bool IsNameStart(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L'_' || c == L'$' || c >= 0x80;
}
bool IsNameChar(wchar_t c) { return IsNameStart(c) || (c >= L'0' && c <= L'9'); }

int HexValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// Reads the string literal starting at s[i] (the quote); returns the index after it.
std::size_t ReadString(std::wstring_view s, std::size_t i, Tok& tok) {
  const wchar_t quote = s[i++];
  tok.kind = Kind::String;
  while (i < s.size() && s[i] != quote) {
    wchar_t c = s[i];
    if (c == L'\n' && quote != L'`') break;  // an unterminated string ends at the line
    if (quote == L'`' && c == L'$' && i + 1 < s.size() && s[i + 1] == L'{') tok.literal = false;
    if (c != L'\\') {
      tok.text.push_back(c);
      ++i;
      continue;
    }
    if (++i >= s.size()) break;
    wchar_t e = s[i++];
    switch (e) {
      case L'n': tok.text.push_back(L'\n'); break;
      case L't': tok.text.push_back(L'\t'); break;
      case L'r': tok.text.push_back(L'\r'); break;
      case L'b': tok.text.push_back(L'\b'); break;
      case L'f': tok.text.push_back(L'\f'); break;
      case L'v': tok.text.push_back(L'\v'); break;
      case L'0': tok.text.push_back(L'\0'); break;
      case L'\r':
        if (i < s.size() && s[i] == L'\n') ++i;
        break;
      case L'\n': break;
      case L'x': {
        int h1 = i < s.size() ? HexValue(s[i]) : -1;
        int h2 = i + 1 < s.size() ? HexValue(s[i + 1]) : -1;
        if (h1 >= 0 && h2 >= 0) {
          tok.text.push_back(static_cast<wchar_t>(h1 * 16 + h2));
          i += 2;
        } else {
          tok.text.push_back(L'x');
        }
        break;
      }
      case L'u': {
        char32_t cp = 0;
        if (i < s.size() && s[i] == L'{') {
          std::size_t j = i + 1;
          while (j < s.size() && HexValue(s[j]) >= 0 && j - i < 8) cp = cp * 16 + static_cast<char32_t>(HexValue(s[j++]));
          if (j < s.size() && s[j] == L'}' && j > i + 1) {
            html::AppendCodePoint(tok.text, cp);
            i = j + 1;
          } else {
            tok.text.push_back(L'u');
          }
          break;
        }
        std::size_t j = i;
        while (j < s.size() && j - i < 4 && HexValue(s[j]) >= 0) cp = cp * 16 + static_cast<char32_t>(HexValue(s[j++]));
        if (j - i == 4) {
          tok.text.push_back(static_cast<wchar_t>(cp));  // a UTF-16 unit, as the language has it
          i = j;
        } else {
          tok.text.push_back(L'u');
        }
        break;
      }
      default: tok.text.push_back(e); break;
    }
  }
  return i < s.size() ? i + 1 : i;
}

std::vector<Tok> Lex(std::wstring_view s) {
  std::vector<Tok> out;
  std::size_t i = 0;
  while (i < s.size()) {
    wchar_t c = s[i];
    if (html::IsHtmlSpace(c) || c == L'\v' || c == 0xA0) {
      ++i;
    } else if (c == L'/' && i + 1 < s.size() && s[i + 1] == L'/') {
      std::size_t eol = s.find(L'\n', i);
      i = eol == std::wstring_view::npos ? s.size() : eol + 1;
    } else if (c == L'/' && i + 1 < s.size() && s[i + 1] == L'*') {
      std::size_t close = s.find(L"*/", i + 2);
      i = close == std::wstring_view::npos ? s.size() : close + 2;
    } else if (c == L'<' && s.substr(i, 4) == L"<!--") {  // the old hiding of scripts from browsers
      i += 4;
    } else if (c == L'"' || c == L'\'' || c == L'`') {
      Tok tok{Kind::String, {}};
      i = ReadString(s, i, tok);
      out.push_back(std::move(tok));
    } else if (IsNameStart(c)) {
      std::size_t j = i;
      while (j < s.size() && IsNameChar(s[j])) ++j;
      out.push_back({Kind::Name, std::wstring(s.substr(i, j - i))});
      i = j;
    } else {
      out.push_back({Kind::Punct, std::wstring(1, c)});
      ++i;
    }
  }
  return out;
}

bool IsWindowName(std::wstring_view name) {
  return name == L"window" || name == L"self" || name == L"top" || name == L"parent";
}

bool IsPunct(const std::vector<Tok>& t, std::size_t i, wchar_t c) {
  return i < t.size() && t[i].kind == Kind::Punct && t[i].text.size() == 1 && t[i].text[0] == c;
}

// An argument or right-hand side that is one string written out (or this.href),
// not the start of a longer expression. Returns the index after it, or 0.
std::size_t PlainAddress(const std::vector<Tok>& t, std::size_t i, std::wstring_view thisHref, std::wstring& address) {
  if (i < t.size() && t[i].kind == Kind::String && t[i].literal) {
    address = t[i].text;
    ++i;
  } else if (!thisHref.empty() && i + 2 < t.size() && t[i].kind == Kind::Name && t[i].text == L"this" &&
             IsPunct(t, i + 1, L'.') && t[i + 2].kind == Kind::Name && t[i + 2].text == L"href") {
    address.assign(thisHref);
    i += 3;
  } else {
    return 0;
  }
  if (i < t.size() && t[i].kind == Kind::Punct) {
    wchar_t c = t[i].text[0];
    if (c == L'+' || c == L'.' || c == L'[' || c == L'?' || c == L'(' || c == L'*' || c == L'-' || c == L'|' ||
        c == L'&')
      return 0;
  }
  return i;
}

}  // namespace

std::vector<Action> FindActions(std::wstring_view script, std::wstring_view thisHref) {
  std::vector<Action> actions;
  std::vector<Tok> t = Lex(script);
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i].kind != Kind::Name || (i > 0 && IsPunct(t, i - 1, L'.'))) continue;
    // The chain of names a.b.c starting here.
    std::vector<std::wstring_view> chain{t[i].text};
    std::size_t j = i + 1;
    while (IsPunct(t, j, L'.') && j + 1 < t.size() && t[j + 1].kind == Kind::Name) {
      chain.push_back(t[j + 1].text);
      j += 2;
    }
    const std::size_t last = chain.size() - 1;
    std::wstring address;

    // open(...), window.open(...), navigate(...), window.navigate(...)
    if (chain[last] == L"open" || chain[last] == L"navigate") {
      bool windowOnly = std::all_of(chain.begin(), chain.begin() + static_cast<std::ptrdiff_t>(last), IsWindowName);
      if (windowOnly && IsPunct(t, j, L'(')) {
        std::size_t after = PlainAddress(t, j + 1, thisHref, address);
        if (after && (IsPunct(t, after, L',') || IsPunct(t, after, L')'))) {
          actions.push_back({chain[last] == L"open" ? ActionKind::OpenWindow : ActionKind::Navigate, address});
        }
      }
      i = j - 1;
      continue;
    }

    // [window.|document.]location[.href] = '...', location.assign('...'), location.replace('...')
    auto loc = std::find(chain.begin(), chain.end(), std::wstring_view(L"location"));
    if (loc != chain.end()) {
      bool prefixOk = std::all_of(chain.begin(), loc, [](std::wstring_view n) { return IsWindowName(n) || n == L"document"; });
      std::size_t rest = static_cast<std::size_t>(chain.end() - loc) - 1;  // names after "location"
      if (prefixOk && (rest == 0 || (rest == 1 && chain[last] == L"href"))) {
        if (IsPunct(t, j, L'=') && !IsPunct(t, j + 1, L'=')) {
          std::size_t after = PlainAddress(t, j + 1, thisHref, address);
          if (after) actions.push_back({ActionKind::Navigate, address});
        }
      } else if (prefixOk && rest == 1 && (chain[last] == L"assign" || chain[last] == L"replace") &&
                 IsPunct(t, j, L'(')) {
        std::size_t after = PlainAddress(t, j + 1, thisHref, address);
        if (after && IsPunct(t, after, L')')) actions.push_back({ActionKind::Navigate, address});
      }
    }
    i = j - 1;
  }
  return actions;
}

}  // namespace browser::script
