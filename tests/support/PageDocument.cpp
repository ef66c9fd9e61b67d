#include "tests/support/PageDocument.h"

#include <algorithm>
#include <iterator>

#include "tests/support/HtmlScan.h"
#include "tests/support/PageUrl.h"

namespace browser {

namespace {

using html::Token;
using html::TokenKind;

// The most text a page contributes to the drawing; the rest is left out.
constexpr std::size_t kMaxDrawnText = 512 * 1024;

bool OneOf(std::wstring_view name, std::initializer_list<std::wstring_view> names) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

bool IsBlockElement(std::wstring_view n) {
  return OneOf(n, {L"address", L"article", L"aside", L"blockquote", L"body", L"center", L"dd", L"details",
                   L"dialog", L"dir", L"div", L"dl", L"dt", L"fieldset", L"figcaption", L"figure", L"footer",
                   L"form", L"h1", L"h2", L"h3", L"h4", L"h5", L"h6", L"header", L"hgroup", L"hr", L"li",
                   L"main", L"menu", L"nav", L"ol", L"p", L"pre", L"section", L"summary", L"table", L"tbody",
                   L"thead", L"tfoot", L"tr", L"ul", L"caption", L"legend", L"html", L"frameset"});
}

bool IsHeading(std::wstring_view n) {
  return n.size() == 2 && n[0] == L'h' && n[1] >= L'1' && n[1] <= L'6';
}

bool IsBoldElement(std::wstring_view n) { return OneOf(n, {L"b", L"strong", L"th"}) || IsHeading(n); }

// Elements whose content is never drawn.
bool IsHiddenElement(std::wstring_view n) {
  return OneOf(n, {L"head", L"template", L"select", L"datalist", L"object", L"audio", L"video", L"canvas",
                   L"map"});
}

bool IsVoidElement(std::wstring_view n) {
  return OneOf(n, {L"area", L"base", L"br", L"col", L"embed", L"hr", L"img", L"input", L"link", L"meta",
                   L"param", L"source", L"track", L"wbr", L"frame"});
}

bool IsScriptType(const std::wstring* type) {
  if (!type) return true;
  std::wstring t = html::ToLowerAscii(html::TrimSpaces(*type));
  return t.empty() || t == L"module" || t.find(L"javascript") != std::wstring::npos ||
         t.find(L"ecmascript") != std::wstring::npos || t.find(L"jscript") != std::wstring::npos;
}

std::wstring CollapseSpaces(std::wstring_view text) {
  std::wstring out;
  bool space = false;
  for (wchar_t c : text) {
    if (html::IsHtmlSpace(c)) {
      space = !out.empty();
      continue;
    }
    if (space) out.push_back(L' ');
    space = false;
    out.push_back(c);
  }
  return out;
}

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// "%XX" escapes of ASCII characters undone, as browsers do for "javascript:" addresses.
std::wstring PercentDecodeAscii(std::wstring_view text) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
      int value = HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]);
      if (value < 0x80) {
        out.push_back(static_cast<wchar_t>(value));
        i += 2;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

class Builder {
 public:
  Builder(std::wstring_view source, std::wstring_view address) : source_(source), address_(address), base_(address) {}

  PageDocument Build() {
    html::Scanner scanner(source_);
    Token tok;
    std::size_t htmlStart = std::wstring::npos;
    std::size_t htmlEnd = std::wstring::npos;
    while (scanner.Next(tok)) {
      // The text of a <title> is the token right after its start tag.
      titleText_ = takeTitle_ && tok.rawText && tok.name == L"title";
      takeTitle_ = false;
      switch (tok.kind) {
        case TokenKind::Text:
          if (tok.rawText) {
            RawText(tok);
          } else {
            Text(html::DecodeEntities(tok.text));
          }
          break;
        case TokenKind::StartTag:
          if (tok.name == L"html" && htmlStart == std::wstring::npos) {
            htmlStart = tok.end;
            if (const std::wstring* style = tok.Attr(L"style")) doc_.rootStyle = *style;
          }
          StartTag(tok);
          break;
        case TokenKind::EndTag:
          if (tok.name == L"html" && htmlStart != std::wstring::npos) htmlEnd = tok.begin;
          EndTag(tok);
          break;
        case TokenKind::Comment:
        case TokenKind::Declaration:
          break;
      }
    }
    FinishBlock(false);
    std::wstring_view root = source_;
    if (htmlStart != std::wstring::npos) {
      std::size_t stop = htmlEnd == std::wstring::npos ? source_.size() : htmlEnd;
      root = source_.substr(htmlStart, stop - htmlStart);
    }
    doc_.rootInnerHtml.assign(html::TrimSpaces(root));
    return std::move(doc_);
  }

 private:
  std::wstring Resolve(std::wstring_view reference) const { return url::Resolve(base_, reference); }

  std::vector<script::Action> Resolved(std::vector<script::Action> actions) const {
    for (script::Action& a : actions) a.address = Resolve(a.address);
    return actions;
  }

  void StartTag(const Token& tok) {
    const std::wstring& n = tok.name;
    if (n == L"base") {
      const std::wstring* href = tok.Attr(L"href");
      if (href && !baseSet_) {
        base_ = url::Resolve(address_, *href);
        baseSet_ = true;
      }
      return;
    }
    if (n == L"meta") {
      Meta(tok);
      return;
    }
    if (n == L"body") {
      inHead_ = false;
      if (const std::wstring* onload = tok.Attr(L"onload")) {
        for (script::Action& a : Resolved(script::FindActions(*onload))) doc_.scriptActions.push_back(std::move(a));
      }
    }
    if (n == L"title") {
      if (!doc_.hasTitle) doc_.hasTitle = takeTitle_ = true;
      return;
    }
    if (n == L"script") {
      pendingScript_ = IsScriptType(tok.Attr(L"type")) && !tok.Attr(L"src");
      return;
    }
    if (n == L"iframe" || n == L"frame") {
      const std::wstring* src = tok.Attr(L"src");
      if (src && !html::TrimSpaces(*src).empty()) {
        doc_.frames.push_back(Resolve(*src));
        const std::wstring* name = tok.Attr(L"name");
        doc_.frameNames.push_back(name ? html::ToLowerAscii(*name) : std::wstring());
      }
      if (n == L"iframe") Break();
      return;
    }
    if (IsHiddenElement(n)) {
      if (n == L"head") inHead_ = true;
      else hidden_.push_back(n);
      return;
    }
    if (IsBlockElement(n)) Break();
    if (n == L"br") {
      FinishBlock(true);
      return;
    }
    if (n == L"li") Text(L"\u2022 ");
    if ((n == L"td" || n == L"th") && !current_.runs.empty()) {  // cells of a row: apart by a space
      pendingSpace_ = true;
      spaceLink_ = -1;
      spaceBold_ = false;
    }
    if (n == L"pre") ++preDepth_;
    if (IsHeading(n)) ++headingDepth_;

    // Something to click on: a link, or an element with a recognised onclick.
    std::vector<script::Action> actions;
    const std::wstring* href = n == L"a" || n == L"area" ? tok.Attr(L"href") : nullptr;
    std::wstring resolvedHref;
    if (href) {
      std::wstring trimmed(html::TrimSpaces(*href));
      if (url::Scheme(trimmed) == L"javascript") {
        actions = script::FindActions(PercentDecodeAscii(std::wstring_view(trimmed).substr(trimmed.find(L':') + 1)));
      } else {
        resolvedHref = Resolve(trimmed);
      }
    }
    if (const std::wstring* onclick = tok.Attr(L"onclick")) {
      std::vector<script::Action> clicked = script::FindActions(*onclick, resolvedHref);
      if (!clicked.empty()) actions = std::move(clicked);
    }
    bool clickable = href || !actions.empty();
    if (n == L"a") CloseLink(L"a");  // a new link ends an unclosed one
    if (clickable) {
      PageLink link;
      link.href = resolvedHref;
      if (const std::wstring* target = tok.Attr(L"target")) link.target = html::ToLowerAscii(html::TrimSpaces(*target));
      link.script = Resolved(std::move(actions));
      doc_.links.push_back(std::move(link));
      links_.push_back({n, static_cast<int>(doc_.links.size() - 1)});
    }
    if (IsBoldElement(n) && !tok.selfClosing) bold_.push_back(n);

    if (n == L"img") {
      const std::wstring* alt = tok.Attr(L"alt");
      if (alt && !html::TrimSpaces(*alt).empty()) {
        Text(*alt);
      } else if (!links_.empty()) {
        const std::wstring* src = tok.Attr(L"src");
        std::wstring name = src ? std::wstring(url::WithoutFragment(*src)) : std::wstring();
        std::size_t slash = name.find_last_of(L"/\\");
        if (slash != std::wstring::npos) name.erase(0, slash + 1);
        Text(L"[" + (name.empty() ? std::wstring(L"image") : name) + L"]");
      }
    } else if (n == L"input") {
      const std::wstring* type = tok.Attr(L"type");
      std::wstring t = type ? html::ToLowerAscii(html::TrimSpaces(*type)) : std::wstring();
      if (t == L"button" || t == L"submit" || t == L"reset" || t == L"image") {
        const std::wstring* value = tok.Attr(L"value");
        if (!value) value = tok.Attr(L"alt");
        Text(L"[" + (value ? *value : std::wstring(t == L"reset" ? L"Reset" : L"Submit")) + L"]");
      }
    }
    // A void element is clickable for what it shows itself only.
    if (clickable && IsVoidElement(n)) links_.pop_back();
  }

  void EndTag(const Token& tok) {
    const std::wstring& n = tok.name;
    if (n == L"head") {
      inHead_ = false;
      return;
    }
    if (IsHiddenElement(n)) {
      auto it = std::find(hidden_.rbegin(), hidden_.rend(), n);
      if (it != hidden_.rend()) hidden_.erase(std::next(it).base(), hidden_.end());
      return;
    }
    if (n == L"br") {  // "</br>" counts as <br>, as browsers have it
      FinishBlock(true);
      return;
    }
    if (IsBlockElement(n)) Break();
    if (n == L"pre" && preDepth_ > 0) --preDepth_;
    if (IsHeading(n) && headingDepth_ > 0) --headingDepth_;
    CloseLink(n);
    auto it = std::find(bold_.rbegin(), bold_.rend(), n);
    if (it != bold_.rend()) bold_.erase(std::next(it).base());
  }

  void CloseLink(std::wstring_view name) {
    for (auto it = links_.rbegin(); it != links_.rend(); ++it) {
      if (it->first == name) {
        links_.erase(std::next(it).base(), links_.end());
        return;
      }
    }
  }

  void Meta(const Token& tok) {
    const std::wstring* equiv = tok.Attr(L"http-equiv");
    const std::wstring* content = tok.Attr(L"content");
    if (!equiv || !content || doc_.refresh) return;
    if (!html::EqualsNoCase(html::TrimSpaces(*equiv), L"refresh")) return;
    if (auto refresh = ParseRefresh(*content)) {
      refresh->address = refresh->address.empty() ? std::wstring(address_) : Resolve(refresh->address);
      doc_.refresh = std::move(refresh);
    }
  }

  void RawText(const Token& tok) {
    if (tok.name == L"title") {
      if (titleText_) doc_.title = CollapseSpaces(html::DecodeEntities(tok.text));
    } else if (tok.name == L"script") {
      if (pendingScript_) {
        for (script::Action& a : Resolved(script::FindActions(tok.text))) doc_.scriptActions.push_back(std::move(a));
      }
    } else if (tok.name == L"textarea" || tok.name == L"xmp") {
      if (tok.name == L"textarea") Text(html::DecodeEntities(tok.text));
      else Text(tok.text);
    }
    pendingScript_ = false;
  }

  bool Drawing() const { return !inHead_ && hidden_.empty() && drawn_ < kMaxDrawnText; }

  void Text(std::wstring_view text) {
    if (!Drawing()) return;
    for (wchar_t c : text) {
      if (preDepth_ > 0) {
        if (c == L'\r') continue;
        if (c == L'\n') {
          FinishBlock(true);
          continue;
        }
        if (c == L'\t') {
          for (int k = 0; k < 4; ++k) Append(L' ');
          continue;
        }
        Append(c == 0xA0 ? L' ' : c);
        continue;
      }
      if (html::IsHtmlSpace(c)) {
        if (!current_.runs.empty()) {
          pendingSpace_ = true;
          spaceLink_ = CurrentLink();
          spaceBold_ = !bold_.empty();
        }
        continue;
      }
      if (pendingSpace_) {
        AppendStyled(L' ', spaceBold_, spaceLink_);
        pendingSpace_ = false;
      }
      Append(c == 0xA0 ? L' ' : c);
    }
  }

  int CurrentLink() const { return links_.empty() ? -1 : links_.back().second; }

  void Append(wchar_t c) { AppendStyled(c, !bold_.empty(), CurrentLink()); }

  void AppendStyled(wchar_t c, bool bold, int link) {
    if (current_.runs.empty()) current_.heading = headingDepth_ > 0;
    if (current_.runs.empty() || current_.runs.back().bold != bold || current_.runs.back().link != link) {
      current_.runs.push_back({{}, bold, link});
    }
    current_.runs.back().text.push_back(c);
    ++drawn_;
  }

  // The end of a paragraph: the block closes if it has any text.
  void Break() { FinishBlock(false); }

  // `always`: a line break, which ends even an empty line.
  void FinishBlock(bool always) {
    pendingSpace_ = false;
    if (current_.runs.empty() && !(always && Drawing())) return;
    // No trailing space at the end of a line.
    while (!current_.runs.empty() && preDepth_ == 0) {
      std::wstring& t = current_.runs.back().text;
      while (!t.empty() && t.back() == L' ') t.pop_back();
      if (!t.empty()) break;
      current_.runs.pop_back();
    }
    if (current_.runs.empty() && !always) return;
    doc_.blocks.push_back(std::move(current_));
    current_ = TextBlock{};
  }

  std::wstring_view source_;
  std::wstring_view address_;
  std::wstring base_;
  bool baseSet_ = false;
  PageDocument doc_;
  TextBlock current_;
  bool pendingSpace_ = false;
  int spaceLink_ = -1;
  bool spaceBold_ = false;
  bool inHead_ = false;
  bool pendingScript_ = false;
  bool takeTitle_ = false;
  bool titleText_ = false;
  int preDepth_ = 0;
  int headingDepth_ = 0;
  std::size_t drawn_ = 0;
  std::vector<std::wstring> hidden_;
  std::vector<std::wstring> bold_;
  std::vector<std::pair<std::wstring, int>> links_;
};

}  // namespace

