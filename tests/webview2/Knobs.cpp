#include "tests/webview2/Knobs.h"

#include <cwchar>
#include <string>

namespace fakewebview2 {

namespace {

std::wstring Variable(const wchar_t* name) {
  wchar_t value[256];
  const DWORD n = ::GetEnvironmentVariableW(name, value, 256);
  return n > 0 && n < 256 ? std::wstring(value, n) : std::wstring();
}

// A whole number in `base`, nothing else.
std::optional<unsigned long> ParseNumber(std::wstring_view text, int base) {
  if (text.empty() || text.size() > 20) return std::nullopt;
  const std::wstring copy(text);
  wchar_t* end = nullptr;
  const unsigned long value = std::wcstoul(copy.c_str(), &end, base);
  if (end != copy.c_str() + copy.size() || copy[0] == L'-' || copy[0] == L'+') return std::nullopt;
  return value;
}

// "<first>[:<second>]"
std::pair<std::wstring_view, std::wstring_view> SplitColon(std::wstring_view text) {
  const std::size_t colon = text.find(L':');
  if (colon == std::wstring_view::npos) return {text, {}};
  return {text.substr(0, colon), text.substr(colon + 1)};
}

std::optional<HRESULT> ParseHresult(std::wstring_view text) {
  if (text.size() < 3 || text[0] != L'0' || (text[1] != L'x' && text[1] != L'X')) return std::nullopt;
  const auto value = ParseNumber(text.substr(2), 16);
  if (!value || *value > 0xFFFFFFFFul) return std::nullopt;
  return static_cast<HRESULT>(*value);
}

}  // namespace

std::optional<Failure> ParseFailure(std::wstring_view text) {
  const auto [code, count] = SplitColon(text);
  const auto error = ParseHresult(code);
  if (!error) return std::nullopt;
  Failure failure;
  failure.error = *error;
  if (text.find(L':') != std::wstring_view::npos) {
    const auto n = ParseNumber(count, 10);
    if (!n || *n == 0) return std::nullopt;
    failure.count = static_cast<unsigned>(*n);
  }
  return failure;
}

Knobs Knobs::FromEnvironment() {
  Knobs knobs;
  knobs.exportError = ParseHresult(Variable(L"VELMORA_TEST_WEBVIEW2_EXPORT"));
  if (auto f = ParseFailure(Variable(L"VELMORA_TEST_WEBVIEW2_ENVIRONMENT"))) knobs.environment = *f;
  if (auto f = ParseFailure(Variable(L"VELMORA_TEST_WEBVIEW2_CONTROLLER"))) knobs.controller = *f;
  const std::wstring failed = Variable(L"VELMORA_TEST_WEBVIEW2_PROCESS_FAILED");
  const auto [after, times] = SplitColon(failed);
  if (const auto k = ParseNumber(after, 10); k && *k > 0) {
    const auto n = failed.find(L':') == std::wstring::npos ? std::optional<unsigned long>(1) : ParseNumber(times, 10);
    if (n && *n > 0) {
      knobs.processFailedAfter = static_cast<unsigned>(*k);
      knobs.processFailedTimes = static_cast<unsigned>(*n);
    }
  }
  knobs.titleAfterCompletion = Variable(L"VELMORA_TEST_WEBVIEW2_TITLE") == L"after";
  return knobs;
}

}  // namespace fakewebview2
