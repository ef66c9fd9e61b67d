#include "tests/support/HtmlScan.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>

namespace browser::html {

namespace {

constexpr std::size_t npos = std::wstring_view::npos;

bool IsAsciiAlpha(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsAsciiAlnum(wchar_t c) { return IsAsciiAlpha(c) || IsAsciiDigit(c); }
wchar_t LowerAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }

struct NamedEntity {
  const wchar_t* name;
  char32_t codePoint;
};

// Sorted by name (binary search); names are case-sensitive.
constexpr NamedEntity kEntities[] = {
    {L"AElig", 198},   {L"Aacute", 193},  {L"Acirc", 194},   {L"Agrave", 192},  {L"Alpha", 913},
    {L"Aring", 197},   {L"Atilde", 195},  {L"Auml", 196},    {L"Beta", 914},    {L"Ccedil", 199},
    {L"Dagger", 8225}, {L"Delta", 916},   {L"ETH", 208},     {L"Eacute", 201},  {L"Ecirc", 202},
    {L"Egrave", 200},  {L"Euml", 203},    {L"Gamma", 915},   {L"Iacute", 205},  {L"Icirc", 206},
    {L"Igrave", 204},  {L"Iuml", 207},    {L"Ntilde", 209},  {L"OElig", 338},   {L"Oacute", 211},
    {L"Ocirc", 212},   {L"Ograve", 210},  {L"Omega", 937},   {L"Oslash", 216},  {L"Otilde", 213},
    {L"Ouml", 214},    {L"Prime", 8243},  {L"Scaron", 352},  {L"THORN", 222},   {L"Uacute", 218},
    {L"Ucirc", 219},   {L"Ugrave", 217},  {L"Uuml", 220},    {L"Yacute", 221},  {L"Yuml", 376},
    {L"aacute", 225},  {L"acirc", 226},   {L"acute", 180},   {L"aelig", 230},   {L"agrave", 224},
    {L"alpha", 945},   {L"amp", 38},      {L"apos", 39},     {L"aring", 229},   {L"asymp", 8776},
    {L"atilde", 227},  {L"auml", 228},    {L"bdquo", 8222},  {L"beta", 946},    {L"brvbar", 166},
    {L"bull", 8226},   {L"ccedil", 231},  {L"cedil", 184},   {L"cent", 162},    {L"circ", 710},
    {L"clubs", 9827},  {L"copy", 169},    {L"curren", 164},  {L"dagger", 8224}, {L"darr", 8595},
    {L"deg", 176},     {L"delta", 948},   {L"diams", 9830},  {L"divide", 247},  {L"eacute", 233},
    {L"ecirc", 234},   {L"egrave", 232},  {L"emsp", 8195},   {L"ensp", 8194},   {L"equiv", 8801},
    {L"eth", 240},     {L"euml", 235},    {L"euro", 8364},   {L"fnof", 402},    {L"frac12", 189},
    {L"frac14", 188},  {L"frac34", 190},  {L"frasl", 8260},  {L"gamma", 947},   {L"ge", 8805},
    {L"gt", 62},       {L"harr", 8596},   {L"hearts", 9829}, {L"hellip", 8230}, {L"iacute", 237},
    {L"icirc", 238},   {L"iexcl", 161},   {L"igrave", 236},  {L"infin", 8734},  {L"iquest", 191},
    {L"iuml", 239},    {L"lambda", 955},  {L"laquo", 171},   {L"larr", 8592},   {L"ldquo", 8220},
    {L"le", 8804},     {L"loz", 9674},    {L"lrm", 8206},    {L"lsaquo", 8249}, {L"lsquo", 8216},
    {L"lt", 60},       {L"macr", 175},    {L"mdash", 8212},  {L"micro", 181},   {L"middot", 183},
    {L"minus", 8722},  {L"mu", 956},      {L"nbsp", 160},    {L"ndash", 8211},  {L"ne", 8800},
    {L"not", 172},     {L"ntilde", 241},  {L"oacute", 243},  {L"ocirc", 244},   {L"oelig", 339},
    {L"ograve", 242},  {L"oline", 8254},  {L"omega", 969},   {L"ordf", 170},    {L"ordm", 186},
    {L"oslash", 248},  {L"otilde", 245},  {L"ouml", 246},    {L"para", 182},    {L"permil", 8240},
    {L"pi", 960},      {L"plusmn", 177},  {L"pound", 163},   {L"prime", 8242},  {L"prod", 8719},
    {L"quot", 34},     {L"radic", 8730},  {L"raquo", 187},   {L"rarr", 8594},   {L"rdquo", 8221},
    {L"reg", 174},     {L"rlm", 8207},    {L"rsaquo", 8250}, {L"rsquo", 8217},  {L"sbquo", 8218},
    {L"scaron", 353},  {L"sect", 167},    {L"shy", 173},     {L"sigma", 963},   {L"spades", 9824},
    {L"sum", 8721},    {L"sup1", 185},    {L"sup2", 178},    {L"sup3", 179},    {L"szlig", 223},
    {L"theta", 952},   {L"thinsp", 8201}, {L"thorn", 254},   {L"tilde", 732},   {L"times", 215},
    {L"trade", 8482},  {L"uacute", 250},  {L"uarr", 8593},   {L"ucirc", 251},   {L"ugrave", 249},
    {L"uml", 168},     {L"uuml", 252},    {L"yacute", 253},  {L"yen", 165},     {L"yuml", 255},
    {L"zwj", 8205},    {L"zwnj", 8204},
};

const NamedEntity* FindEntity(std::wstring_view name) {
  auto it = std::lower_bound(std::begin(kEntities), std::end(kEntities), name,
                             [](const NamedEntity& e, std::wstring_view n) { return std::wstring_view(e.name) < n; });
  if (it != std::end(kEntities) && std::wstring_view(it->name) == name) return &*it;
  return nullptr;
}

// The references that browsers also accept without their ';' (the Latin-1 set
// of HTML 4 and amp, lt, gt, quot).
bool IsLegacyEntity(const NamedEntity& e) { return e.codePoint <= 255 && e.codePoint != 39; }

constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsRawTextElement(std::wstring_view name) {
  static constexpr std::wstring_view kRaw[] = {L"script",   L"style",    L"title", L"textarea", L"xmp",
                                               L"iframe",   L"noembed",  L"noframes", L"noscript"};
  return std::find(std::begin(kRaw), std::end(kRaw), name) != std::end(kRaw);
}

}  // namespace

char32_t Windows1252ToUnicode(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kWindows1252High[byte - 0x80];
  return byte;
}

const std::wstring* Token::Attr(std::wstring_view lowerName) const {
  for (const Attribute& a : attributes) {
    if (a.name == lowerName) return &a.value;
  }
  return nullptr;
}

void AppendCodePoint(std::wstring& out, char32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if constexpr (sizeof(wchar_t) == 2) {
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
      return;
    }
  }
  out.push_back(static_cast<wchar_t>(cp));
}

