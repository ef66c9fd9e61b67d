#include "win/Crypto.h"

#include <vector>

#include "win/SystemLibrary.h"

namespace win {

namespace {
// The system's cryptography, from the system folder.
struct BCryptFunctions {
  decltype(&::BCryptOpenAlgorithmProvider) open = VELMORA_SYSTEM_FUNCTION(L"bcrypt.dll", BCryptOpenAlgorithmProvider);
  decltype(&::BCryptCloseAlgorithmProvider) close =
      VELMORA_SYSTEM_FUNCTION(L"bcrypt.dll", BCryptCloseAlgorithmProvider);
  decltype(&::BCryptCreateHash) createHash = VELMORA_SYSTEM_FUNCTION(L"bcrypt.dll", BCryptCreateHash);
  decltype(&::BCryptHashData) hashData = VELMORA_SYSTEM_FUNCTION(L"bcrypt.dll", BCryptHashData);
  decltype(&::BCryptFinishHash) finishHash = VELMORA_SYSTEM_FUNCTION(L"bcrypt.dll", BCryptFinishHash);
  decltype(&::BCryptDestroyHash) destroyHash = VELMORA_SYSTEM_FUNCTION(L"bcrypt.dll", BCryptDestroyHash);
  decltype(&::BCryptImportKeyPair) importKeyPair = VELMORA_SYSTEM_FUNCTION(L"bcrypt.dll", BCryptImportKeyPair);
  decltype(&::BCryptVerifySignature) verifySignature =
      VELMORA_SYSTEM_FUNCTION(L"bcrypt.dll", BCryptVerifySignature);
  decltype(&::BCryptDestroyKey) destroyKey = VELMORA_SYSTEM_FUNCTION(L"bcrypt.dll", BCryptDestroyKey);

  bool ok() const {
    return open && close && createHash && hashData && finishHash && destroyHash && importKeyPair && verifySignature &&
           destroyKey;
  }
};

// Null when the system lacks any of them: nothing then hashes or verifies.
const BCryptFunctions* BCrypt() {
  static const BCryptFunctions functions;
  return functions.ok() ? &functions : nullptr;
}
}  // namespace

Sha256::Sha256() {
  const BCryptFunctions* bcrypt = BCrypt();
  if (bcrypt && BCRYPT_SUCCESS(bcrypt->open(&algorithm_, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) {
    if (!BCRYPT_SUCCESS(bcrypt->createHash(algorithm_, &hash_, nullptr, 0, nullptr, 0, 0))) hash_ = nullptr;
  }
}

Sha256::~Sha256() {
  if (hash_) BCrypt()->destroyHash(hash_);
  if (algorithm_) BCrypt()->close(algorithm_, 0);
}

void Sha256::Add(std::span<const std::uint8_t> bytes) {
  if (hash_ && !bytes.empty()) {
    BCrypt()->hashData(hash_, const_cast<PUCHAR>(bytes.data()), static_cast<ULONG>(bytes.size()), 0);
  }
}

std::array<std::uint8_t, 32> Sha256::Finish() {
  std::array<std::uint8_t, 32> digest{};
  if (hash_) BCrypt()->finishHash(hash_, digest.data(), static_cast<ULONG>(digest.size()), 0);
  return digest;
}

std::array<std::uint8_t, 32> Sha256::Of(std::string_view text) {
  Sha256 hash;
  hash.Add({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  return hash.Finish();
}

bool VerifySignature(std::span<const std::uint8_t> publicKey, std::string_view text,
                     std::span<const std::uint8_t, 64> signature) {
  const BCryptFunctions* bcrypt = BCrypt();
  if (!bcrypt || publicKey.size() != 64) return false;
  std::vector<std::uint8_t> blob(sizeof(BCRYPT_ECCKEY_BLOB) + 64);
  auto* header = reinterpret_cast<BCRYPT_ECCKEY_BLOB*>(blob.data());
  header->dwMagic = BCRYPT_ECDSA_PUBLIC_P256_MAGIC;
  header->cbKey = 32;
  std::copy(publicKey.begin(), publicKey.end(), blob.begin() + sizeof(BCRYPT_ECCKEY_BLOB));
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  if (!BCRYPT_SUCCESS(bcrypt->open(&algorithm, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0))) return false;
  BCRYPT_KEY_HANDLE key = nullptr;
  bool good = false;
  if (BCRYPT_SUCCESS(bcrypt->importKeyPair(algorithm, nullptr, BCRYPT_ECCPUBLIC_BLOB, &key, blob.data(),
                                           static_cast<ULONG>(blob.size()), 0))) {
    auto digest = Sha256::Of(text);
    good = bcrypt->verifySignature(key, nullptr, digest.data(), static_cast<ULONG>(digest.size()),
                                   const_cast<PUCHAR>(signature.data()), 64, 0) == 0;
    bcrypt->destroyKey(key);
  }
  bcrypt->close(algorithm, 0);
  return good;
}

}  // namespace win
