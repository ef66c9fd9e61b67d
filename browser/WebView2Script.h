// The scripts the WebView2 host runs in a page and the JSON it gets back:
// pure text, so that it compiles and is tested natively.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace browser {

// A CSS property name as a style object knows it: "background-color" is "backgroundColor".
std::wstring StyleName(std::wstring_view css);
// Sets one property of the root element's style: document.documentElement.style.<name> = "<value>".
std::wstring RootStyleScript(std::wstring_view property, std::wstring_view value);
// The text of a JSON string ("\"a\\u0062\"" is "ab"); "null" (a script's
// undefined) is the empty text; anything else is nullopt.
std::optional<std::wstring> JsonStringText(std::wstring_view json);

}  // namespace browser
