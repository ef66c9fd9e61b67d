// The root element's inner HTML as the system control's parser gives it: the
// page's text between <html> and </html>, rebuilt with a head and a body
// always present and tag names in capitals, e.g. "<HEAD><TITLE>x</TITLE></HEAD>\r\n<BODY>text</BODY>".
// Elements that belong in the head (title, meta, link, style, base, script)
// met before any content go into the head; the first content opens the body.
// Pure: tested natively.
#pragma once

#include <string>
#include <string_view>

namespace browser::html {

std::wstring SystemRootHtml(std::wstring_view pageText);

}  // namespace browser::html
