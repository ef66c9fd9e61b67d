#include "win/CommonControls.h"

#include <commctrl.h>

namespace win {

bool LoadCommonControlClasses(DWORD classes) {
  // Only the system folder is searched; the manifest's activation context
  // still redirects the name to the version it asks for. A system without
  // that search flag searches as the entry point left it.
  static const HMODULE library = [] {
    const HMODULE found = ::LoadLibraryExW(L"comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return found ? found : ::LoadLibraryW(L"comctl32.dll");
  }();
  if (!library) return false;
  using InitFn = decltype(&::InitCommonControlsEx);
  const auto init = reinterpret_cast<InitFn>(reinterpret_cast<void*>(::GetProcAddress(library, "InitCommonControlsEx")));
  INITCOMMONCONTROLSEX request{sizeof request, classes};
  return init && init(&request);
}

}  // namespace win
