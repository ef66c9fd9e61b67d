// Program lifetime: the message loop, the count of loaded forms (the program
// ends when the last one unloads), ending at once, and error reporting.
#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <string_view>
#include <utility>

namespace forms {

class Form;

class Program {
 public:
  static void Init(HINSTANCE instance);
  static HINSTANCE Instance();

  // Runs the message loop until the last loaded form has unloaded; returns the exit code.
  static int Run();
  // Ends the process at once: no form's unload step runs.
  [[noreturn]] static void EndNow(UINT exitCode = 0);

  // Owner of the forms that have no taskbar button.
  static HWND HiddenOwner();

  // The command line without the program's name.
  static std::wstring Arguments();

  static void FormLoaded(Form* form);
  static void FormUnloaded(Form* form);
  static int LoadedFormCount();
  static void NoteFormShown();

  // An error that ended an event handler. Before any window has been shown the
  // user gets a message box titled "提示" with the text and the program ends;
  // afterwards the error is logged and the program goes on.
  static void ReportError(std::wstring_view where, std::wstring_view text);
  static void ReportException(std::wstring_view where, std::exception_ptr error);
  // Writes the error to the log with where it happened; nothing else.
  static void LogException(std::wstring_view where, std::exception_ptr error) noexcept;

  // One line to the program's diagnostic log (debugger output and standard error).
  static void Log(std::wstring_view line);
};

// Marks a handler of the program as running on this thread. What RunLater
// defers waits until none is: a nested loop (a box, a modal form, a download
// that lets messages run) may dispatch the deferred message from inside a
// handler whose object the action would free.
class HandlerScope {
 public:
  HandlerScope() noexcept;
  ~HandlerScope();
  HandlerScope(const HandlerScope&) = delete;
  HandlerScope& operator=(const HandlerScope&) = delete;
  static bool AnyRunning() noexcept;
};

namespace detail {
// Runs `fn`; what it throws goes to `Report` with `where`. False when it threw.
template <void (*Report)(std::wstring_view, std::exception_ptr), typename Fn>
bool RunReporting(std::wstring_view where, Fn&& fn) noexcept {
  HandlerScope running;
  try {
    fn();
    return true;
  } catch (...) {
    Report(where, std::current_exception());
    return false;
  }
}
}  // namespace detail

// Runs one event handler; an exception ends the handler and is reported.
template <typename Fn>
bool RunHandler(std::wstring_view where, Fn&& fn) noexcept {
  return detail::RunReporting<&Program::ReportException>(where, std::forward<Fn>(fn));
}

// Runs one step of a sequence whose later steps run even when this one fails:
// what it throws is written to the log with `where`, and the sequence goes on.
template <typename Fn>
bool RunStep(std::wstring_view where, Fn&& fn) noexcept {
  return detail::RunReporting<&Program::LogException>(where, std::forward<Fn>(fn));
}

}  // namespace forms
