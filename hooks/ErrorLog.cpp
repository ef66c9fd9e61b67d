#include "hooks/ErrorLog.h"

#include <windows.h>

#include "win/UniqueHandle.h"

namespace hooks {

namespace {

constexpr wchar_t kEventSource[] = L"Velmora";
constexpr DWORD kEventId = 1;

}  // namespace

std::wstring ErrorLogLine(std::wstring_view className, std::wstring_view routine, std::wstring_view message) {
  std::wstring line;
  line.reserve(className.size() + routine.size() + message.size() + 3);
  line.append(className).append(L".").append(routine).append(L": ").append(message);
  return line;
}

void LogError(std::wstring_view className, std::wstring_view routine, std::wstring_view message) {
  const std::wstring line = ErrorLogLine(className, routine, message);
  win::UniqueEventSource source(::RegisterEventSourceW(nullptr, kEventSource));
  if (source) {
    const wchar_t* strings[] = {line.c_str()};
    ::ReportEventW(source.get(), EVENTLOG_ERROR_TYPE, 0, kEventId, nullptr, 1, 0, strings, nullptr);
  }
  // A copy, so that a watcher may stop watching from inside its own call.
  if (auto watcher = detail::ErrorLogWatcher::Watcher()) watcher(line);
}

std::function<void(std::wstring_view)>& detail::ErrorLogWatcher::Watcher() {
  static std::function<void(std::wstring_view)> watcher;
  return watcher;
}

}  // namespace hooks
