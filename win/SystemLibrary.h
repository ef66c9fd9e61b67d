// Functions of system libraries, taken from the system folder by full path:
// never a library of the same name beside the program or in the current
// folder. For the updater, which runs from the temporary folder, this is how
// it reaches everything beyond the few libraries the system always loads from
// its own folder. A library, once loaded, stays for the life of the process.
#pragma once

namespace win {

// The function's address, or null when the library or the function is missing.
void* SystemFunctionAddress(const wchar_t* library, const char* function);

template <typename Function>
Function* SystemFunction(const wchar_t* library, const char* function) {
  return reinterpret_cast<Function*>(SystemFunctionAddress(library, function));
}

}  // namespace win

// The function `name` as its header declares it, from `library`.
#define VELMORA_SYSTEM_FUNCTION(library, name) ::win::SystemFunction<decltype(::name)>(library, #name)