PageDocument ParseHtml(std::wstring_view source, std::wstring_view address) {
  return Builder(source, address).Build();
}

PageDocument ParsePlainText(std::wstring_view text) {
  PageDocument doc;
  doc.rootInnerHtml.assign(html::TrimSpaces(text));
  std::size_t drawn = 0;
  while (!text.empty() && drawn < kMaxDrawnText) {
    std::size_t eol = text.find(L'\n');
    std::wstring_view line = text.substr(0, eol);
    if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
    TextBlock block;
    std::wstring expanded;
    for (wchar_t c : line) {
      if (c == L'\t') expanded.append(4, L' ');
      else expanded.push_back(c);
    }
    if (!expanded.empty()) block.runs.push_back({expanded, false, -1});
    drawn += expanded.size() + 1;
    doc.blocks.push_back(std::move(block));
    if (eol == std::wstring_view::npos) break;
    text.remove_prefix(eol + 1);
  }
  return doc;
}

std::optional<MetaRefresh> ParseRefresh(std::wstring_view content) {
  std::size_t i = 0;
  const std::size_t n = content.size();
  auto skipSpaces = [&] {
    while (i < n && html::IsHtmlSpace(content[i])) ++i;
  };
  skipSpaces();
  std::size_t digits = i;
  unsigned long long seconds = 0;
  while (i < n && content[i] >= L'0' && content[i] <= L'9') {
    seconds = std::min<unsigned long long>(seconds * 10 + static_cast<unsigned>(content[i] - L'0'), 0xFFFFFFFFull);
    ++i;
  }
  if (i == digits && !(i < n && content[i] == L'.')) return std::nullopt;
  while (i < n && ((content[i] >= L'0' && content[i] <= L'9') || content[i] == L'.')) ++i;  // a fraction counts for nothing
  MetaRefresh result;
  result.seconds = static_cast<unsigned>(seconds);
  if (i < n && !(html::IsHtmlSpace(content[i]) || content[i] == L';' || content[i] == L',')) return std::nullopt;
  skipSpaces();
  if (i < n && (content[i] == L';' || content[i] == L',')) ++i;
  skipSpaces();
  std::wstring_view rest = content.substr(i);
  // "url = ..." in any case.
  if (rest.size() >= 3 && html::EqualsNoCase(rest.substr(0, 3), L"url")) {
    std::size_t k = 3;
    while (k < rest.size() && html::IsHtmlSpace(rest[k])) ++k;
    if (k < rest.size() && rest[k] == L'=') {
      ++k;
      while (k < rest.size() && html::IsHtmlSpace(rest[k])) ++k;
      rest.remove_prefix(k);
    }
  }
  if (!rest.empty() && (rest.front() == L'\'' || rest.front() == L'"')) {
    wchar_t quote = rest.front();
    rest.remove_prefix(1);
    std::size_t close = rest.find(quote);
    if (close != std::wstring_view::npos) rest = rest.substr(0, close);
  }
  result.address.assign(html::TrimSpaces(rest));
  return result;
}

