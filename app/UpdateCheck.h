#pragma once

namespace app {

// Compares the client's version with the operator's manifest and offers the
// updater. `startUp` is true for the check run before the splash appears.
void CheckUpdate(bool startUp);

}  // namespace app
