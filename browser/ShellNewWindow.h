// A page's request for a new browser window, answered the one way the client
// answers it: the request is taken (the view opens no window of its own) and
// a well-formed web address goes to the player's default browser, rebuilt
// from its parts; anything else is dropped and written to the program's log.
#pragma once

#include <string>

namespace browser {

// `who` names the window whose page asked, for the log.
void SendNewWindowToShell(const wchar_t* who, const std::wstring& url, bool& processed);

}  // namespace browser
