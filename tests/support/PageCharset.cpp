#include "tests/support/PageCharset.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "tests/support/HtmlScan.h"

namespace browser::charset {

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

std::string LowerCopy(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

// The value of "charset=" inside a Content-Type-like text, without quotes.
std::string CharsetParameter(std::string_view text) {
  std::string lower = LowerCopy(text);
  std::size_t at = lower.find("charset");
  while (at != std::string::npos) {
    std::size_t i = at + 7;
    while (i < lower.size() && IsSpace(lower[i])) ++i;
    if (i < lower.size() && lower[i] == '=') {
      ++i;
      while (i < lower.size() && IsSpace(lower[i])) ++i;
      char quote = 0;
      if (i < lower.size() && (lower[i] == '"' || lower[i] == '\'')) quote = lower[i++];
      std::size_t begin = i;
      while (i < lower.size() && lower[i] != ';' && lower[i] != quote && !(quote == 0 && IsSpace(lower[i]))) ++i;
      return std::string(Trim(std::string_view(lower).substr(begin, i - begin)));
    }
    at = lower.find("charset", at + 7);
  }
  return {};
}

struct Label {
  const char* name;
  unsigned codePage;
};

constexpr Label kLabels[] = {
    {"utf-8", kUtf8},          {"utf8", kUtf8},
    {"unicode-1-1-utf-8", kUtf8},
    {"utf-16", kUtf16Le},      {"utf-16le", kUtf16Le},       {"unicode", kUtf16Le},
    {"utf-16be", kUtf16Be},
    {"us-ascii", kWindows1252}, {"ascii", kWindows1252},     {"iso-8859-1", kWindows1252},
    {"iso8859-1", kWindows1252}, {"latin1", kWindows1252},   {"l1", kWindows1252},
    {"windows-1252", kWindows1252}, {"cp1252", kWindows1252}, {"x-cp1252", kWindows1252},
    {"gbk", 936},              {"gb2312", 936},              {"gb_2312-80", 936},
    {"x-gbk", 936},            {"chinese", 936},             {"csgb2312", 936},
    {"iso-ir-58", 936},        {"cp936", 936},               {"windows-936", 936},
    {"gb18030", 54936},
    {"big5", 950},             {"big5-hkscs", 950},          {"cn-big5", 950},   {"x-x-big5", 950},
    {"shift_jis", 932},        {"shift-jis", 932},           {"sjis", 932},      {"x-sjis", 932},
    {"ms_kanji", 932},         {"windows-31j", 932},         {"csshiftjis", 932},
    {"euc-jp", 20932},         {"iso-2022-jp", 50220},
    {"euc-kr", 949},           {"ks_c_5601-1987", 949},      {"korean", 949},    {"windows-949", 949},
    {"koi8-r", 20866},         {"koi8-u", 21866},
    {"iso-8859-2", 28592},     {"iso-8859-5", 28595},        {"iso-8859-7", 28597},
    {"iso-8859-15", 28605},
    {"windows-1250", 1250},    {"windows-1251", 1251},       {"windows-1253", 1253},
    {"windows-1254", 1254},    {"windows-1255", 1255},       {"windows-1256", 1256},
    {"windows-1257", 1257},    {"windows-1258", 1258},       {"windows-874", 874},
};

}  // namespace

std::string FromContentType(std::string_view contentType) { return CharsetParameter(contentType); }

unsigned CodePageOf(std::string_view label) {
  std::string lower = LowerCopy(Trim(label));
  for (const Label& l : kLabels) {
    if (lower == l.name) return l.codePage;
  }
  return 0;
}

std::string FromMeta(std::string_view bytes) {
  std::string head = LowerCopy(bytes.substr(0, 4096));
  std::size_t at = head.find("<meta");
  while (at != std::string::npos) {
    std::size_t close = head.find('>', at);
    std::string_view tag = std::string_view(head).substr(at, close == std::string::npos ? std::string::npos : close - at);
    std::string found = CharsetParameter(tag);
    if (!found.empty()) {
      // A quoted attribute value ends at its quote; a stray '/' of "/>" is no part of the name.
      while (!found.empty() && (found.back() == '/' || found.back() == '"' || found.back() == '\'')) found.pop_back();
      if (!found.empty()) return found;
    }
    if (close == std::string::npos) break;
    at = head.find("<meta", close);
  }
  return {};
}

namespace {

// One UTF-8 sequence at `i`: its code point and length, or, for a bad one,
// how many bytes it spans (the lead byte and the continuation bytes it took).
struct Utf8Step {
  char32_t cp;
  std::size_t len;
  bool ok;
};

Utf8Step ReadUtf8(std::string_view bytes, std::size_t i) {
  auto b = static_cast<unsigned char>(bytes[i]);
  if (b < 0x80) return {b, 1, true};
  std::size_t len = 0;
  char32_t min = 0;
  if (b >= 0xC2 && b <= 0xDF) {
    len = 2;
    min = 0x80;
  } else if (b >= 0xE0 && b <= 0xEF) {
    len = 3;
    min = 0x800;
  } else if (b >= 0xF0 && b <= 0xF4) {
    len = 4;
    min = 0x10000;
  } else {
    return {0, 1, false};
  }
  char32_t cp = b & (0x7F >> len);
  std::size_t k = 1;
  for (; k < len && i + k < bytes.size(); ++k) {
    auto c = static_cast<unsigned char>(bytes[i + k]);
    if ((c & 0xC0) != 0x80) break;
    cp = (cp << 6) | (c & 0x3F);
  }
  if (k < len || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {0, k, false};
  return {cp, len, true};
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    Utf8Step step = ReadUtf8(bytes, i);
    if (!step.ok) return false;
    i += step.len;
  }
  return true;
}

std::wstring DecodeUtf8(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  std::size_t i = bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
  while (i < bytes.size()) {
    Utf8Step step = ReadUtf8(bytes, i);
    if (!step.ok) out.push_back(static_cast<wchar_t>(0xFFFD));  // one for the whole bad sequence
    else if (step.cp < 0x80) out.push_back(static_cast<wchar_t>(step.cp));
    else html::AppendCodePoint(out, step.cp);
    i += step.len;
  }
  return out;
}

std::wstring DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::wstring out;
  std::size_t i = 0;
  if (bytes.size() >= 2) {
    auto b0 = static_cast<unsigned char>(bytes[0]);
    auto b1 = static_cast<unsigned char>(bytes[1]);
    if ((bigEndian && b0 == 0xFE && b1 == 0xFF) || (!bigEndian && b0 == 0xFF && b1 == 0xFE)) i = 2;
  }
  char32_t high = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    auto b0 = static_cast<unsigned char>(bytes[i]);
    auto b1 = static_cast<unsigned char>(bytes[i + 1]);
    char32_t unit = bigEndian ? (char32_t(b0) << 8 | b1) : (char32_t(b1) << 8 | b0);
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (high) out.push_back(static_cast<wchar_t>(0xFFFD));
      high = unit;
      continue;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
      if (high) {
        html::AppendCodePoint(out, 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
        high = 0;
      } else {
        out.push_back(static_cast<wchar_t>(0xFFFD));
      }
      continue;
    }
    if (high) {
      out.push_back(static_cast<wchar_t>(0xFFFD));
      high = 0;
    }
    out.push_back(static_cast<wchar_t>(unit));
  }
  if (high || bytes.size() % 2) out.push_back(static_cast<wchar_t>(0xFFFD));
  return out;
}

