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

UniqueHbitmap LoadBitmapResource(WORD id) {
  return UniqueHbitmap(static_cast<HBITMAP>(
      ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

UniqueHicon LoadIconFile(const std::wstring& path, int size) {
  return UniqueHicon(static_cast<HICON>(::LoadImageW(nullptr, path.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE)));
}

}  // namespace win
