// Holds a file open, as a program of an earlier run that still has it would
// (no sharing), or as a virus scanner reading it would ("read": others may
// read it too, but not write, rename or delete it): holdfile PATH [read].
// Says "held" once it has the file, then waits until it is ended. Exit 1: the
// file could not be opened.
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const bool reader = argc > 2 && std::wcscmp(argv[2], L"read") == 0;
  HANDLE file = ::CreateFileW(argv[1], reader ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE,
                              reader ? FILE_SHARE_READ : 0, nullptr, reader ? OPEN_EXISTING : OPEN_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  std::printf("held\n");
  std::fflush(stdout);
  ::Sleep(INFINITE);
  return 0;
}
