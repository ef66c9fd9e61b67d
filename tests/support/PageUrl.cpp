#include "tests/support/PageUrl.h"

#include "tests/support/HtmlScan.h"

namespace browser::url {

namespace {

struct Parts {
  std::wstring scheme;  // as written, without ':'
  bool hasAuthority = false;
  std::wstring authority;
  std::wstring path;
  bool hasQuery = false;
  std::wstring query;
  bool hasFragment = false;
  std::wstring fragment;
};

bool IsSpecial(std::wstring_view lowerScheme) {
  return lowerScheme == L"http" || lowerScheme == L"https" || lowerScheme == L"ftp" || lowerScheme == L"file";
}

Parts Split(std::wstring_view text) {
  Parts p;
  std::size_t schemeLen = SchemeLength(text);
  if (schemeLen > 0) {
    p.scheme.assign(text.substr(0, schemeLen));
    text.remove_prefix(schemeLen + 1);
  }
  std::size_t hash = text.find(L'#');
  if (hash != std::wstring_view::npos) {
    p.hasFragment = true;
    p.fragment.assign(text.substr(hash + 1));
    text = text.substr(0, hash);
  }
  std::size_t question = text.find(L'?');
  if (question != std::wstring_view::npos) {
    p.hasQuery = true;
    p.query.assign(text.substr(question + 1));
    text = text.substr(0, question);
  }
  if (text.substr(0, 2) == L"//") {
    p.hasAuthority = true;
    text.remove_prefix(2);
    std::size_t slash = text.find(L'/');
    p.authority.assign(text.substr(0, slash));
    text = slash == std::wstring_view::npos ? std::wstring_view() : text.substr(slash);
  }
  p.path.assign(text);
  return p;
}

// RFC 3986 5.2.4.
std::wstring RemoveDotSegments(std::wstring_view input) {
  std::wstring out;
  while (!input.empty()) {
    if (input.substr(0, 3) == L"../") {
      input.remove_prefix(3);
    } else if (input.substr(0, 2) == L"./") {
      input.remove_prefix(2);
    } else if (input.substr(0, 3) == L"/./") {
      input.remove_prefix(2);
    } else if (input == L"/.") {
      input = L"/";
    } else if (input.substr(0, 4) == L"/../" || input == L"/..") {
      input = input.size() == 3 ? std::wstring_view(L"/") : input.substr(3);
      std::size_t last = out.rfind(L'/');
      out.erase(last == std::wstring::npos ? 0 : last);
    } else if (input == L"." || input == L"..") {
      input = {};
    } else {
      std::size_t next = input.find(L'/', input[0] == L'/' ? 1 : 0);
      std::size_t len = next == std::wstring_view::npos ? input.size() : next;
      out.append(input.substr(0, len));
      input.remove_prefix(len);
    }
  }
  return out;
}

std::wstring Join(const Parts& p) {
  std::wstring out;
  if (!p.scheme.empty()) out += p.scheme + L":";
  if (p.hasAuthority) out += L"//" + p.authority;
  out += p.path;
  if (p.hasQuery) out += L"?" + p.query;
  if (p.hasFragment) out += L"#" + p.fragment;
  return out;
}

// Leading and trailing spaces and control characters go; tabs and new lines
// inside go too (they come from attribute values broken over lines).
std::wstring Clean(std::wstring_view text) {
  while (!text.empty() && text.front() <= L' ') text.remove_prefix(1);
  while (!text.empty() && text.back() <= L' ') text.remove_suffix(1);
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    if (c != L'\t' && c != L'\n' && c != L'\r') out.push_back(c);
  }
  return out;
}

// In http addresses a backslash before the query counts as a slash.
void Slashes(std::wstring& text) {
  std::size_t end = text.find_first_of(L"?#");
  if (end == std::wstring::npos) end = text.size();
  for (std::size_t i = 0; i < end; ++i) {
    if (text[i] == L'\\') text[i] = L'/';
  }
}

}  // namespace

std::wstring_view WithoutFragment(std::wstring_view address) {
  return address.substr(0, address.find(L'#'));
}

std::wstring Resolve(std::wstring_view baseText, std::wstring_view referenceText) {
  std::wstring reference = Clean(referenceText);
  std::wstring base = Clean(baseText);
  std::wstring baseScheme = Scheme(base);
  std::wstring refScheme = Scheme(reference);
  if (IsSpecial(refScheme.empty() ? baseScheme : refScheme)) Slashes(reference);
  if (IsSpecial(baseScheme)) Slashes(base);

  Parts r = Split(reference);
  if (!r.scheme.empty()) {
    r.path = RemoveDotSegments(r.path);
    return Join(r);
  }
  Parts b = Split(base);
  Parts t;
  t.scheme = b.scheme;
  if (r.hasAuthority) {
    t.hasAuthority = true;
    t.authority = r.authority;
    t.path = RemoveDotSegments(r.path);
    t.hasQuery = r.hasQuery;
    t.query = r.query;
  } else {
    t.hasAuthority = b.hasAuthority;
    t.authority = b.authority;
    if (r.path.empty()) {
      t.path = b.path;
      t.hasQuery = r.hasQuery || b.hasQuery;
      t.query = r.hasQuery ? r.query : b.query;
    } else {
      if (r.path.front() == L'/') {
        t.path = RemoveDotSegments(r.path);
      } else {
        std::wstring merged;
        if (b.hasAuthority && b.path.empty()) {
          merged = L"/" + r.path;
        } else {
          std::size_t slash = b.path.rfind(L'/');
          merged = (slash == std::wstring::npos ? std::wstring() : b.path.substr(0, slash + 1)) + r.path;
        }
        t.path = RemoveDotSegments(merged);
      }
      t.hasQuery = r.hasQuery;
      t.query = r.query;
    }
  }
  // An http address always has a path.
  if (t.hasAuthority && t.path.empty() && IsSpecial(html::ToLowerAscii(t.scheme))) t.path = L"/";
  t.hasFragment = r.hasFragment;
  t.fragment = r.fragment;
  return Join(t);
}

}  // namespace browser::url
