// The update check: the operator's manifest judged as the updater will judge
// it (common/UpdatePolicy.h). Only when it would be installed is the player
// asked; on Yes the updater (resource "UPDATE" 101) is written to the
// temporary folder and started with the client's location, and the client
// closes so that it can be replaced. Otherwise the start-up run goes on and
// logs why; the menu run says why (up to date, not fetched, expired,
// unsigned...). Run at start-up, before the splash, and from the program menu.
#pragma once

#include <windows.h>

#include "common/CYFDownLoadFile.h"

namespace common {

enum class UpdateRun { StartUp, Menu };

// `downloader` is the owner's (the start-up window's, or the main window's);
// `owner` the window whose boxes they are (modal to it), none at start-up.
// True when the updater has been started from the menu: the caller closes the
// client without asking, so that the updater can replace it. At start-up the
// program ends at once instead. An owner that closes while the download or a
// box is open ends the check: false, nothing more is asked or started. An
// updater that cannot be written or started is reported in a box, and the
// client goes on.
bool CheckUpdate(CYFDownLoadFile& downloader, UpdateRun run, HWND owner = nullptr);

}  // namespace common
