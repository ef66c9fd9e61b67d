// Page addresses: resolving a reference written in a page against the page's
// own address (RFC 3986 section 5, with the browsers' leniency for spaces,
// tabs, new lines and backslashes in http addresses). Pure.
#pragma once

#include <string>
#include <string_view>

#include "browser/AddressScheme.h"

namespace browser::url {

// `reference` (as written in a page) resolved against `base` (an absolute
// address). An absolute reference is returned as it is, cleaned.
std::wstring Resolve(std::wstring_view base, std::wstring_view reference);

// The address without its "#fragment".
std::wstring_view WithoutFragment(std::wstring_view address);

}  // namespace browser::url
