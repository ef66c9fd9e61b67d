// The system's cryptography (BCrypt, from the system folder), for the client's
// update check and the updater: SHA-256 over a stream of bytes and the check
// of an ECDSA P-256 signature.
#pragma once

#include <windows.h>
#include <bcrypt.h>

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace win {

class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;

  bool ok() const noexcept { return hash_ != nullptr; }
  void Add(std::span<const std::uint8_t> bytes);
  std::array<std::uint8_t, 32> Finish();

  static std::array<std::uint8_t, 32> Of(std::string_view text);

 private:
  BCRYPT_ALG_HANDLE algorithm_ = nullptr;
  BCRYPT_HASH_HANDLE hash_ = nullptr;
};

// True when `signature` (r then s) signs the SHA-256 of `text` under the
// public key X then Y (64 bytes).
bool VerifySignature(std::span<const std::uint8_t> publicKey, std::string_view text,
                     std::span<const std::uint8_t, 64> signature);

}  // namespace win
