// What the updater takes from the C++ runtime in place of the library's own.
// The updater is built without exceptions: nothing in it throws or catches,
// so the library's throwing helpers, its throwing operator new and its
// verbose terminate handler (with the symbol demangler and printf behind it)
// would only bring the unwinder, the exception classes and their strings into
// a program that is downloaded and run from the temporary folder. Here each
// of them ends the program instead, which is what an exception nobody catches
// would do.
#include <windows.h>

#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void End(const char* what) {
  ::OutputDebugStringA(what);
  std::abort();
}

}  // namespace

void* operator new(std::size_t size) {
  if (void* p = std::malloc(size ? size : 1)) return p;
  End("updater: out of memory");
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace std {
void __throw_bad_alloc() { End("updater: out of memory"); }
void __throw_bad_array_new_length() { End("updater: bad array length"); }
void __throw_length_error(const char* what) { End(what); }
void __throw_logic_error(const char* what) { End(what); }
void __throw_out_of_range(const char* what) { End(what); }
void __throw_out_of_range_fmt(const char* what, ...) { End(what); }
void __throw_invalid_argument(const char* what) { End(what); }
void __throw_bad_function_call() { End("updater: empty function called"); }
}  // namespace std

namespace __gnu_cxx {
void __verbose_terminate_handler() { End("updater: terminated"); }
}  // namespace __gnu_cxx
