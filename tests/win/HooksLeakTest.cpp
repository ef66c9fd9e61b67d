// Hooking and unhooking thousands of windows, in every way a hook can end,
// leaves the process's handles and memory where they were.
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <memory>

#include "hooks/CSubclass.h"
#include "hooks/HookLink.h"
#include "hooks/cFormSubclass.h"
#include "tests/win/HookProbes.h"
#include "tests/win/ProcessMemory.h"
#include "win/UniqueHandle.h"

namespace {

constexpr wchar_t kLeakClass[] = L"VelmoraHooksLeak";
constexpr UINT kProbe = WM_APP + 1;

LRESULT CALLBACK LeakProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kProbe) return 5;
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Wine answers 0 for the process's handle count, GUI object counts and private
// bytes, so the test also counts for itself: the bytes in use in every heap of
// the process, the private memory committed in its address space, the value the
// next kernel handle gets (handles are numbered lowest-free-first, so leaked ones
// push it up), and the windows of this thread.
struct Figures {
  DWORD handleCount = 0;
  DWORD userObjects = 0;
  DWORD gdiObjects = 0;
  SIZE_T pagefileUsage = 0;
  SIZE_T heapBytes = 0;
  SIZE_T committedBytes = 0;
  ULONG_PTR nextHandle = 0;
  int windows = 0;
  std::size_t hooks = 0;
};