std::wstring ToLowerAscii(std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out) c = LowerAscii(c);
  return out;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

bool IsHtmlSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\f'; }

std::wstring_view TrimSpaces(std::wstring_view text) {
  while (!text.empty() && IsHtmlSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsHtmlSpace(text.back())) text.remove_suffix(1);
  return text;
}

std::wstring DecodeEntities(std::wstring_view text, bool inAttribute) {
  std::wstring out;
  out.reserve(text.size());
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    wchar_t c = text[i];
    if (c != L'&') {
      out.push_back(c);
      ++i;
      continue;
    }
    // Numeric reference.
    if (i + 1 < n && text[i + 1] == L'#') {
      std::size_t j = i + 2;
      bool hex = j < n && (text[j] == L'x' || text[j] == L'X');
      if (hex) ++j;
      std::size_t digitsBegin = j;
      char32_t value = 0;
      for (; j < n; ++j) {
        wchar_t d = text[j];
        unsigned digit;
        if (IsAsciiDigit(d)) {
          digit = static_cast<unsigned>(d - L'0');
        } else if (hex && d >= L'a' && d <= L'f') {
          digit = static_cast<unsigned>(d - L'a' + 10);
        } else if (hex && d >= L'A' && d <= L'F') {
          digit = static_cast<unsigned>(d - L'A' + 10);
        } else {
          break;
        }
        value = value * (hex ? 16 : 10) + digit;
        if (value > 0x10FFFF) value = 0x110000;  // stays out of range however many digits follow
      }
      if (j == digitsBegin) {  // "&#" or "&#x" with no digits: not a reference
        out.push_back(c);
        ++i;
        continue;
      }
      if (j < n && text[j] == L';') ++j;
      if (value == 0) value = 0xFFFD;
      if (value >= 0x80 && value <= 0x9F) value = Windows1252ToUnicode(static_cast<unsigned char>(value));
      AppendCodePoint(out, value);
      i = j;
      continue;
    }
    // Named reference: the longest run of letters and digits.
    std::size_t j = i + 1;
    while (j < n && IsAsciiAlnum(text[j]) && j - i <= 32) ++j;
    std::wstring_view run = text.substr(i + 1, j - i - 1);
    if (!run.empty() && j < n && text[j] == L';') {
      if (const NamedEntity* e = FindEntity(run)) {
        AppendCodePoint(out, e->codePoint);
        i = j + 1;
        continue;
      }
    }
    // Without ';': the longest legacy name that starts the run.
    bool decoded = false;
    for (std::size_t len = run.size(); len >= 2 && !decoded; --len) {
      const NamedEntity* e = FindEntity(run.substr(0, len));
      if (!e || !IsLegacyEntity(*e)) continue;
      std::size_t after = i + 1 + len;
      if (inAttribute && after < n && (IsAsciiAlnum(text[after]) || text[after] == L'=')) break;
      AppendCodePoint(out, e->codePoint);
      i = after;
      decoded = true;
    }
    if (decoded) continue;
    out.push_back(c);
    ++i;
  }
  return out;
}

