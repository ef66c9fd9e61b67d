// The tests' view of what the hook service keeps to itself: friends of its
// classes that only the tests define.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <utility>

#include "hooks/ErrorLog.h"
#include "hooks/HookLink.h"

namespace hooks::detail {
struct HookLinkProbe {
  // Links installed or waiting to be released in this process.
  static std::size_t Live() { return HookLink::live_; }
};

struct ErrorLogProbe {
  // Sees every line the hook service logs; an empty function stops watching.
  static void Watch(std::function<void(std::wstring_view line)> watcher) {
    ErrorLogWatcher::Watcher() = std::move(watcher);
  }
};
}  // namespace hooks::detail
