// Whether the login page came back empty. The browser control's parser gives
// every document a head and a body, so an empty answer reads as "<HEAD></HEAD>
// <BODY></BODY>" and not as "": a root holding nothing but an empty head and an
// empty body (tags in any case, with or without attributes, white space
// between them) is empty too.
#pragma once

#include <string_view>

namespace app {

bool IsEmptyPage(std::wstring_view rootInnerHtml);

}  // namespace app
