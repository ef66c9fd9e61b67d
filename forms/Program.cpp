#include "forms/Program.h"

#include "forms/CommandLine.h"
#include "forms/DeleteLater.h"
#include "win/Error.h"
#include "win/KeyRouting.h"
#include "win/Text.h"

#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace forms {

namespace {
HINSTANCE g_instance = nullptr;
HWND g_hiddenOwner = nullptr;
int g_loadedForms = 0;
bool g_anyShown = false;
constexpr UINT kRunLater = WM_APP + 1;
std::vector<std::function<void()>> g_idleActions;
// Deferred actions in the order asked for; one wake message at a time.
std::vector<std::function<void()>> g_deferred;
bool g_wakePosted = false;
int g_handlersRunning = 0;

bool PostWake() {
  if (!g_wakePosted) g_wakePosted = ::PostMessageW(Program::HiddenOwner(), kRunLater, 0, 0) != FALSE;
  return g_wakePosted;
}

// Actions asked for while these run wait for the next wake.
void RunDeferred() {
  for (auto& action : std::exchange(g_deferred, {})) RunHandler(L"deferred action", [&] { action(); });
}

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kRunLater) {
    g_wakePosted = false;
    // Dispatched by a nested loop: the last handler to return wakes again.
    if (!HandlerScope::AnyRunning()) RunDeferred();
    return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

std::wstring ExceptionText(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const win::Win32Error& e) {
    return e.message();
  } catch (const std::exception& e) {
    return win::FromUtf8(e.what());
  } catch (...) {
    return L"unknown error";
  }
}
}  // namespace

HandlerScope::HandlerScope() noexcept { ++g_handlersRunning; }

HandlerScope::~HandlerScope() {
  if (--g_handlersRunning == 0 && !g_deferred.empty()) PostWake();
}

bool HandlerScope::AnyRunning() noexcept { return g_handlersRunning > 0; }

void RunLater(std::function<void()> action) {
  g_deferred.push_back(std::move(action));
  if (!PostWake() && !HandlerScope::AnyRunning()) RunDeferred();
}

void RunWhenIdle(std::function<void()> action) { g_idleActions.push_back(std::move(action)); }

void Program::Init(HINSTANCE instance) { g_instance = instance; }

HINSTANCE Program::Instance() { return g_instance ? g_instance : ::GetModuleHandleW(nullptr); }

namespace {
// What was left for the loop (objects to delete, controls to release once
// their event returned) still happens when the last form has gone. Bounded:
// an action may leave another behind, but not for ever.
void RunWhatWasLeft() {
  for (int i = 0; i < 1000 && !g_deferred.empty(); ++i) RunDeferred();
}
}  // namespace

int Program::Run() {
  MSG msg;
  while (g_loadedForms > 0) {
    // A look that finds nothing waiting lets the window system bring what was
    // drawn to the screen (Wine does so only then).
    if (!g_idleActions.empty() && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      for (auto& action : std::exchange(g_idleActions, {})) RunHandler(L"idle action", [&] { action(); });
      continue;
    }
    BOOL r = ::GetMessageW(&msg, nullptr, 0, 0);
    if (r == 0) {
      RunWhatWasLeft();
      return static_cast<int>(msg.wParam);
    }
    if (r == -1) {
      RunWhatWasLeft();
      return 1;
    }
    if (win::RouteKey(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  RunWhatWasLeft();
  return 0;
}

void Program::EndNow(UINT exitCode) { ::ExitProcess(exitCode); }

HWND Program::HiddenOwner() {
  if (!g_hiddenOwner) {
    static const wchar_t kClass[] = L"VelmoraOwner";
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &OwnerProc;
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

// The loop checks the count after each message: a handler that unloads the
// last form and loads another (the login handing over to the main window)
// keeps the program running.
void Program::FormUnloaded(Form*) {
  // Wakes the loop in case this ran inside a sent message.
  if (--g_loadedForms == 0) ::PostMessageW(nullptr, WM_NULL, 0, 0);
}

int Program::LoadedFormCount() { return g_loadedForms; }
void Program::NoteFormShown() { g_anyShown = true; }

void Program::ReportError(std::wstring_view where, std::wstring_view text) {
  Log(std::wstring(where) + L": " + std::wstring(text));
  if (!g_anyShown) {
    ::MessageBoxW(nullptr, std::wstring(text).c_str(), L"提示", MB_OK | MB_ICONWARNING);
    EndNow(1);
  }
}

void Program::ReportException(std::wstring_view where, std::exception_ptr error) {
  ReportError(where, ExceptionText(error));
}

void Program::LogException(std::wstring_view where, std::exception_ptr error) noexcept {
  try {
    Log(std::wstring(where) + L": " + ExceptionText(error));
  } catch (const std::exception&) {
    // Too little memory to compose the line: a fixed one still goes out.
    ::OutputDebugStringW(L"Velmora: an error could not be logged\n");
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
