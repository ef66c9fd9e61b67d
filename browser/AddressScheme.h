// The scheme of a page address, which decides who handles it: the page view
// (http, https), the client's own commands (app) or nobody. Pure.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace browser::url {

// The length of the scheme at the start of `text`, without its ':' (0: none).
std::size_t SchemeLength(std::wstring_view text);

// The lower-case scheme of an absolute address ("http", "about", "app"), or
// "" when the text does not begin with one. Leading blanks are skipped.
std::wstring Scheme(std::wstring_view address);

bool IsHttp(std::wstring_view address);    // http: or https:
bool IsAbout(std::wstring_view address);   // about:blank and the like
bool IsScript(std::wstring_view address);  // javascript:

}  // namespace browser::url
