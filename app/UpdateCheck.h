#pragma once

namespace app {

// The update check, run before the splash appears (`startUp` true) and from
// the program menu. The client carries no updater program yet, so there is
// nothing it could offer: today the check does nothing and start-up goes on.
void CheckUpdate(bool startUp);

}  // namespace app
