// The publisher check, with the system's own trust functions, taken from the
// system folder at run time (the updater imports neither library):
//
//   the client's publisher: the subject of the certificate of the first signer
//   of the signature embedded in the installed client (CryptQueryObject,
//   CMSG_SIGNER_CERT_INFO_PARAM, CertFindCertificateInStore). The client's own
//   signature is not judged: whoever could change the installed client needs
//   no update to run a program of their own.
//
//   the package: WinVerifyTrust with the Authenticode action (no user
//   interface, no revocation check), then the Authenticode chain policy once
//   more on the chain it built for the first signer, then that signer's
//   subject against the client's, byte for byte as encoded.
//
// On Windows WinVerifyTrust alone checks the digest of the image, the
// signature over it and the chain to a trusted root; the policy call repeats
// the last. Wine 8.0's WinVerifyTrust checks the digest (TRUST_E_BAD_DIGEST for
// one changed byte) and the signature (TRUST_E_CERT_SIGNATURE) but accepts a
// chain that ends at a root nobody trusts; the policy call on that chain
// answers CERT_E_UNTRUSTEDROOT there, as Windows does, and nothing once the
// root is among the machine's trusted roots. With it the check asks the same
// on both.
#include "updater/PackagePublisher.h"

#include <windows.h>
// After windows.h, in this order.
#include <wincrypt.h>
#include <wintrust.h>
#include <softpub.h>

#include <cstring>
#include <vector>

#include "win/SystemLibrary.h"

