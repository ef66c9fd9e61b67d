#include "browser/ShellNewWindow.h"

#include <windows.h>

#include "browser/WebAddress.h"
#include "forms/Program.h"
#include "win/Shell.h"

namespace browser {

void SendNewWindowToShell(const wchar_t* who, const std::wstring& url, bool& processed) {
  processed = true;
  const std::optional<std::wstring> address = RebuiltWebAddress(url);
  if (!address) {
    forms::Program::Log(std::wstring(who) + L": a new window for an address that is not a web page was refused: " + url);
    return;
  }
  win::ShellOpen(address->c_str());
}

}  // namespace browser
