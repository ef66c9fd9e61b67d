// The process begins by creating the start-up window; there is no other entry.
#include <windows.h>
#include <ole2.h>

#include "app/LoadFrm.h"
#include "forms/Program.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  forms::Program::Init(instance);
  ::OleInitialize(nullptr);

  frm::LoadFrm().Show();
  int code = forms::Program::Run();
  ::OleUninitialize();
  return code;
}
