// Benchmark of the tab strip's painting, for scripts/bench (figures only):
//   - one full paint of a strip with 20 tabs (background, every frame, caption
//     and glyph, composed and copied to the screen), as a ratio to one plain
//     BitBlt of the strip's size to the screen, in the same run;
//   - how many block copies reach the screen while the strip answers one
//     WM_PAINT, counted by routing this program's BitBlt import through a
//     counter.
//
//     tabbench.exe [ROUNDS]
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "forms/PropertyBag.h"
#include "tabstrip/uTab.h"
#include "tests/win/PlainTabPage.h"

namespace {

using Page = testpages::PlainTabPage;

using BitBltFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, DWORD);
BitBltFn g_realBitBlt = nullptr;
int g_screenCopies = 0;

BOOL WINAPI CountingBitBlt(HDC dest, int x, int y, int w, int h, HDC source, int sx, int sy, DWORD rop) {
  if (::WindowFromDC(dest)) ++g_screenCopies;
  return g_realBitBlt(dest, x, y, w, h, source, sx, sy, rop);
}

// Points this module's import of gdi32's BitBlt at CountingBitBlt.
bool CountScreenCopies() {
  auto* base = reinterpret_cast<unsigned char*>(::GetModuleHandleW(nullptr));
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  void* real = reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"gdi32.dll"), "BitBlt"));
  for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
    for (auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk); thunk->u1.Function; ++thunk) {
      if (reinterpret_cast<void*>(thunk->u1.Function) != real) continue;
      DWORD old = 0;
      ::VirtualProtect(&thunk->u1.Function, sizeof(void*), PAGE_READWRITE, &old);
      g_realBitBlt = reinterpret_cast<BitBltFn>(real);
      thunk->u1.Function = reinterpret_cast<ULONG_PTR>(&CountingBitBlt);
      ::VirtualProtect(&thunk->u1.Function, sizeof(void*), old, &old);
      return true;
    }
  }
  return false;
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 1 ? _wtoi(argv[1]) : 300;
  HWND host = ::CreateWindowExW(0, L"STATIC", L"Velmora tab bench", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                1000, 200, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  HWND container = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 40, 1000, 160, host, nullptr,
                                     ::GetModuleHandleW(nullptr), nullptr);
  auto strip = std::make_unique<tabstrip::uTab>();
  forms::PropertyBag bag;
  bag.Write(L"TabStyle", 1);
  bag.Write(L"TabLeftSize", 10);
  bag.Write(L"TabRightSize", 0);
  if (!strip->Create(host, 0, 0, 1000, 32, bag)) return 1;
  strip->SethContainerWnd(container);
  strip->LockReDraw(false);
  for (int i = 0; i < 20; ++i) {
    const std::wstring caption = L"第" + std::to_wstring(i + 1) + L"服";
    strip->TabItems().Add(caption, std::make_shared<Page>(), caption);
  }
  strip->SetSelected(3);

  // A plain block copy of the strip's size to the same window, for scale.
  HDC screen = ::GetDC(strip->hWnd());
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 1000, 32);
  HGDIOBJ previous = ::SelectObject(memory, bitmap);
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i) ::BitBlt(screen, 0, 0, 1000, 32, memory, 0, 0, SRCCOPY);
  ::GdiFlush();
  const double blit = Seconds(std::chrono::steady_clock::now() - start) / rounds;
  ::SelectObject(memory, previous);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(strip->hWnd(), screen);

  start = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i) strip->refresh();
  ::GdiFlush();
  const double paint = Seconds(std::chrono::steady_clock::now() - start) / rounds;

  const bool counting = CountScreenCopies();
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
  g_screenCopies = 0;
  ::InvalidateRect(strip->hWnd(), nullptr, TRUE);
  ::UpdateWindow(strip->hWnd());

  std::printf("full paint of a 20-tab strip: %8.1f us   plain BitBlt of its size: %6.1f us   ratio %.1f\n",
              paint * 1e6, blit * 1e6, paint / blit);
  if (counting) {
    std::printf("screen copies while answering one WM_PAINT: %d\n", g_screenCopies);
  } else {
    std::printf("screen copies while answering one WM_PAINT: not counted (no BitBlt import found)\n");
  }
  strip.reset();
  ::DestroyWindow(host);
  return 0;
}