namespace {

struct Declaration {
  std::wstring name;  // lower-case
  std::wstring value;
};

std::vector<Declaration> Declarations(std::wstring_view text) {
  std::vector<Declaration> out;
  while (!text.empty()) {
    std::size_t semi = text.find(L';');
    std::wstring_view one = text.substr(0, semi);
    text = semi == std::wstring_view::npos ? std::wstring_view() : text.substr(semi + 1);
    std::size_t colon = one.find(L':');
    if (colon == std::wstring_view::npos) continue;
    std::wstring name = html::ToLowerAscii(html::TrimSpaces(one.substr(0, colon)));
    std::wstring_view value = html::TrimSpaces(one.substr(colon + 1));
    if (!name.empty()) out.push_back({std::move(name), std::wstring(value)});
  }
  return out;
}

}  // namespace

std::wstring StyleProperty(std::wstring_view declarations, std::wstring_view property) {
  std::wstring wanted = html::ToLowerAscii(html::TrimSpaces(property));
  std::wstring found;
  for (const Declaration& d : Declarations(declarations)) {
    if (d.name == wanted) found = d.value;
  }
  return found;
}

std::wstring WithStyleProperty(std::wstring_view declarations, std::wstring_view property, std::wstring_view value) {
  std::wstring wanted = html::ToLowerAscii(html::TrimSpaces(property));
  std::wstring out;
  for (const Declaration& d : Declarations(declarations)) {
    if (d.name == wanted) continue;
    out += d.name + L": " + d.value + L"; ";
  }
  std::wstring_view v = html::TrimSpaces(value);
  if (!wanted.empty() && !v.empty()) out += wanted + L": " + std::wstring(v) + L"; ";
  if (!out.empty()) out.pop_back();
  return out;
}

}  // namespace browser
