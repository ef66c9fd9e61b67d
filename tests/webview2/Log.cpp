#include "tests/webview2/Log.h"

#include <cstdio>

#include "tests/support/JsonLog.h"

namespace fakewebview2 {

LogLine::LogLine(const char* kind, std::string_view name, unsigned view, const char* interfaceName) : view_(view) {
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

LogLine& LogLine::Text(const char* key, const wchar_t* value) {
  if (!value) {
    Key(key);
    text_ += "null";
    return *this;
  }
  return Text(key, std::wstring_view(value));
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

LogLine& LogLine::Hresult(const char* key, HRESULT value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
  return Ascii(key, text);
}

LogLine& LogLine::Object(const char* key, const void* object) {
  Key(key);
  text_ += object ? "\"set\"" : "null";
  return *this;
}

HRESULT LogLine::Result(HRESULT hr) {
  Hresult("result", hr);
  Write();
  return hr;
}

void LogLine::Write() {
  if (written_) return;
  written_ = true;
  text_ += ",\"view\":" + std::to_string(view_);
  text_ += ",\"thread\":" + std::to_string(::GetCurrentThreadId());
  text_ += '}';
  testlog::AppendLine(L"VELMORA_TEST_WEBVIEW2_LOG", text_);
}

}  // namespace fakewebview2
