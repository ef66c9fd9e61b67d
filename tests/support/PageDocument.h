// A page as the plain page engine understands it: its title, the inner HTML
// of its root element, its frames, its <meta> refresh, the links and scripts
// it can act on, and its text laid out in blocks of styled runs. Built from
// the tokens of HtmlScan; every address is resolved against the page's own
// (or its <base href>). Pure.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/PageScript.h"

namespace browser {

struct TextRun {
  std::wstring text;
  bool bold = false;
  int link = -1;  // index into PageDocument::links, -1 for plain text
  bool operator==(const TextRun&) const = default;
};

// One paragraph or line, its whitespace collapsed (kept inside <pre>).
struct TextBlock {
  std::vector<TextRun> runs;
  bool heading = false;
};

// Something the user can click: a link (<a href>) or any element whose
// onclick (or whose "javascript:" address) the engine recognises.
struct PageLink {
  std::wstring href;    // resolved; "" when there is only a script
  std::wstring target;  // lower-case target attribute
  std::vector<script::Action> script;  // recognised actions, addresses resolved
};

struct MetaRefresh {
  unsigned seconds = 0;
  std::wstring address;  // "" in ParseRefresh's answer when the page reloads itself
  bool operator==(const MetaRefresh&) const = default;
};

struct PageDocument {
  bool hasTitle = false;
  std::wstring title;          // entities decoded, whitespace collapsed
  std::wstring rootInnerHtml;  // inside <html>...</html>, or the whole text without one; trimmed
  std::wstring rootStyle;      // the style attribute of <html>
  std::vector<std::wstring> frames;      // <iframe src> and <frame src>, resolved, in order
  std::vector<std::wstring> frameNames;  // lower-case name attributes of the frames
  std::optional<MetaRefresh> refresh;    // the first <meta http-equiv="refresh">; address resolved
  std::vector<script::Action> scriptActions;  // of the inline scripts and body onload, resolved
  std::vector<PageLink> links;
  std::vector<TextBlock> blocks;
};

// `address` is the page's own address, the base of its relative references.
PageDocument ParseHtml(std::wstring_view source, std::wstring_view address);
// A text/plain answer: each line a block, no title.
PageDocument ParsePlainText(std::wstring_view text);

// The content of <meta http-equiv="refresh">: "5", "0;url=x", "0; URL='x'",
// "3, x". Nothing for content that does not begin with a number.
std::optional<MetaRefresh> ParseRefresh(std::wstring_view content);

// One property of a CSS declaration list ("overflow: hidden; color: red"):
// the last value given, lower-case name compare, "" when absent.
std::wstring StyleProperty(std::wstring_view declarations, std::wstring_view property);
// The declaration list with `property` set to `value` (replacing any earlier
// value; an empty value removes the property).
std::wstring WithStyleProperty(std::wstring_view declarations, std::wstring_view property, std::wstring_view value);

}  // namespace browser
