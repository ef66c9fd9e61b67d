// The only scripts the fake runtime runs (ExecuteScript and the scripts for
// every new document), read, not run:
//   document.documentElement.innerHTML                  the root's inner HTML
//   document.documentElement.style.<prop>               one root style property
//   document.documentElement.style.<prop> = "<value>"   sets it; several such
//                                                       statements may be
//                                                       joined by ';'
// <prop> is written as JavaScript names it (overflowX); values are string
// literals in double or single quotes. Anything else is Unknown. Pure.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fakewebview2 {

struct StyleAssignment {
  std::wstring property;  // the CSS name: overflow-x
  std::wstring value;
  bool operator==(const StyleAssignment&) const = default;
};

struct Script {
  enum class Kind { Unknown, InnerHtml, ReadStyle, WriteStyle };
  Kind kind = Kind::Unknown;
  std::wstring property;                   // ReadStyle: the CSS name
  std::vector<StyleAssignment> assignments;  // WriteStyle, in order
};

Script ReadScript(std::wstring_view javaScript);

// The CSS name of a style property as JavaScript writes it: backgroundColor
// -> background-color.
std::wstring CssName(std::wstring_view camelCase);

// `text` as a JSON string, quotes included.
std::wstring JsonString(std::wstring_view text);

}  // namespace fakewebview2
