// One HTTP or HTTPS download for the updater, fresh from the server (never
// the cache), bounded in time and in size, handed over block by block.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace updater {

inline constexpr unsigned kConnectTimeoutMs = 15000;
inline constexpr unsigned kReceiveTimeoutMs = 30000;

// `sink` takes each block (false stops the download as failed); more than
// `limit` bytes fail it. True when a 200 answer arrived whole; `error`
// says what went wrong otherwise.
bool Fetch(const std::wstring& url, std::uint64_t limit,
           const std::function<bool(std::span<const std::uint8_t>)>& sink, std::wstring& error);

}  // namespace updater