namespace updater {
namespace {

constexpr wchar_t kCrypt32[] = L"crypt32.dll";
constexpr wchar_t kWintrust[] = L"wintrust.dll";

template <typename Release>
struct Finally {
  Release release;
  ~Finally() { release(); }
};
template <typename Release>
Finally(Release) -> Finally<Release>;

enum class Signature { None, Read, Unreadable };

// The encoded subject of the certificate that signed `file` (its first signer).
Signature SignerSubject(const std::wstring& file, std::vector<BYTE>& subject) {
  const auto query = VELMORA_SYSTEM_FUNCTION(kCrypt32, CryptQueryObject);
  const auto getParam = VELMORA_SYSTEM_FUNCTION(kCrypt32, CryptMsgGetParam);
  const auto find = VELMORA_SYSTEM_FUNCTION(kCrypt32, CertFindCertificateInStore);
  const auto freeCertificate = VELMORA_SYSTEM_FUNCTION(kCrypt32, CertFreeCertificateContext);
  const auto closeStore = VELMORA_SYSTEM_FUNCTION(kCrypt32, CertCloseStore);
  const auto closeMessage = VELMORA_SYSTEM_FUNCTION(kCrypt32, CryptMsgClose);
  if (!query || !getParam || !find || !freeCertificate || !closeStore || !closeMessage) return Signature::Unreadable;

  HCERTSTORE store = nullptr;
  HCRYPTMSG message = nullptr;
  if (!query(CERT_QUERY_OBJECT_FILE, file.c_str(), CERT_QUERY_CONTENT_FLAG_PKCS7_SIGNED_EMBED,
             CERT_QUERY_FORMAT_FLAG_BINARY, 0, nullptr, nullptr, nullptr, &store, &message, nullptr)) {
    return ::GetLastError() == static_cast<DWORD>(CRYPT_E_NO_MATCH) ? Signature::None : Signature::Unreadable;
  }
  const Finally closeBoth{[&] {
    closeMessage(message);
    closeStore(store, 0);
  }};
  DWORD size = 0;
  if (!getParam(message, CMSG_SIGNER_CERT_INFO_PARAM, 0, nullptr, &size)) return Signature::Unreadable;
  std::vector<BYTE> signer(size);
  if (!getParam(message, CMSG_SIGNER_CERT_INFO_PARAM, 0, signer.data(), &size)) return Signature::Unreadable;
  const PCCERT_CONTEXT certificate =
      find(store, X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0, CERT_FIND_SUBJECT_CERT, signer.data(), nullptr);
  if (!certificate) return Signature::Unreadable;
  const CERT_NAME_BLOB& name = certificate->pCertInfo->Subject;
  subject.assign(name.pbData, name.pbData + name.cbData);
  freeCertificate(certificate);
  return Signature::Read;
}

// Null when `package` carries a valid Authenticode signature from
// `publisher`; otherwise why not. The texts are fixed: the updater is carried
// inside the client and kept small.
const wchar_t* JudgePackage(const std::wstring& package, const std::vector<BYTE>& publisher) {
  const auto verify = VELMORA_SYSTEM_FUNCTION(kWintrust, WinVerifyTrust);
  const auto stateData = VELMORA_SYSTEM_FUNCTION(kWintrust, WTHelperProvDataFromStateData);
  const auto signerOf = VELMORA_SYSTEM_FUNCTION(kWintrust, WTHelperGetProvSignerFromChain);
  const auto certificateOf = VELMORA_SYSTEM_FUNCTION(kWintrust, WTHelperGetProvCertFromChain);
  const auto policy = VELMORA_SYSTEM_FUNCTION(kCrypt32, CertVerifyCertificateChainPolicy);
  if (!verify || !stateData || !signerOf || !certificateOf || !policy) return L"无法使用系统的数字签名检查，拒绝安装。";

  WINTRUST_FILE_INFO file{};
  file.cbStruct = sizeof file;
  file.pcwszFilePath = package.c_str();
  WINTRUST_DATA trust{};
  trust.cbStruct = sizeof trust;
  trust.dwUIChoice = WTD_UI_NONE;
  trust.fdwRevocationChecks = WTD_REVOKE_NONE;
  trust.dwUnionChoice = WTD_CHOICE_FILE;
  trust.pFile = &file;
  trust.dwStateAction = WTD_STATEACTION_VERIFY;
  GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
  const HWND noWindow = static_cast<HWND>(INVALID_HANDLE_VALUE);
  const LONG verdict = verify(noWindow, &action, &trust);
  const Finally close{[&] {
    trust.dwStateAction = WTD_STATEACTION_CLOSE;
    verify(noWindow, &action, &trust);
  }};
  if (verdict == TRUST_E_NOSIGNATURE) return L"更新包没有数字签名，而当前客户端有，拒绝安装。";
  if (verdict != ERROR_SUCCESS) return L"更新包的数字签名无效，拒绝安装。";

  CRYPT_PROVIDER_DATA* data = stateData(trust.hWVTStateData);
  CRYPT_PROVIDER_SGNR* signer = data ? signerOf(data, 0, FALSE, 0) : nullptr;
  CRYPT_PROVIDER_CERT* certificate = signer ? certificateOf(signer, 0) : nullptr;
  if (!certificate || !certificate->pCert || !signer->pChainContext) return L"无法读取更新包的签名者，拒绝安装。";
  CERT_CHAIN_POLICY_PARA para{};
  para.cbSize = sizeof para;
  CERT_CHAIN_POLICY_STATUS status{};
  status.cbSize = sizeof status;
  if (!policy(CERT_CHAIN_POLICY_AUTHENTICODE, signer->pChainContext, &para, &status) || status.dwError != 0) {
    return L"更新包的签名证书不受信任，拒绝安装。";
  }
  const CERT_NAME_BLOB& subject = certificate->pCert->pCertInfo->Subject;
  if (subject.cbData != publisher.size() || std::memcmp(subject.pbData, publisher.data(), subject.cbData) != 0) {
    return L"更新包不是当前客户端的发布者所签，拒绝安装。";
  }
  return nullptr;
}

}  // namespace

bool SamePublisher(const std::wstring& client, const std::wstring& package, std::wstring& why) {
  std::vector<BYTE> publisher;
  const wchar_t* refusal = nullptr;
  switch (SignerSubject(client, publisher)) {
    case Signature::None:
      return true;  // an unsigned release: the update key alone decides
    case Signature::Unreadable:
      refusal = L"无法读取当前客户端的数字签名，拒绝安装。";
      break;
    case Signature::Read:
      refusal = JudgePackage(package, publisher);
      break;
  }
  if (refusal) why = refusal;
  return !refusal;
}

}  // namespace updater
