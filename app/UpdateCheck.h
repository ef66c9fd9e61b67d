// The update check: the client's version text against the version line of
// the operator's manifest. When they differ the player is asked; on Yes the
// updater (resource "UPDATE" 101) is written to the temporary folder and
// started with the client's location, and the client closes so that it can
// be replaced. Run at start-up, before the splash, and from the program menu.
#pragma once

#include "app/CYFDownLoadFile.h"

namespace app {

enum class UpdateRun { StartUp, Menu };

// `downloader` is the owner's (the start-up window's, or the main window's).
void CheckUpdate(CYFDownLoadFile& downloader, UpdateRun run);

}  // namespace app
