// One HTTP or HTTPS download for the updater, fresh from the server (never
// the cache), bounded in time (each step) and in size, handed over block by block.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace updater {

// The longest any step may take: connecting, the answer, one block.
inline constexpr unsigned kStepTimeoutMs = 30000;

// `sink` takes each block (false stops the download as failed); more than
// `limit` bytes fail it. True when a 200 answer arrived whole; `error`
// says what went wrong otherwise.
bool Fetch(const std::wstring& url, std::uint64_t limit,
           const std::function<bool(std::span<const std::uint8_t>)>& sink, std::wstring& error);

}  // namespace updater
