#include "tests/win/ProcessMemory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace testmemory {

SIZE_T HeapBytesInUse() {
  HANDLE heaps[256];
  const DWORD count = ::GetProcessHeaps(256, heaps);
  SIZE_T busy = 0;
  for (DWORD i = 0; i < count && i < 256; ++i) {
    if (!::HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (::HeapWalk(heaps[i], &entry)) {
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) busy += entry.cbData;
    }
    ::HeapUnlock(heaps[i]);
  }
  return busy;
}

SIZE_T CommittedPrivateBytes() {
  SIZE_T total = 0;
  MEMORY_BASIC_INFORMATION info;
  const char* at = nullptr;
  while (::VirtualQuery(at, &info, sizeof info) == sizeof info) {
    if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
    const char* next = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
    if (next <= at) break;
    at = next;
  }
  return total;
}

unsigned GdiHandleHighWater(int probes) {
  std::vector<HBRUSH> brushes;
  brushes.reserve(static_cast<std::size_t>(probes));
  unsigned highest = 0;
  for (int i = 0; i < probes; ++i) {
    HBRUSH brush = ::CreateSolidBrush(RGB(i & 0xFF, 0, 0));
    if (!brush) break;
    brushes.push_back(brush);
    highest = std::max(highest, static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(brush) & 0xFFFF));
  }
  for (HBRUSH brush : brushes) ::DeleteObject(brush);
  return highest;
}

Footprint MeasureFootprint() {
  HANDLE self = ::GetCurrentProcess();
  Footprint f;
  f.gdiObjects = ::GetGuiResources(self, GR_GDIOBJECTS);
  f.userObjects = ::GetGuiResources(self, GR_USEROBJECTS);
  f.gdiSlots = GdiHandleHighWater();
  f.heapBytes = HeapBytesInUse();
  f.committedBytes = CommittedPrivateBytes();
  return f;
}

void ExpectNoGrowthSince(const Footprint& before) {
  const Footprint after = MeasureFootprint();
  EXPECT_EQ(after.gdiObjects, before.gdiObjects);
  EXPECT_EQ(after.userObjects, before.userObjects);
  EXPECT_LE(after.gdiSlots, before.gdiSlots + 16) << "GDI objects were left behind";
  EXPECT_LE(after.heapBytes, before.heapBytes + 256 * 1024);
  EXPECT_LE(after.committedBytes, before.committedBytes + 1024 * 1024);
}

}  // namespace testmemory