std::wstring DecodeWindows1252(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  for (char c : bytes) out.push_back(static_cast<wchar_t>(html::Windows1252ToUnicode(static_cast<unsigned char>(c))));
  return out;
}

bool DecodeBuiltIn(std::string_view bytes, unsigned codePage, std::wstring& out) {
  switch (codePage) {
    case kUtf8: out = DecodeUtf8(bytes); return true;
    case kUtf16Le: out = DecodeUtf16(bytes, false); return true;
    case kUtf16Be: out = DecodeUtf16(bytes, true); return true;
    case kWindows1252: out = DecodeWindows1252(bytes); return true;
    default: return false;
  }
}

Choice Choose(std::string_view contentType, std::string_view body) {
  if (body.substr(0, 3) == "\xEF\xBB\xBF") return {kUtf8, 3};
  if (body.substr(0, 2) == "\xFF\xFE") return {kUtf16Le, 2};
  if (body.substr(0, 2) == "\xFE\xFF") return {kUtf16Be, 2};
  if (unsigned cp = CodePageOf(FromContentType(contentType))) return {cp, 0};
  if (unsigned cp = CodePageOf(FromMeta(body))) {
    // A page that can be read as ASCII cannot really be UTF-16.
    if (cp == kUtf16Le || cp == kUtf16Be) cp = kUtf8;
    return {cp, 0};
  }
  return {IsValidUtf8(body) ? kUtf8 : kWindows1252, 0};
}

}  // namespace browser::charset
