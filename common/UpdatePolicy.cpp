#include "common/UpdatePolicy.h"

#include "common/KeyList.h"
#include "common/UpdateManifest.h"

namespace common {

namespace {
bool ReadDigits(std::string_view text, std::size_t at, std::size_t count, int& value) {
  if (at + count > text.size()) return false;
  value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = static_cast<int>(y - era * 400);
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

int DaysInMonth(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : kDays[m - 1];
}
}  // namespace

std::optional<std::vector<std::uint32_t>> VersionNumbers(std::string_view text) {
  std::vector<std::uint32_t> numbers;
  std::size_t at = 0;
  for (;;) {
    const std::size_t end = text.find('.', at);
    const std::string_view field = text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
    if (field.empty() || field.size() > 9 || numbers.size() == 4) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : field) {
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + static_cast<std::uint32_t>(c - '0');
    }
    numbers.push_back(value);
    if (end == std::string_view::npos) return numbers;
    at = end + 1;
  }
}

int CompareVersions(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  for (std::size_t i = 0; i < a.size() || i < b.size(); ++i) {
    const std::uint32_t x = i < a.size() ? a[i] : 0, y = i < b.size() ? b[i] : 0;
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

std::optional<std::int64_t> ParseUtcTime(std::string_view t) {
  // YYYY-MM-DDTHH:MM:SSZ
  if (t.size() != 20 || t[4] != '-' || t[7] != '-' || t[10] != 'T' || t[13] != ':' || t[16] != ':' || t[19] != 'Z')
    return std::nullopt;
  int year, month, day, hour, minute, second;
  if (!ReadDigits(t, 0, 4, year) || !ReadDigits(t, 5, 2, month) || !ReadDigits(t, 8, 2, day) ||
      !ReadDigits(t, 11, 2, hour) || !ReadDigits(t, 14, 2, minute) || !ReadDigits(t, 17, 2, second))
    return std::nullopt;
  if (year < 1970 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
      minute > 59 || second > 59)
    return std::nullopt;
  return DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

namespace {
using Key = std::array<std::uint8_t, 64>;

// A field of the manifest, for the player: ASCII when it matters; anything else shows as '?'.
void AppendShown(std::wstring& text, std::string_view field) {
  for (const char c : field) text += (c >= 0x20 && c < 0x7F) ? static_cast<wchar_t>(c) : L'?';
}

// The key that is to have signed the manifest: from a key list the root
// signed and that is still valid, or (without a root key) the update key
// built in. False, with the verdict set, when there is none.
bool SigningKey(std::string_view text, const PackageManifest& manifest, std::int64_t now, const TrustedKeys& trusted,
                SignatureCheck check, Judgement& judgement, Key& key) {
  if (trusted.root.empty()) {
    if (HexInto(trusted.update, key)) return true;
    judgement.verdict = Verdict::NoTrustedKey;
    return false;
  }
  Key root;
  KeyList list;
  if (!HexInto(trusted.root, root)) {
    judgement.verdict = Verdict::NoTrustedKey;
  } else if (!ReadKeyList(text, list)) {
    judgement.verdict = Verdict::KeyListMissing;
  } else if (!check(root, KeyListSignedText(list), list.signature)) {
    judgement.verdict = Verdict::KeyListForged;
  } else if (const auto from = ParseUtcTime(list.signedAt), until = ParseUtcTime(list.expires);
             !from || !until || now >= *until) {
    judgement.verdict = Verdict::KeyListExpired;
    judgement.problem = list.expires;
  } else if (*until - *from > kMaxKeyListDays * 86400) {
    judgement.verdict = Verdict::KeyListTooLong;
  } else if (const ListedKey* listed = FindListedKey(list, manifest.signer); !listed) {
    judgement.verdict = Verdict::KeyNotListed;
    judgement.problem = manifest.signer;
  } else {
    key = listed->key;
    return true;
  }
  return false;
}
}  // namespace

Judgement JudgeManifest(std::string_view text, std::string_view installed, std::int64_t now,
                        const TrustedKeys& trusted, SignatureCheck check) {
  Judgement judgement;
  const auto offered = ManifestVersion(text);
  if (!offered) return judgement;
  judgement.offered = *offered;
  ManifestProblem problem;
  judgement.manifest = ReadPackageManifest(text, problem);
  if (!ManifestField(text, "signature")) {
    judgement.verdict = Verdict::Unsigned;
    return judgement;
  }
  if (!judgement.manifest) {
    judgement.verdict = Verdict::Incomplete;
    judgement.problem = problem.what;
    return judgement;
  }
  Key key;
  if (!SigningKey(text, *judgement.manifest, now, trusted, check, judgement, key)) return judgement;
  if (!check(key, SignedText(*judgement.manifest), judgement.manifest->signature)) {
    judgement.verdict = Verdict::UnknownKey;
  } else if (const auto expiry = ParseUtcTime(judgement.manifest->expires); !expiry || now >= *expiry) {
    judgement.verdict = Verdict::Expired;
  } else if (const auto mine = VersionNumbers(installed), theirs = VersionNumbers(*offered); !mine || !theirs) {
    judgement.verdict = Verdict::VersionUnreadable;
  } else {
    judgement.verdict = CompareVersions(*theirs, *mine) > 0 ? Verdict::Accept : Verdict::NotNewer;
  }
  return judgement;
}

std::wstring VerdictText(const Judgement& judgement, std::string_view installed) {
  // The words, with up to two fields of the manifest between them.
  const wchar_t *before = L"", *middle = L"", *after = L"";
  std::string_view first, second;
  switch (judgement.verdict) {
    case Verdict::Accept:
      before = L"可以更新到版本 ";
      first = judgement.offered;
      break;
    case Verdict::NoVersion:
      before = L"更新说明中没有版本号";
      break;
    case Verdict::Unsigned:
      before = L"更新说明没有签名";
      break;
    case Verdict::Incomplete:
      before = L"更新说明不完整：";
      first = judgement.problem;
      break;
    case Verdict::NoTrustedKey:
      before = L"此程序没有内置发布者的公钥，不接受任何更新";
      break;
    case Verdict::KeyListMissing:
      before = L"更新说明中没有可用的密钥列表";
      break;
    case Verdict::KeyListForged:
      before = L"密钥列表的签名无效：不是发布者的根密钥所签";
      break;
    case Verdict::KeyListExpired:
      before = L"密钥列表已过期（";
      first = judgement.problem;
      after = L"）";
      break;
    case Verdict::KeyListTooLong:
      before = L"密钥列表的有效期超过 90 天";
      break;
    case Verdict::KeyNotListed:
      before = L"更新说明的签名密钥“";
      first = judgement.problem;
      after = L"”不在密钥列表中（已撤销或从未列入）";
      break;
    case Verdict::UnknownKey:
      before = L"更新说明的签名无效：不是发布者的密钥所签";
      break;
    case Verdict::Expired:
      before = L"更新说明已过期（";
      if (judgement.manifest) first = judgement.manifest->expires;
      after = L"）";
      break;
    case Verdict::VersionUnreadable:
      before = L"无法比较版本（更新 ";
      first = judgement.offered;
      middle = L"，已安装 ";
      second = installed;
      after = L"）";
      break;
    case Verdict::NotNewer:
      before = L"更新的版本 ";
      first = judgement.offered;
      middle = L" 不比已安装的版本 ";
      second = installed;
      after = L" 新";
      break;
  }
  std::wstring text = before;
  AppendShown(text, first);
  text += middle;
  AppendShown(text, second);
  return text += after;
}

}  // namespace common
