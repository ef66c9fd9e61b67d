// The stand-in's log: while VELMORA_TEST_BROWSER_LOG names a file (a Windows
// path, or a Unix one taken through drive Z:), one JSON object a line, in
// UTF-8, appended and written through at once, so that several objects and
// processes can share the file. Each line says what it is by its first key:
//   "call":  a method of the stand-in was called ("interface", its arguments
//            by name, "result" as an unsigned 32-bit number);
//   "site":  the stand-in called its host ("interface", "result");
//   "event": the stand-in raises an event, written before any sink hears it;
//            an event whose sinks answer (Cancel, Processed, a window given
//            back) is written once they have run, with "returned": true and
//            the answer ("cancel", "processed", "ppDisp"), and announced
//            before they run by a line "raise" with the fields it had then.
// Every line ends with "control" (the object's number in its process, 0 for
// the module), "pid" and "depth": how many of the stand-in's events were
// being raised when it was written (0 outside any).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace testbrowser {

// The events being raised now, by every control of the process.
int& EventDepth();

class LogLine {
 public:
  LogLine(const char* kind, std::string_view name, unsigned control, const char* interfaceName = nullptr);
  LogLine(const LogLine&) = delete;
  LogLine& operator=(const LogLine&) = delete;
  ~LogLine() { Write(); }

  LogLine& Text(const char* key, std::wstring_view value);
  LogLine& Ascii(const char* key, std::string_view value);
  LogLine& Number(const char* key, long long value);
  LogLine& Flag(const char* key, bool value);
  // null, or "set" for an object.
  LogLine& Object(const char* key, const void* object);
  LogLine& Guid(const char* key, REFGUID guid);
  // Adds "result" and writes the line; returns the result.
  HRESULT Result(HRESULT hr);
  // Writes the line once (later calls do nothing).
  void Write();
  // Writes what the line holds so far under another first key, leaving the line itself unwritten.
  void WriteAs(const char* kind);

 private:
  void Key(const char* key);
  void Emit(std::string text) const;
  std::string text_;
  unsigned control_;
  std::size_t kindLength_;
  bool written_ = false;
};

// Counts an event being raised for as long as it lives.
class EventScope {
 public:
  EventScope() { ++EventDepth(); }
  EventScope(const EventScope&) = delete;
  EventScope& operator=(const EventScope&) = delete;
  ~EventScope() { --EventDepth(); }
};

}  // namespace testbrowser
