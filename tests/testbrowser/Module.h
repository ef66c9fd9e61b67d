// The DLL's own bookkeeping: objects alive and server locks, for DllCanUnloadNow.
#pragma once

namespace testbrowser {

void ObjectCreated();
void ObjectDestroyed();

}  // namespace testbrowser
