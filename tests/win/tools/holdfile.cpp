// Holds a file open with no sharing, as a program of an earlier run that
// still has it would: holdfile PATH. Says "held" once it has the file, then
// waits until it is ended. Exit 1: the file could not be opened.
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  HANDLE file = ::CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  std::printf("held\n");
  std::fflush(stdout);
  ::Sleep(INFINITE);
  return 0;
}
