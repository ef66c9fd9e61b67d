#include "win/Automation.h"

namespace win {

std::wstring VariantText(const VARIANT& v) {
  if (v.vt == (VT_BYREF | VT_VARIANT) && v.pvarVal) return VariantText(*v.pvarVal);
  if (v.vt == VT_BSTR) return v.bstrVal ? std::wstring(v.bstrVal, ::SysStringLen(v.bstrVal)) : std::wstring();
  if (v.vt == (VT_BYREF | VT_BSTR) && v.pbstrVal && *v.pbstrVal) {
    return std::wstring(*v.pbstrVal, ::SysStringLen(*v.pbstrVal));
  }
  Variant copy;
  std::wstring text;
  if (SUCCEEDED(::VariantChangeType(copy.get(), const_cast<VARIANT*>(&v), 0, VT_BSTR)) && (*copy).bstrVal) {
    text.assign((*copy).bstrVal, ::SysStringLen((*copy).bstrVal));
  }
  return text;
}

long VariantLong(const VARIANT& v) {
  if (v.vt == (VT_BYREF | VT_VARIANT) && v.pvarVal) return VariantLong(*v.pvarVal);
  if (v.vt == VT_I4) return v.lVal;
  if (v.vt == (VT_BYREF | VT_I4) && v.plVal) return *v.plVal;
  Variant copy;
  if (SUCCEEDED(::VariantChangeType(copy.get(), const_cast<VARIANT*>(&v), 0, VT_I4))) return (*copy).lVal;
  return 0;
}

bool VariantBool(const VARIANT& v) {
  if (v.vt == (VT_BYREF | VT_VARIANT) && v.pvarVal) return VariantBool(*v.pvarVal);
  if (v.vt == (VT_BYREF | VT_BOOL) && v.pboolVal) return *v.pboolVal != VARIANT_FALSE;
  if (v.vt == VT_BOOL) return v.boolVal != VARIANT_FALSE;
  return false;
}

void SetVariantBool(VARIANT& v, bool value) {
  if (v.vt == (VT_BYREF | VT_VARIANT) && v.pvarVal) {
    SetVariantBool(*v.pvarVal, value);
  } else if (v.vt == (VT_BYREF | VT_BOOL) && v.pboolVal) {
    *v.pboolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  } else if (v.vt == VT_BOOL) {
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  }
}

}  // namespace win
