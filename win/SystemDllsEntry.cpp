// The executable's entry point, ahead of the C runtime's: before any code of
// the program or its runtime can load a library, library loading is limited
// to the system folder. A library then cannot be planted beside the program
// (the updater runs from the temporary folder, which any program may write)
// or in the current folder. Windows 7 without the system update that brings
// SetDefaultDllDirectories still starts, with the current folder at least
// taken out of the search.
//
// Linked into each executable directly (not from a library) and named as its
// entry by the build.
#include <windows.h>

extern "C" int WinMainCRTStartup();

namespace {
using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);

void RestrictLibrarySearchToSystemFolder() {
  // kernel32 is always loaded: asking for it loads nothing.
  const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  const auto restrict = kernel ? reinterpret_cast<SetDefaultDllDirectoriesFn>(
                                     reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDefaultDllDirectories")))
                               : nullptr;
  if (!restrict || !restrict(LOAD_LIBRARY_SEARCH_SYSTEM32)) ::SetDllDirectoryW(L"");
}
}  // namespace

extern "C" __attribute__((force_align_arg_pointer)) int VelmoraEntry() {
  RestrictLibrarySearchToSystemFolder();
  return WinMainCRTStartup();
}
