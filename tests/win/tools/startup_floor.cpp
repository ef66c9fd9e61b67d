// What the client's start-up has to do before its splash can be seen, and
// nothing more: ask whether there is a network connection, fetch the update
// manifest, start GDI+, decode the splash picture, draw it into a layered
// window and show it. One thread, blocking calls, no login window, no checks.
// The start-up benchmark measures it beside the bare window and the client:
// the client can come no nearer to the bare window than this.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <wininet.h>

#include "common/UpdateLocation.h"
#include "resources/ResourceIds.h"
#include "BuildSettings.h"

namespace {

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

void FetchManifest() {
  wchar_t address[256];
  ::wsprintfW(address, L"%s%s", velmora::build::kUpdateBase, common::kUpdateManifestPath);
  HINTERNET session = ::InternetOpenW(L"StartupFloor", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  HINTERNET request = ::InternetOpenUrlW(session, address, nullptr, 0, INTERNET_FLAG_RELOAD, 0);
  char buffer[4096];
  DWORD got = 0;
  while (request && ::InternetReadFile(request, buffer, sizeof buffer, &got) && got) {
  }
  if (request) ::InternetCloseHandle(request);
  if (session) ::InternetCloseHandle(session);
}

Gdiplus::GpImage* SplashImage() {
  HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(res::kPngSplash), res::kTypePng);
  if (!found) return nullptr;
  const DWORD size = ::SizeofResource(nullptr, found);
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
  ::CopyMemory(::GlobalLock(block), ::LockResource(::LoadResource(nullptr, found)), size);
  ::GlobalUnlock(block);
  IStream* stream = nullptr;
  ::CreateStreamOnHGlobal(block, TRUE, &stream);
  Gdiplus::GpImage* image = nullptr;
  Gdiplus::DllExports::GdipLoadImageFromStream(stream, &image);
  return image;
}

}  // namespace

int wmain() {
  DWORD flags = 0;
  if (!::InternetGetConnectedState(&flags, 0)) return 2;
  FetchManifest();

  WNDCLASSW wc{};
  wc.lpfnWndProc = &Proc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"StartupFloor";
  ::RegisterClassW(&wc);
  HWND hwnd = ::CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, wc.lpszClassName, L"StartupFloor", WS_POPUP, 100,
                                100, 356, 122, nullptr, nullptr, wc.hInstance, nullptr);
  if (!hwnd) return 1;

  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  Gdiplus::GpImage* image = SplashImage();
  UINT width = 0, height = 0;
  Gdiplus::DllExports::GdipGetImageWidth(image, &width);
  Gdiplus::DllExports::GdipGetImageHeight(image, &height);
  HDC windowDc = ::GetDC(hwnd);
  HDC memory = ::CreateCompatibleDC(windowDc);
  ::SelectObject(memory, ::CreateCompatibleBitmap(windowDc, width, height));
  Gdiplus::GpGraphics* graphics = nullptr;
  Gdiplus::DllExports::GdipCreateFromHDC(memory, &graphics);
  Gdiplus::DllExports::GdipDrawImageRectI(graphics, image, 0, 0, width, height);
  SIZE size{static_cast<LONG>(width), static_cast<LONG>(height)};
  POINT source{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ::UpdateLayeredWindow(hwnd, windowDc, nullptr, &size, memory, &source, 0, &blend, ULW_ALPHA);
  ::ShowWindow(hwnd, SW_SHOW);

  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
