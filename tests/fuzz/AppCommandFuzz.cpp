// libFuzzer entry: any bytes, read as UTF-16 text, go through the app command
// interpreter; the answer must agree with the containment rule.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/AppCommand.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::wstring url(size / sizeof(wchar_t), L'\0');
  std::memcpy(url.data(), data, url.size() * sizeof(wchar_t));
  app::AppCommand command = app::InterpretAppCommand(url);
  bool exit = url.find(L"app://exitgame") != std::wstring::npos;
  bool load = url.find(L"app://loadgame") != std::wstring::npos;
  if (exit != (command.kind == app::AppCommandKind::ExitGame)) std::abort();
  if (command.kind == app::AppCommandKind::LoadGame && (!load || command.gameAddress.find(L'|') != std::wstring::npos))
    std::abort();
  return 0;
}
