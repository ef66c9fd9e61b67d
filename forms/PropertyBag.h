// The stored design properties of a control: name -> text, with a default for
// every read. A holder keeps one bag per control it holds.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace forms {

class PropertyBag {
 public:
  std::wstring ReadString(std::wstring_view name, std::wstring_view fallback) const;
  std::int32_t ReadInt(std::wstring_view name, std::int32_t fallback) const;
  bool ReadBool(std::wstring_view name, bool fallback) const;

  void Write(std::wstring_view name, std::wstring_view value);
  // A text literal is text (without this it would be taken for a truth value).
  void Write(std::wstring_view name, const wchar_t* value) { Write(name, std::wstring_view(value ? value : L"")); }
  void Write(std::wstring_view name, std::int32_t value);
  void Write(std::wstring_view name, bool value);

  bool Has(std::wstring_view name) const;
  std::size_t size() const { return values_.size(); }

 private:
  std::map<std::wstring, std::wstring, std::less<>> values_;
};

}  // namespace forms
