#include "win/SystemLibrary.h"

#include <windows.h>

#include <string>

namespace win {

void* SystemFunctionAddress(const wchar_t* library, const char* function) {
  wchar_t folder[MAX_PATH];
  const UINT n = ::GetSystemDirectoryW(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder, n) + L"\\" + library;
  // Loaded once: later calls find it loaded and take another reference,
  // which is never given back (the library lives as long as the process).
  const HMODULE module = ::LoadLibraryW(path.c_str());
  return module ? reinterpret_cast<void*>(::GetProcAddress(module, function)) : nullptr;
}

}  // namespace win
