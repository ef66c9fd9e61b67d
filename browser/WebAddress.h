// Web addresses that leave the client: a page's request for a new window goes
// to the shell (the player's default browser), and a login page's game
// address becomes a tab. Both accept only http and https, and what reaches
// the shell is rebuilt from its parts, so that no quote, space or control
// character of a page's choosing lands on another program's command line.
// Pure.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace browser {

// "scheme://host[:port]" followed by the path, query and fragment, with the
// scheme and host in lower case and every character outside the printable
// ASCII that addresses allow percent-encoded (UTF-8). None when the text is
// not an absolute http or https address with a well-formed host and port, or
// holds a control character anywhere.
std::optional<std::wstring> RebuiltWebAddress(std::wstring_view address);

}  // namespace browser
