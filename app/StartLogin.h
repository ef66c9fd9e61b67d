#pragma once

namespace app {

// Loads the login screen, hidden, and starts its page; the login window shows
// itself and closes the splash once the page has loaded.
void StartLogin();

}  // namespace app
