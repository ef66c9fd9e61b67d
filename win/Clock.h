// The system's clock as seconds since 1970-01-01 00:00 UTC, the unit the
// update manifest's expiry is read in.
#pragma once

#include <windows.h>

#include <cstdint>

namespace win {

inline std::int64_t UnixTimeNow() {
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  const std::uint64_t ticks = (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return static_cast<std::int64_t>(ticks / 10000000ull) - 11644473600ll;
}

}  // namespace win
