// One HTTP or HTTPS download for the updater, fresh from the server (never
// the cache), bounded in time (each step, and the whole) and in size, handed
// over block by block.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace updater {

// The longest any step may take: connecting, the answer, one block.
inline constexpr unsigned kStepTimeoutMs = 30000;

// The whole download of `size` bytes, however its server drips them: as long
// as the size takes at 16 KiB/s, never less than two minutes.
constexpr std::uint32_t DownloadDeadlineMs(std::uint64_t size) {
  constexpr std::uint64_t kBytesPerSecond = 16 * 1024, kFloorMs = 120000, kMostMs = 0xFFFFFFFFu;
  const std::uint64_t ms = size / kBytesPerSecond * 1000 + (size % kBytesPerSecond * 1000 + kBytesPerSecond - 1) / kBytesPerSecond;
  return static_cast<std::uint32_t>(ms < kFloorMs ? kFloorMs : ms > kMostMs ? kMostMs : ms);
}

struct FetchBounds {
  std::uint64_t limit;       // more bytes than this fail the download
  std::uint32_t deadlineMs;  // the whole download
  const bool* cancel;        // set by a message handled meanwhile: the download ends at once, failed
};

// `sink` takes each block (false stops the download as failed). True when a
// 200 answer arrived whole; `error` says what went wrong otherwise.
bool Fetch(const std::wstring& url, const FetchBounds& bounds,
           const std::function<bool(std::span<const std::uint8_t>)>& sink, std::wstring& error);

}  // namespace updater
