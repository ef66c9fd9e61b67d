#include "browser/WebView2Script.h"

namespace browser {

std::wstring StyleName(std::wstring_view css) {
  std::wstring out;
  bool upper = false;
  for (wchar_t c : css) {
    if (c == L'-') {
      upper = !out.empty();
      continue;
    }
    out.push_back(upper && c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c);
    upper = false;
  }
  return out;
}

std::wstring RootStyleScript(std::wstring_view property, std::wstring_view value) {
  std::wstring script = L"document.documentElement.style.";
  for (wchar_t c : StyleName(property)) {
    // A name is letters and digits only: nothing else reaches the script as code.
    if ((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9')) script += c;
  }
  script += L" = \"";
  for (wchar_t c : value) {
    if (c == L'"' || c == L'\\') {
      script += L'\\';
      script += c;
    } else if (c < 0x20 || c == 0x2028 || c == 0x2029) {
      static constexpr wchar_t kHex[] = L"0123456789abcdef";
      script += L"\\u00";
      script += kHex[(c >> 4) & 0xF];
      script += kHex[c & 0xF];
    } else {
      script += c;
    }
  }
  script += L'"';
  return script;
}

std::optional<std::wstring> JsonStringText(std::wstring_view json) {
  if (json == L"null") return std::wstring();
  if (json.size() < 2 || json.front() != L'"' || json.back() != L'"') return std::nullopt;
  json = json.substr(1, json.size() - 2);
  std::wstring text;
  for (std::size_t i = 0; i < json.size(); ++i) {
    wchar_t c = json[i];
    if (c == L'"') return std::nullopt;
    if (c != L'\\') {
      text += c;
      continue;
    }
    if (++i == json.size()) return std::nullopt;
    switch (json[i]) {
      case L'"': case L'\\': case L'/': text += json[i]; break;
      case L'b': text += L'\b'; break;
      case L'f': text += L'\f'; break;
      case L'n': text += L'\n'; break;
      case L'r': text += L'\r'; break;
      case L't': text += L'\t'; break;
      case L'u': {
        if (json.size() - i < 5) return std::nullopt;
        unsigned code = 0;
        for (std::size_t k = 1; k <= 4; ++k) {
          const wchar_t h = json[i + k];
          const int digit = h >= L'0' && h <= L'9'   ? h - L'0'
                            : h >= L'a' && h <= L'f' ? h - L'a' + 10
                            : h >= L'A' && h <= L'F' ? h - L'A' + 10
                                                     : -1;
          if (digit < 0) return std::nullopt;
          code = code * 16 + static_cast<unsigned>(digit);
        }
        i += 4;
        text += static_cast<wchar_t>(code);  // a surrogate pair comes as two escapes: UTF-16 as it is
        break;
      }
      default: return std::nullopt;
    }
  }
  return text;
}

}  // namespace browser
