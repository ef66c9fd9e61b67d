#include "win/Resource.h"

#include <cstring>

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

UniqueHicon LoadIconResource(WORD id, int size) {
  const HMODULE self = ::GetModuleHandleW(nullptr);
  HRSRC found = ::FindResourceW(self, MAKEINTRESOURCEW(id), L"ICON");
  HGLOBAL loaded = found ? ::LoadResource(self, found) : nullptr;
  const auto* file = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
  const DWORD length = found ? ::SizeofResource(self, found) : 0;
  // The file's directory: a 6-byte header, then 16 bytes per image (width,
  // height, ..., bytes at 8, offset at 12); a width of 0 means 256.
  if (!file || length < 6) return {};
  const int count = file[4] | (file[5] << 8);
  const BYTE* chosen = nullptr;
  for (int i = 0; i < count && 6u + 16u * (i + 1) <= length; ++i) {
    const BYTE* entry = file + 6 + 16 * i;
    if (!chosen || (entry[0] ? entry[0] : 256) == size) chosen = entry;
    if ((entry[0] ? entry[0] : 256) == size) break;
  }
  if (!chosen) return {};
  DWORD bytes = 0, offset = 0;
  std::memcpy(&bytes, chosen + 8, 4);
  std::memcpy(&offset, chosen + 12, 4);
  if (offset > length || bytes > length - offset) return {};
  return UniqueHicon(::CreateIconFromResourceEx(const_cast<BYTE*>(file + offset), bytes, TRUE, 0x00030000, size,
                                                size, LR_DEFAULTCOLOR));
}

}  // namespace win
