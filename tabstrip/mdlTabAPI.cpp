#include "tabstrip/mdlTabAPI.h"

#include <cstdint>
#include <utility>

#include "win/Error.h"
#include "win/UniqueHandle.h"

namespace tabstrip::mdlTabAPI {

namespace {

[[noreturn]] void Fail(const wchar_t* call) {
  const DWORD code = ::GetLastError();
  throw win::Win32Error(std::wstring(call) + L"调用失败", code);
}

}  // namespace

win::MemoryBitmapDC CreateMemDC(int width, int height) {
  win::ScopedGetDC screen(nullptr);
  if (!screen.get()) Fail(L"GetDC");
  win::UniqueHbitmap bitmap(::CreateCompatibleBitmap(screen, width, height));
  if (!bitmap) Fail(L"CreateCompatibleBitmap");
  win::MemoryBitmapDC memory;
  memory.Adopt(screen, bitmap.release());
  if (!memory.dc()) Fail(L"CreateCompatibleDC");
  return memory;
}

win::MemoryBitmapDC CreateBitmapDC(HBITMAP bitmap) {
  win::UniqueHbitmap owned(bitmap);
  win::ScopedGetDC screen(nullptr);
  if (!screen.get()) Fail(L"GetDC");
  win::MemoryBitmapDC memory;
  memory.Adopt(screen, owned.release());
  if (!memory.dc()) Fail(L"CreateCompatibleDC");
  return memory;
}

void DeleteMemDC(win::MemoryBitmapDC& dc) noexcept { dc.Release(); }

BOOL DrawSlices(HDC dest, int x, int y, int w, int h, HDC source, int sx, int sy, int sw, int sh, int left, int top,
                int right, int bottom, std::optional<COLORREF> transparent) {
  const win::MemoryBitmapDC buffer = StretchSlices(w, h, source, sx, sy, sw, sh, left, top, right, bottom);
  if (!buffer) return 0;
  if (transparent) return TransparentCopy(dest, x, y, w, h, buffer.dc(), 0, 0, *transparent) ? TRUE : FALSE;
  return ::BitBlt(dest, x, y, w, h, buffer.dc(), 0, 0, SRCCOPY);
}

win::MemoryBitmapDC StretchSlices(int w, int h, HDC source, int sx, int sy, int sw, int sh, int left, int top,
                                  int right, int bottom) {
  // Nothing to draw into or from (a tab squeezed to no width on a narrow strip).
  if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return {};
  win::MemoryBitmapDC buffer = CreateMemDC(w, h);
  HDC b = buffer.dc();
  ::SetStretchBltMode(b, HALFTONE);
  const int L = left, T = top, R = right, B = bottom;
  if (L <= 0 && T <= 0 && R <= 0 && B <= 0) {
    ::StretchBlt(b, 0, 0, w, h, source, sx, sy, sw, sh, SRCCOPY);
  } else {
    // Corners one to one, then the four bands and the centre stretched.
    if (L > 0 && T > 0) ::BitBlt(b, 0, 0, L, T, source, sx, sy, SRCCOPY);
    if (R > 0 && T > 0) ::BitBlt(b, w - R, 0, R, T, source, sx + sw - R, sy, SRCCOPY);
    if (L > 0 && B > 0) ::BitBlt(b, 0, h - B, L, B, source, sx, sy + sh - B, SRCCOPY);
    if (R > 0 && B > 0) ::BitBlt(b, w - R, h - B, R, B, source, sx + sw - R, sy + sh - B, SRCCOPY);
    if (L > 0) ::StretchBlt(b, 0, T, L, h - T - B, source, sx, sy + T, L, sh - T - B, SRCCOPY);
    if (R > 0) ::StretchBlt(b, w - R, T, R, h - T - B, source, sx + sw - R, sy + T, R, sh - T - B, SRCCOPY);
    if (T > 0) ::StretchBlt(b, L, 0, w - L - R, T, source, sx + L, sy, sw - L - R, T, SRCCOPY);
    if (B > 0) ::StretchBlt(b, L, h - B, w - L - R, B, source, sx + L, sy + sh - B, sw - L - R, B, SRCCOPY);
    ::StretchBlt(b, L, T, w - L - R, h - T - B, source, sx + L, sy + T, sw - L - R, sh - T - B, SRCCOPY);
  }
  return buffer;
}

bool TransparentCopy(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, COLORREF colour) {
  return ::GdiTransparentBlt(dest, x, y, width, height, source, sx, sy, width, height, colour) != FALSE;
}

KeyedPicture KeyOut(HDC source, int sx, int sy, int width, int height, COLORREF colour) {
  KeyedPicture keyed;
  keyed.width = width;
  keyed.height = height;
  keyed.picture = CreateMemDC(width, height);
  keyed.mask = CreateMemDC(width, height);
  // A copy to one bit per pixel sets exactly the pixels of the source's
  // background colour; back to colour they become white, the rest black.
  win::MemoryBitmapDC bits;
  bits.Adopt(keyed.mask.dc(), ::CreateBitmap(width, height, 1, 1, nullptr));
  if (!bits) Fail(L"CreateBitmap");
  const COLORREF background = ::SetBkColor(source, colour);
  ::BitBlt(bits.dc(), 0, 0, width, height, source, sx, sy, SRCCOPY);
  ::SetBkColor(source, background);
  ::SetBkColor(keyed.mask.dc(), RGB(255, 255, 255));
  ::SetTextColor(keyed.mask.dc(), RGB(0, 0, 0));
  ::BitBlt(keyed.mask.dc(), 0, 0, width, height, bits.dc(), 0, 0, SRCCOPY);
  ::BitBlt(keyed.picture.dc(), 0, 0, width, height, source, sx, sy, SRCCOPY);
  constexpr DWORD kDestAndNotSource = 0x00220326;
  ::BitBlt(keyed.picture.dc(), 0, 0, width, height, keyed.mask.dc(), 0, 0, kDestAndNotSource);
  return keyed;
}

void DrawKeyed(HDC dest, int x, int y, const KeyedPicture& keyed) {
  ::BitBlt(dest, x, y, keyed.width, keyed.height, keyed.mask.dc(), 0, 0, SRCAND);
  ::BitBlt(dest, x, y, keyed.width, keyed.height, keyed.picture.dc(), 0, 0, SRCPAINT);
}

bool ShowsEverywhere(const KeyedPicture& keyed, int x0, int y0, int x1, int y1) {
  if (x0 < 0 || y0 < 0 || x1 > keyed.width || y1 > keyed.height || !keyed.mask) return false;
  if (x0 >= x1 || y0 >= y1) return true;
  // The mask read back through a DIB section of known layout: 32 bits a
  // pixel, top row first.
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), keyed.width, -keyed.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  win::MemoryBitmapDC reader;
  reader.Adopt(keyed.mask.dc(), ::CreateDIBSection(keyed.mask.dc(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!reader || !bits) return false;
  ::BitBlt(reader.dc(), 0, 0, keyed.width, keyed.height, keyed.mask.dc(), 0, 0, SRCCOPY);
  ::GdiFlush();
  const auto* mask = static_cast<const std::uint32_t*>(bits);
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      if (mask[static_cast<std::size_t>(y) * static_cast<std::size_t>(keyed.width) + static_cast<std::size_t>(x)] &
          0xFFFFFF)
        return false;
  return true;
}

int DrawTextInBox(HDC dc, std::wstring_view text, int x, int y, int width, int height, UINT format) {
  RECT box{x, y, x + width, y + height};
  return ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &box, format);
}

bool ModifyWindowStyle(HWND hwnd, int index, LONG_PTR clear, LONG_PTR set, UINT positionFlags) {
  const LONG_PTR old = ::GetWindowLongPtrW(hwnd, index);
  const LONG_PTR updated = (old & ~clear) | set;
  if (updated != old) {
    ::SetWindowLongPtrW(hwnd, index, updated);
    if (positionFlags != 0) {
      ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     positionFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  return false;
}

}  // namespace tabstrip::mdlTabAPI
