#include "updater/Crypto.h"

#include <vector>

namespace updater {

Sha256::Sha256() {
  if (BCRYPT_SUCCESS(::BCryptOpenAlgorithmProvider(&algorithm_, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) {
    if (!BCRYPT_SUCCESS(::BCryptCreateHash(algorithm_, &hash_, nullptr, 0, nullptr, 0, 0))) hash_ = nullptr;
  }
}

Sha256::~Sha256() {
  if (hash_) ::BCryptDestroyHash(hash_);
  if (algorithm_) ::BCryptCloseAlgorithmProvider(algorithm_, 0);
}

void Sha256::Add(std::span<const std::uint8_t> bytes) {
  if (hash_ && !bytes.empty()) {
    ::BCryptHashData(hash_, const_cast<PUCHAR>(bytes.data()), static_cast<ULONG>(bytes.size()), 0);
  }
}

std::array<std::uint8_t, 32> Sha256::Finish() {
  std::array<std::uint8_t, 32> digest{};
  if (hash_) ::BCryptFinishHash(hash_, digest.data(), static_cast<ULONG>(digest.size()), 0);
  return digest;
}

std::array<std::uint8_t, 32> Sha256::Of(std::string_view text) {
  Sha256 hash;
  hash.Add({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  return hash.Finish();
}

bool VerifySignature(std::span<const std::uint8_t> publicKey, std::string_view text,
                     std::span<const std::uint8_t, 64> signature) {
  if (publicKey.size() != 64) return false;
  std::vector<std::uint8_t> blob(sizeof(BCRYPT_ECCKEY_BLOB) + 64);
  auto* header = reinterpret_cast<BCRYPT_ECCKEY_BLOB*>(blob.data());
  header->dwMagic = BCRYPT_ECDSA_PUBLIC_P256_MAGIC;
  header->cbKey = 32;
  std::copy(publicKey.begin(), publicKey.end(), blob.begin() + sizeof(BCRYPT_ECCKEY_BLOB));
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  if (!BCRYPT_SUCCESS(::BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0))) return false;
  BCRYPT_KEY_HANDLE key = nullptr;
  bool good = false;
  if (BCRYPT_SUCCESS(::BCryptImportKeyPair(algorithm, nullptr, BCRYPT_ECCPUBLIC_BLOB, &key, blob.data(),
                                           static_cast<ULONG>(blob.size()), 0))) {
    auto digest = Sha256::Of(text);
    good = ::BCryptVerifySignature(key, nullptr, digest.data(), static_cast<ULONG>(digest.size()),
                                   const_cast<PUCHAR>(signature.data()), 64, 0) == 0;
    ::BCryptDestroyKey(key);
  }
  ::BCryptCloseAlgorithmProvider(algorithm, 0);
  return good;
}

}  // namespace updater
