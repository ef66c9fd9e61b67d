// The fake runtime's log: while VELMORA_TEST_WEBVIEW2_LOG names a file, one
// JSON object a line (tests/support/JsonLog.h), each saying what it is by its
// first key:
//   "call":     a method of the runtime was called, by its declared name,
//               with "interface", the arguments by their declared names, the
//               answer ("result", hex) and what it gave back;
//   "callback": the runtime calls the host: a handler interface's name or an
//               event's, with what it passes;
//   "event":    something the runtime did of its own (a window of its own,
//               a folder made, a script it does not understand).
// Every line ends with "view" (the view's number in its process, 0 for
// none) and "thread" (the calling thread's id). The methods of IUnknown are not
// written.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace fakewebview2 {

class LogLine {
 public:
  // `interfaceName` (for a call) becomes "interface".
  LogLine(const char* kind, std::string_view name, unsigned view = 0, const char* interfaceName = nullptr);
  LogLine(const LogLine&) = delete;
  LogLine& operator=(const LogLine&) = delete;
  ~LogLine() { Write(); }

  // A null string is written as null.
  LogLine& Text(const char* key, const wchar_t* value);
  LogLine& Text(const char* key, std::wstring_view value);
  LogLine& Ascii(const char* key, std::string_view value);
  LogLine& Number(const char* key, long long value);
  LogLine& Flag(const char* key, bool value);
  // "0x8007139F"
  LogLine& Hresult(const char* key, HRESULT value);
  // null, or "set" for an object.
  LogLine& Object(const char* key, const void* object);
  // Adds "result" and writes the line; returns the result.
  HRESULT Result(HRESULT hr);
  // Writes the line once (later calls do nothing).
  void Write();

 private:
  void Key(const char* key);
  std::string text_;
  unsigned view_;
  bool written_ = false;
};

}  // namespace fakewebview2
