#include "tests/support/PageRootHtml.h"

#include <array>

#include "tests/support/HtmlScan.h"

namespace browser::html {

namespace {

bool IsHeadElement(std::wstring_view name) {
  constexpr std::array<std::wstring_view, 6> kHead{L"title", L"meta", L"link", L"style", L"base", L"script"};
  for (std::wstring_view h : kHead) {
    if (name == h) return true;
  }
  return false;
}

bool IsNameChar(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9');
}

// A tag as written, its name in capitals.
std::wstring TagText(std::wstring_view source) {
  std::wstring out(source);
  std::size_t i = 1;
  if (i < out.size() && out[i] == L'/') ++i;
  for (; i < out.size() && IsNameChar(out[i]); ++i) {
    if (out[i] >= L'a' && out[i] <= L'z') out[i] = static_cast<wchar_t>(out[i] - 32);
  }
  return out;
}

// What follows the name in a start tag: " style=...", without the closing '>' or '/>'.
std::wstring AttributeText(std::wstring_view source) {
  std::size_t i = 1;
  while (i < source.size() && IsNameChar(source[i])) ++i;
  std::size_t end = source.size();
  if (end > i && source[end - 1] == L'>') --end;
  if (end > i && source[end - 1] == L'/') --end;
  return std::wstring(source.substr(i, end - i));
}

}  // namespace

std::wstring SystemRootHtml(std::wstring_view pageText) {
  std::wstring head, bodyAttributes, body;
  bool inBody = false;
  std::wstring headElement;  // the head element whose content is being read
  Scanner scanner(pageText);
  Token t;
  while (scanner.Next(t)) {
    const std::wstring_view source = pageText.substr(t.begin, t.end - t.begin);
    const bool tag = t.kind == TokenKind::StartTag || t.kind == TokenKind::EndTag;
    if (t.kind == TokenKind::Declaration || (tag && (t.name == L"html" || t.name == L"head"))) continue;
    if (tag && t.name == L"body") {
      if (t.kind == TokenKind::StartTag && !inBody) bodyAttributes = AttributeText(source);
      inBody = true;
      continue;
    }
    if (!inBody) {
      if (!headElement.empty()) {
        head += tag ? TagText(source) : std::wstring(source);
        if (t.kind == TokenKind::EndTag && t.name == headElement) headElement.clear();
        continue;
      }
      if (t.kind == TokenKind::Text && TrimSpaces(t.text).empty()) continue;
      if (t.kind == TokenKind::Comment) {
        head += source;
        continue;
      }
      if (t.kind == TokenKind::StartTag && IsHeadElement(t.name)) {
        head += TagText(source);
        if (!t.selfClosing && t.name != L"meta" && t.name != L"link" && t.name != L"base") headElement = t.name;
        continue;
      }
      if (t.kind == TokenKind::EndTag) continue;  // a stray end tag before any content
      inBody = true;
    }
    body += tag ? TagText(source) : std::wstring(source);
  }
  return L"<HEAD>" + head + L"</HEAD>\r\n<BODY" + bodyAttributes + L">" + std::wstring(TrimSpaces(body)) +
         L"</BODY>";
}

}  // namespace browser::html
