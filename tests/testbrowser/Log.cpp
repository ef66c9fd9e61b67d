#include "tests/testbrowser/Log.h"

#include <cstring>

#include "GeneratedBases.h"
#include "tests/support/JsonLog.h"

namespace testbrowser {

int& EventDepth() {
  static int depth = 0;
  return depth;
}

LogLine::LogLine(const char* kind, std::string_view name, unsigned control, const char* interfaceName)
    : control_(control), kindLength_(std::strlen(kind)) {
  text_ = "{\"";
  text_ += kind;
  text_ += "\":\"";
  text_ += name;
  text_ += '"';
  if (interfaceName) Ascii("interface", interfaceName);
}

void LogLine::Key(const char* key) {
  text_ += ",\"";
  text_ += key;
  text_ += "\":";
}

LogLine& LogLine::Text(const char* key, std::wstring_view value) {
  Key(key);
  testlog::AppendJsonString(text_, value);
  return *this;
}

LogLine& LogLine::Ascii(const char* key, std::string_view value) {
  Key(key);
  text_ += '"';
  text_ += value;
  text_ += '"';
  return *this;
}

LogLine& LogLine::Number(const char* key, long long value) {
  Key(key);
  text_ += std::to_string(value);
  return *this;
}

LogLine& LogLine::Flag(const char* key, bool value) {
  Key(key);
  text_ += value ? "true" : "false";
  return *this;
}

LogLine& LogLine::Object(const char* key, const void* object) {
  Key(key);
  text_ += object ? "\"set\"" : "null";
  return *this;
}

LogLine& LogLine::Guid(const char* key, REFGUID guid) {
  wchar_t text[40] = {};
  ::StringFromGUID2(guid, text, 40);
  return Text(key, text);
}

HRESULT LogLine::Result(HRESULT hr) {
  Number("result", static_cast<unsigned long>(hr));
  Write();
  return hr;
}

void LogLine::Write() {
  if (written_) return;
  written_ = true;
  Emit(std::move(text_));
}

void LogLine::WriteAs(const char* kind) {
  Emit("{\"" + std::string(kind) + text_.substr(2 + kindLength_));
}

void LogLine::Emit(std::string text) const {
  text += ",\"control\":" + std::to_string(control_);
  text += ",\"pid\":" + std::to_string(::GetCurrentProcessId());
  text += ",\"depth\":" + std::to_string(EventDepth());
  text += '}';
  testlog::AppendLine(L"VELMORA_TEST_BROWSER_LOG", text);
}

void LogUnimplemented(const char* interfaceName, const char* method) {
  LogLine("call", method, 0).Ascii("interface", interfaceName).Flag("implemented", false).Result(E_NOTIMPL);
}

}  // namespace testbrowser