ULONG_PTR NextHandleValue() {
  HANDLE probe = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
  ::CloseHandle(probe);
  return reinterpret_cast<ULONG_PTR>(probe);
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int ThreadWindows() {
  int count = 0;
  ::EnumThreadWindows(::GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

Figures Measure(HWND parent) {
  Figures f;
  HANDLE self = ::GetCurrentProcess();
  ::GetProcessHandleCount(self, &f.handleCount);
  f.userObjects = ::GetGuiResources(self, GR_USEROBJECTS);
  f.gdiObjects = ::GetGuiResources(self, GR_GDIOBJECTS);
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  if (::GetProcessMemoryInfo(self, &pmc, sizeof pmc)) f.pagefileUsage = pmc.PagefileUsage;
  f.heapBytes = testmemory::HeapBytesInUse();
  f.committedBytes = testmemory::CommittedPrivateBytes();
  f.nextHandle = NextHandleValue();
  f.windows = ThreadWindows();
  ::EnumChildWindows(parent, &CountWindow, reinterpret_cast<LPARAM>(&f.windows));
  f.hooks = hooks::detail::HookLinkProbe::Live();
  return f;
}

void Print(const char* label, const Figures& f) {
  std::printf(
      "%-7s system: handles=%lu user=%lu gdi=%lu pagefile=%lu KB | counted: heap=%lu B committed=%lu KB "
      "next-handle=0x%lx windows=%d hooks=%lu\n",
      label, static_cast<unsigned long>(f.handleCount), static_cast<unsigned long>(f.userObjects),
      static_cast<unsigned long>(f.gdiObjects), static_cast<unsigned long>(f.pagefileUsage / 1024),
      static_cast<unsigned long>(f.heapBytes), static_cast<unsigned long>(f.committedBytes / 1024),
      static_cast<unsigned long>(f.nextHandle), f.windows, static_cast<unsigned long>(f.hooks));
}

long Growth(SIZE_T before, SIZE_T after) { return static_cast<long>(after) - static_cast<long>(before); }

class Churn {
 public:
  Churn() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &LeakProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kLeakClass;
    ::RegisterClassExW(&wc);
    parent_.reset(::CreateWindowExW(0, kLeakClass, L"parent", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                    wc.hInstance, nullptr));
    subclass_.WindowProc.Bind(
        [this](bool, bool&, LRESULT& lReturn, HWND, UINT msg, WPARAM, LPARAM, LONG_PTR&) {
          if (msg != kProbe) return;
          ++routed;
          ++lReturn;  // 5 from the window, 6 after this
        });
    form_.MsgCome.Bind([this](bool, bool&, LRESULT&, HWND&, UINT& msg, WPARAM&, LPARAM&) {
      if (msg == kProbe) ++routed;
    });
  }

  // Every way a hook can end, in turn: unhooked by its owner, ended by its
  // window, two services on one window, and a service object that ends.
  void Run(int windows) {
    for (int i = 0; i < windows; ++i) {
      HWND child = ::CreateWindowExW(0, kLeakClass, L"", WS_CHILD, 0, 0, 10, 10, parent_.get(), nullptr,
                                     ::GetModuleHandleW(nullptr), nullptr);
      if (!child) {
        ++failures;
        continue;
      }
      if (!subclass_.ssc_Subclass(child, i)) ++failures;
      subclass_.ssc_AddMsg(child, kProbe, hooks::MSG_AFTER);
      switch (i % 4) {
        case 0:
          if (::SendMessageW(child, kProbe, 0, 0) != 6) ++failures;
          subclass_.ssc_UnSubclass(child);
          break;
        case 1:
          if (::SendMessageW(child, kProbe, 0, 0) != 6) ++failures;
          break;
        case 2:
          if (!form_.AddWindowMsgs(child)) ++failures;
          if (::SendMessageW(child, kProbe, 0, 0) != 6) ++failures;
          break;
        case 3: {
          auto passing = std::make_unique<hooks::cFormSubclass>();
          passing->MsgCome.Bind([this](bool, bool&, LRESULT&, HWND&, UINT& msg, WPARAM&, LPARAM&) {
            if (msg == kProbe) ++routed;
          });
          if (!passing->AddWindowMsgs(child)) ++failures;
          if (::SendMessageW(child, kProbe, 0, 0) != 6) ++failures;
          passing.reset();
          subclass_.ssc_UnSubclass(child);
          break;
        }
      }
      ::DestroyWindow(child);
    }
  }

  HWND parent() const { return parent_.get(); }
  int routed = 0;
  int failures = 0;

 private:
  win::UniqueHwnd parent_;
  hooks::CSubclass subclass_;
  hooks::cFormSubclass form_;
};

}  // namespace

TEST(HooksLeak, TenThousandWindowsHookedAndUnhookedLeaveHandlesAndMemoryFlat) {
  const std::size_t hooksAtStart = hooks::detail::HookLinkProbe::Live();
  Churn churn;
  churn.Run(1000);  // the allocators and the window system settle first
  const Figures before = Measure(churn.parent());
  Print("before", before);
  churn.routed = 0;
  churn.Run(10000);
  const Figures after = Measure(churn.parent());
  Print("after", after);
  std::printf("growth  heap=%ld B committed=%ld KB handles=%ld windows=%d\n", Growth(before.heapBytes, after.heapBytes),
              Growth(before.committedBytes, after.committedBytes) / 1024,
              Growth(before.nextHandle, after.nextHandle) / 4, after.windows - before.windows);

  EXPECT_EQ(churn.failures, 0);
  // The probe went through every hook: once per window, twice on the windows
  // that also had a form service.
  EXPECT_EQ(churn.routed, 10000 + 2500 + 2500);
  EXPECT_EQ(after.hooks, hooksAtStart);
  EXPECT_EQ(after.windows, before.windows);
  // A leaked hook record is over a hundred bytes: 10,000 of them would be
  // more than a megabyte; the bounds leave room for the allocators' own moves.
  EXPECT_LE(after.heapBytes, before.heapBytes + 256 * 1024);
  EXPECT_LE(after.committedBytes, before.committedBytes + 1024 * 1024);
  EXPECT_LE(after.nextHandle, before.nextHandle + 4 * 32);
  EXPECT_LE(after.handleCount, before.handleCount + 32);
  EXPECT_LE(after.userObjects, before.userObjects + 32);
  EXPECT_LE(after.gdiObjects, before.gdiObjects + 32);
}
