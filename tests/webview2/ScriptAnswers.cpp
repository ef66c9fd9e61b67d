#include "tests/webview2/ScriptAnswers.h"

#include <cwchar>

namespace fakewebview2 {

namespace {

constexpr std::wstring_view kRoot = L"document.documentElement.";
constexpr std::wstring_view kStyle = L"document.documentElement.style.";

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }
bool IsLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

// Reads scripts from left to right; every Read* moves on only when it matches.
class Reader {
 public:
  explicit Reader(std::wstring_view text) : text_(text) {}

  void SkipSpace() {
    while (at_ < text_.size() && IsSpace(text_[at_])) ++at_;
  }
  bool AtEnd() const { return at_ == text_.size(); }
  bool Read(std::wstring_view word) {
    if (text_.substr(at_, word.size()) != word) return false;
    at_ += word.size();
    return true;
  }
  bool ReadName(std::wstring& name) {
    std::size_t end = at_;
    while (end < text_.size() && IsLetter(text_[end])) ++end;
    if (end == at_) return false;
    name.assign(text_.substr(at_, end - at_));
    at_ = end;
    return true;
  }
  bool ReadString(std::wstring& value) {
    if (at_ >= text_.size() || (text_[at_] != L'"' && text_[at_] != L'\'')) return false;
    const wchar_t quote = text_[at_];
    value.clear();
    for (std::size_t i = at_ + 1; i < text_.size(); ++i) {
      wchar_t c = text_[i];
      if (c == quote) {
        at_ = i + 1;
        return true;
      }
      if (c == L'\n' || c == L'\r') return false;
      if (c == L'\\') {
        if (++i >= text_.size()) return false;
        c = text_[i];
      }
      value += c;
    }
    return false;
  }

 private:
  std::wstring_view text_;
  std::size_t at_ = 0;
};

}  // namespace

std::wstring CssName(std::wstring_view camelCase) {
  std::wstring name;
  for (wchar_t c : camelCase) {
    if (c >= L'A' && c <= L'Z') {
      name += L'-';
      name += static_cast<wchar_t>(c - L'A' + L'a');
    } else {
      name += c;
    }
  }
  return name;
}

Script ReadScript(std::wstring_view javaScript) {
  Script script;
  Reader r(javaScript);
  r.SkipSpace();
  if (r.Read(kStyle)) {
    std::wstring name;
    if (!r.ReadName(name)) return script;
    r.SkipSpace();
    r.Read(L";");
    r.SkipSpace();
    if (r.AtEnd()) {
      script.kind = Script::Kind::ReadStyle;
      script.property = CssName(name);
      return script;
    }
    // Assignments: start again from the top, one statement after another.
    Reader w(javaScript);
    std::vector<StyleAssignment> assignments;
    for (;;) {
      w.SkipSpace();
      if (w.AtEnd()) break;
      StyleAssignment a;
      if (!w.Read(kStyle) || !w.ReadName(name)) return script;
      w.SkipSpace();
      if (!w.Read(L"=")) return script;
      w.SkipSpace();
      if (!w.ReadString(a.value)) return script;
      a.property = CssName(name);
      assignments.push_back(std::move(a));
      w.SkipSpace();
      if (!w.Read(L";") && !w.AtEnd()) return script;
    }
    if (assignments.empty()) return script;
    script.kind = Script::Kind::WriteStyle;
    script.assignments = std::move(assignments);
    return script;
  }
  if (r.Read(kRoot) && r.Read(L"innerHTML")) {
    r.SkipSpace();
    r.Read(L";");
    r.SkipSpace();
    if (r.AtEnd()) script.kind = Script::Kind::InnerHtml;
  }
  return script;
}

std::wstring JsonString(std::wstring_view text) {
  std::wstring out = L"\"";
  for (wchar_t c : text) {
    switch (c) {
      case L'"': out += L"\\\""; break;
      case L'\\': out += L"\\\\"; break;
      case L'\n': out += L"\\n"; break;
      case L'\r': out += L"\\r"; break;
      case L'\t': out += L"\\t"; break;
      default:
        if (c < 0x20) {
          wchar_t escape[8];
          std::swprintf(escape, 8, L"\\u%04x", static_cast<unsigned>(c));
          out += escape;
        } else {
          out += c;
        }
    }
  }
  out += L'"';
  return out;
}

}  // namespace fakewebview2
