// Errors of the hook service go to the system's application event log, as one
// error entry "<class>.<routine>: <message>". Nothing is shown to the user.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace hooks {

// The entry's text: "CSubclass.ssc_Subclass: Invalid window handle".
std::wstring ErrorLogLine(std::wstring_view className, std::wstring_view routine, std::wstring_view message);

// Writes the entry (source "Velmora", error type) and tells the watcher, if any.
void LogError(std::wstring_view className, std::wstring_view routine, std::wstring_view message);

namespace detail {
// Sees every line written, after it went to the event log: the event log cannot
// be read back everywhere the program runs, so the tests watch here, through
// their ErrorLogProbe. Empty: nobody watches.
class ErrorLogWatcher {
  friend void hooks::LogError(std::wstring_view, std::wstring_view, std::wstring_view);
  friend struct ErrorLogProbe;
  static std::function<void(std::wstring_view line)>& Watcher();
};
}  // namespace detail

}  // namespace hooks
