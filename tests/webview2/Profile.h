// What the views of one environment share: its user-data folder (where the
// fake keeps its cache files) and the failures the test asked for when the
// environment was made.
#pragma once

#include <string>

#include "tests/webview2/Knobs.h"

namespace fakewebview2 {

struct Profile {
  std::wstring userDataFolder;
  Knobs knobs;
};

}  // namespace fakewebview2
