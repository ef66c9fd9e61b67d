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

}  // namespace testmemory