bool Scanner::Next(Token& token) {
  const std::size_t n = source_.size();
  for (;;) {
    token = Token{};
    if (!rawElement_.empty()) {
      ReadRawText(token);
      rawElement_.clear();
      if (token.end > token.begin) return true;
      continue;
    }
    if (pos_ >= n) return false;
    const std::size_t start = pos_;
    std::size_t lt = start;
    for (;;) {
      lt = source_.find(L'<', lt);
      if (lt == npos || lt + 1 >= n) {
        lt = n;
        break;
      }
      wchar_t c = source_[lt + 1];
      if (IsAsciiAlpha(c) || c == L'!' || c == L'?' || (c == L'/' && lt + 2 < n)) break;
      ++lt;
    }
    if (lt > start) {
      token.kind = TokenKind::Text;
      token.text.assign(source_.substr(start, lt - start));
      token.begin = start;
      token.end = lt;
      pos_ = lt;
      return true;
    }
    if (ReadTag(token, lt)) return true;
  }
}

bool Scanner::ReadTag(Token& token, std::size_t at) {
  const std::size_t n = source_.size();
  token.begin = at;
  wchar_t c = source_[at + 1];

  auto untilClose = [&](std::size_t from, TokenKind kind) {
    std::size_t close = source_.find(L'>', from);
    std::size_t stop = close == npos ? n : close;
    token.kind = kind;
    token.text.assign(source_.substr(from, stop - from));
    pos_ = close == npos ? n : close + 1;
    token.end = pos_;
    return true;
  };

  if (c == L'!') {
    if (source_.substr(at, 4) == L"<!--") {
      std::size_t body = at + 4;
      token.kind = TokenKind::Comment;
      if (source_.substr(body, 1) == L">" || source_.substr(body, 2) == L"->") {  // "<!-->" and "<!--->"
        pos_ = body + (source_[body] == L'>' ? 1 : 2);
        token.end = pos_;
        return true;
      }
      std::size_t close = source_.find(L"-->", body);
      std::size_t stop = close == npos ? n : close;
      token.text.assign(source_.substr(body, stop - body));
      pos_ = close == npos ? n : close + 3;
      token.end = pos_;
      return true;
    }
    return untilClose(at + 2, TokenKind::Declaration);
  }
  if (c == L'?') return untilClose(at + 1, TokenKind::Comment);

  bool endTag = c == L'/';
  std::size_t i = at + (endTag ? 2 : 1);
  if (endTag) {
    if (source_[i] == L'>') {  // "</>" is dropped
      pos_ = i + 1;
      return false;
    }
    if (!IsAsciiAlpha(source_[i])) return untilClose(i, TokenKind::Comment);
  }

  // The element name.
  std::size_t nameBegin = i;
  while (i < n && !IsHtmlSpace(source_[i]) && source_[i] != L'/' && source_[i] != L'>') ++i;
  token.kind = endTag ? TokenKind::EndTag : TokenKind::StartTag;
  token.name = ToLowerAscii(source_.substr(nameBegin, i - nameBegin));

  // Attributes, up to '>' or "/>". The end of the source inside a tag drops the tag.
  for (;;) {
    while (i < n && (IsHtmlSpace(source_[i]) || source_[i] == L'/')) {
      if (source_[i] == L'/' && i + 1 < n && source_[i + 1] == L'>') {
        token.selfClosing = true;
        ++i;
        break;
      }
      ++i;
    }
    if (i >= n) {
      pos_ = n;
      return false;
    }
    if (source_[i] == L'>') {
      ++i;
      break;
    }
    std::size_t attrBegin = i++;
    while (i < n && !IsHtmlSpace(source_[i]) && source_[i] != L'/' && source_[i] != L'>' && source_[i] != L'=') ++i;
    std::wstring name = ToLowerAscii(source_.substr(attrBegin, i - attrBegin));
    std::size_t k = i;
    while (k < n && IsHtmlSpace(source_[k])) ++k;
    std::wstring value;
    if (k < n && source_[k] == L'=') {
      ++k;
      while (k < n && IsHtmlSpace(source_[k])) ++k;
      if (k < n && (source_[k] == L'"' || source_[k] == L'\'')) {
        std::size_t close = source_.find(source_[k], k + 1);
        if (close == npos) {
          pos_ = n;
          return false;
        }
        value = DecodeEntities(source_.substr(k + 1, close - k - 1), true);
        i = close + 1;
      } else {
        std::size_t valueBegin = k;
        while (k < n && !IsHtmlSpace(source_[k]) && source_[k] != L'>') ++k;
        value = DecodeEntities(source_.substr(valueBegin, k - valueBegin), true);
        i = k;
      }
    }
    if (!endTag && !token.Attr(name)) token.attributes.push_back({std::move(name), std::move(value)});
  }
  pos_ = i;
  token.end = i;
  if (endTag) {
    token.attributes.clear();
    token.selfClosing = false;
  } else if (IsRawTextElement(token.name)) {
    rawElement_ = token.name;
  }
  return true;
}

void Scanner::ReadRawText(Token& token) {
  const std::size_t n = source_.size();
  std::size_t start = pos_;
  std::size_t search = start;
  std::size_t stop = n;
  for (;;) {
    std::size_t lt = source_.find(L"</", search);
    if (lt == npos) break;
    std::size_t after = lt + 2 + rawElement_.size();
    if (after <= n && EqualsNoCase(source_.substr(lt + 2, rawElement_.size()), rawElement_) &&
        (after == n || IsHtmlSpace(source_[after]) || source_[after] == L'/' || source_[after] == L'>')) {
      stop = lt;
      break;
    }
    search = lt + 2;
  }
  token.kind = TokenKind::Text;
  token.rawText = true;
  token.name = rawElement_;
  token.text.assign(source_.substr(start, stop - start));
  token.begin = start;
  token.end = stop;
  pos_ = stop;
}

}  // namespace browser::html
