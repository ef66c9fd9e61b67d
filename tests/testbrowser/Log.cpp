#include "tests/testbrowser/Log.h"

#include <cstdio>
#include <cstring>

#include "GeneratedBases.h"
#include "win/UniqueHandle.h"

namespace testbrowser {

namespace {

// The log file VELMORA_TEST_BROWSER_LOG names now (opened again when the
// variable changes); null without one.
HANDLE LogFile() {
  static std::wstring openedFor;
  static win::UniqueFile file;
  wchar_t path[MAX_PATH + 2];
  const DWORD n = ::GetEnvironmentVariableW(L"VELMORA_TEST_BROWSER_LOG", path + 2, MAX_PATH);
  const std::wstring named = n > 0 && n < MAX_PATH ? std::wstring(path + 2, n) : std::wstring();
  if (named == openedFor) return file.get();
  openedFor = named;
  file.reset();
  if (named.empty()) return nullptr;
  std::wstring name = named;
  if (name[0] == L'/') {  // a Unix path: Wine's drive Z: is the Unix root
    name = L"Z:" + name;
    for (wchar_t& c : name) {
      if (c == L'/') c = L'\\';
    }
  }
  // Append-only: every write lands at the end, whoever else writes there.
  HANDLE h = ::CreateFileW(name.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h != INVALID_HANDLE_VALUE) file.reset(h);
  return file.get();
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

int& EventDepth() {
  static int depth = 0;
  return depth;
}

void AppendJsonString(std::string& out, std::wstring_view text) {
  out += '"';
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char16_t>(text[i]);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(text[++i]) - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
          out += escape;
        } else {
          AppendUtf8(out, c);
        }
    }
  }
  out += '"';
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
  AppendJsonString(text_, value);
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
  HANDLE file = LogFile();
  if (!file) return;
  text += ",\"control\":" + std::to_string(control_);
  text += ",\"pid\":" + std::to_string(::GetCurrentProcessId());
  text += ",\"depth\":" + std::to_string(EventDepth());
  text += "}\n";
  DWORD written = 0;
  ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void LogUnimplemented(const char* interfaceName, const char* method) {
  LogLine("call", method, 0).Ascii("interface", interfaceName).Flag("implemented", false).Result(E_NOTIMPL);
}

}  // namespace testbrowser
