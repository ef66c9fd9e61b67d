// What a process has in use, counted by the process itself: Wine answers 0
// for the system's own counts (GetGuiResources, private bytes), so the leak
// tests count heap bytes and committed private memory as well.
#pragma once

#include <windows.h>

namespace testmemory {

// The bytes in use in every heap of the process.
SIZE_T HeapBytesInUse();
// The private memory committed in the process's address space.
SIZE_T CommittedPrivateBytes();
// How far up the process's table of GDI handles new objects go: the highest
// slot that `probes` fresh objects take (slots are the low 16 bits of a GDI
// handle, and a freed slot is taken again before a new one). Leaked objects
// keep their slots, so they push it up; Wine keeps a leaked bitmap out of the
// process's own memory, where the other counts would not see it.
unsigned GdiHandleHighWater(int probes = 4000);

// What a process holds, taken before a churn and checked after it: the
// system's GUI object counts, the GDI handle table's high water, the heap
// bytes and the committed private memory (the last two with room for the
// allocators' own moves).
struct Footprint {
  DWORD gdiObjects = 0, userObjects = 0;
  unsigned gdiSlots = 0;
  SIZE_T heapBytes = 0, committedBytes = 0;
};
Footprint MeasureFootprint();
// Adds a test failure for each figure that grew past its room since `before`.
void ExpectNoGrowthSince(const Footprint& before);

}  // namespace testmemory
