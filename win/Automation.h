// Owners of the automation types a COM object hands out: a BSTR and a VARIANT
// are freed by their wrapper, never by hand; and the readers of a VARIANT
// argument however the caller passes it (by value or by reference).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>

namespace win {

class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(std::wstring_view text) : b_(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { ::SysFreeString(b_); }
  BSTR get() const { return b_; }
  // For out-parameters: frees what is held and exposes the slot.
  BSTR* put() {
    ::SysFreeString(b_);
    b_ = nullptr;
    return &b_;
  }
  std::wstring str() const { return b_ ? std::wstring(b_, ::SysStringLen(b_)) : std::wstring(); }

 private:
  BSTR b_ = nullptr;
};

class Variant {
 public:
  Variant() { ::VariantInit(&v_); }
  // A VT_BSTR holding a copy of `text`.
  explicit Variant(std::wstring_view text) : Variant() {
    v_.vt = VT_BSTR;
    v_.bstrVal = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { ::VariantClear(&v_); }
  VARIANT* get() { return &v_; }
  const VARIANT& operator*() const { return v_; }

 private:
  VARIANT v_;
};

// The value as text, a number or a boolean; what cannot be converted reads as
// "", 0 or false.
std::wstring VariantText(const VARIANT& v);
long VariantLong(const VARIANT& v);
bool VariantBool(const VARIANT& v);
// Writes a boolean into a VT_BOOL argument or the one it refers to.
void SetVariantBool(VARIANT& v, bool value);

}  // namespace win
