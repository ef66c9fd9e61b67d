#include "forms/PropertyBag.h"

#include <cerrno>
#include <cstdlib>
#include <cwchar>

namespace forms {

std::wstring PropertyBag::ReadString(std::wstring_view name, std::wstring_view fallback) const {
  auto it = values_.find(name);
  return it == values_.end() ? std::wstring(fallback) : it->second;
}

std::int32_t PropertyBag::ReadInt(std::wstring_view name, std::int32_t fallback) const {
  auto it = values_.find(name);
  if (it == values_.end() || it->second.empty()) return fallback;
  wchar_t* end = nullptr;
  errno = 0;
  long long v = std::wcstoll(it->second.c_str(), &end, 10);
  if (errno != 0 || *end != L'\0' || v < INT32_MIN || v > INT32_MAX) return fallback;
  return static_cast<std::int32_t>(v);
}

bool PropertyBag::ReadBool(std::wstring_view name, bool fallback) const {
  auto it = values_.find(name);
  if (it == values_.end()) return fallback;
  const std::wstring& v = it->second;
  if (v == L"-1" || v == L"1" || v == L"True" || v == L"true") return true;
  if (v == L"0" || v == L"False" || v == L"false") return false;
  return fallback;
}

void PropertyBag::Write(std::wstring_view name, std::wstring_view value) {
  values_.insert_or_assign(std::wstring(name), std::wstring(value));
}

void PropertyBag::Write(std::wstring_view name, std::int32_t value) { Write(name, std::to_wstring(value)); }

void PropertyBag::Write(std::wstring_view name, bool value) { Write(name, std::wstring_view(value ? L"-1" : L"0")); }

bool PropertyBag::Has(std::wstring_view name) const { return values_.find(name) != values_.end(); }

}  // namespace forms
