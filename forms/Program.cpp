#include "forms/Program.h"

#include "forms/CommandLine.h"
#include "win/Error.h"
#include "win/Text.h"

#include <stdexcept>

namespace forms {

namespace {
HINSTANCE g_instance = nullptr;
HWND g_hiddenOwner = nullptr;
int g_loadedForms = 0;
bool g_anyShown = false;
}  // namespace

void Program::Init(HINSTANCE instance) { g_instance = instance; }

HINSTANCE Program::Instance() { return g_instance ? g_instance : ::GetModuleHandleW(nullptr); }

int Program::Run() {
  MSG msg;
  while (g_loadedForms > 0) {
    BOOL r = ::GetMessageW(&msg, nullptr, 0, 0);
    if (r == 0) return static_cast<int>(msg.wParam);
    if (r == -1) return 1;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}

void Program::EndNow(UINT exitCode) { ::ExitProcess(exitCode); }

HWND Program::HiddenOwner() {
  if (!g_hiddenOwner) {
    static const wchar_t kClass[] = L"VelmoraOwner";
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = Instance();
    wc.lpszClassName = kClass;
    ::RegisterClassExW(&wc);
    g_hiddenOwner = ::CreateWindowExW(WS_EX_TOOLWINDOW, kClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                      Instance(), nullptr);
  }
  return g_hiddenOwner;
}

std::wstring Program::Arguments() { return ArgumentsText(::GetCommandLineW()); }

void Program::FormLoaded(Form*) { ++g_loadedForms; }

void Program::FormUnloaded(Form*) {
  if (--g_loadedForms == 0) ::PostQuitMessage(0);
}

int Program::LoadedFormCount() { return g_loadedForms; }
bool Program::AnyFormShown() { return g_anyShown; }
void Program::NoteFormShown() { g_anyShown = true; }

void Program::ReportError(std::wstring_view where, std::wstring_view text) {
  Log(std::wstring(where) + L": " + std::wstring(text));
  if (!g_anyShown) {
    ::MessageBoxW(nullptr, std::wstring(text).c_str(), L"提示", MB_OK | MB_ICONWARNING);
    EndNow(1);
  }
}

void Program::ReportException(std::wstring_view where, std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const win::Win32Error& e) {
    ReportError(where, e.message());
  } catch (const std::exception& e) {
    ReportError(where, win::FromUtf8(e.what()));
  } catch (...) {
    ReportError(where, L"unknown error");
  }
}

void Program::Log(std::wstring_view line) {
  std::wstring text = L"Velmora: " + std::wstring(line) + L"\n";
  ::OutputDebugStringW(text.c_str());
  HANDLE err = ::GetStdHandle(STD_ERROR_HANDLE);
  if (err && err != INVALID_HANDLE_VALUE) {
    std::string utf8 = win::ToUtf8(text);
    DWORD written = 0;
    ::WriteFile(err, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  }
}

}  // namespace forms
