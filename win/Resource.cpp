#include "win/Resource.h"

#include "win/Error.h"

namespace win {

std::wstring ResourceName(WORD id, const wchar_t* type) {
  std::wstring name = IS_INTRESOURCE(type) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(type))
                                           : std::wstring(type);
  return L"resource " + name + L" " + std::to_wstring(id);
}

std::span<const std::byte> ResourceBytes(WORD id, const wchar_t* type) {
  HMODULE module = ::GetModuleHandleW(nullptr);
  HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
  if (!info) ThrowLastError(L"Cannot find " + ResourceName(id, type));
  HGLOBAL data = ::LoadResource(module, info);
  const void* bytes = data ? ::LockResource(data) : nullptr;
  if (!bytes) ThrowLastError(L"Cannot load " + ResourceName(id, type));
  return {static_cast<const std::byte*>(bytes), ::SizeofResource(module, info)};
}

}  // namespace win
