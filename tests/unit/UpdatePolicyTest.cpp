// The one judgement of a manifest (signed with the key built in or one its
// key list names, not expired, complete, newer), and the updater's target:
// the client's own file.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/KeyList.h"
#include "common/UpdatePolicy.h"
#include "updater/UpdaterArgument.h"

namespace common {
namespace {

constexpr std::int64_t kJan7th2027Noon = 1799323200;  // 2027-01-07T12:00:00Z

TEST(UpdatePolicy, VersionsCompareFieldByFieldAsNumbers) {
  auto compare = [](const char* a, const char* b) { return CompareVersions(*VersionNumbers(a), *VersionNumbers(b)); };
  EXPECT_GT(compare("1.10.0", "1.9.9"), 0) << "not as text";
  EXPECT_LT(compare("1.1.0", "1.1.1"), 0);
  EXPECT_EQ(compare("1.2", "1.2.0"), 0);
  EXPECT_EQ(compare("1.1.00", "1.1.0"), 0);
  EXPECT_GT(compare("2", "1.99.99.99"), 0);
  for (const char* bad : {"", "1..2", "1.2.", ".1", "1.2.3.4.5", "1.2a", "v1.2", " 1.2", "1234567890", "1.-2"})
    EXPECT_FALSE(VersionNumbers(bad)) << bad;
}

TEST(UpdatePolicy, ExpiryTimesAreReadInUtcAndImpossibleDatesAreNot) {
  EXPECT_EQ(ParseUtcTime("1970-01-01T00:00:00Z"), 0);
  EXPECT_EQ(ParseUtcTime("2027-01-07T12:00:00Z"), kJan7th2027Noon);
  EXPECT_EQ(*ParseUtcTime("2028-03-01T00:00:00Z") - *ParseUtcTime("2028-02-28T00:00:00Z"), 2 * 86400) << "leap year";
  EXPECT_TRUE(ParseUtcTime("2000-02-29T23:59:59Z"));
  for (const char* bad : {"2027-02-29T00:00:00Z", "2100-02-29T00:00:00Z", "2027-13-01T00:00:00Z", "2027-01-07T24:00:00Z",
                          "2027-01-07 12:00:00Z", "2027-01-07T12:00:00", "2027-01-07T12:00:00+08:00", "27-01-07T12:00:00Z",
                          "1969-12-31T23:59:59Z", ""})
    EXPECT_FALSE(ParseUtcTime(bad)) << bad;
}

// The operator's keys and the one signature each "makes" (64 bytes of the
// key's first byte): the check stands in for ECDSA, which the Wine tests and
// the update tests exercise for real. It remembers the texts it was asked about.
const std::string kKey(128, 'b'), kRoot(128, 'c');
std::vector<std::string> checkedTexts;
bool CheckSignature(std::span<const std::uint8_t> key, std::string_view text, std::span<const std::uint8_t, 64> sig) {
  checkedTexts.emplace_back(text);
  return key.size() == 64 && std::all_of(sig.begin(), sig.end(), [&](auto b) { return b == key[0]; });
}

std::string Repeat(const std::string& hex, std::size_t times = 64) {
  std::string out;
  for (std::size_t i = 0; i < times; ++i) out += hex;
  return out;
}

// A complete manifest, signed by the key `by` ("bb": the operator's), its
// signature line naming `signer` when given.
std::string Signed(const std::string& version, const std::string& expires = "2027-01-07T12:00:00Z",
                   const std::string& by = "bb", const std::string& signer = "") {
  return "version=" + version + "\r\npackage=http://h/V.exe\r\nsize=10\r\nsha256=" + std::string(64, 'a') +
         "\r\nexpires=" + expires + "\r\nsignature=" + (signer.empty() ? "" : signer + ":") + Repeat(by) + "\r\n";
}

Verdict Judge(const std::string& text, const char* installed = "1.1.0", std::int64_t now = kJan7th2027Noon - 1,
              const std::string& key = kKey) {
  return JudgeManifest(text, installed, now, {"", key}, &CheckSignature).verdict;
}

TEST(UpdatePolicy, OnlyANewerVersionSignedWithTheKeyBuiltInBeforeItsExpiryIsAccepted) {
  const Judgement accepted = JudgeManifest(Signed("1.1.1"), "1.1.0", kJan7th2027Noon - 1, {"", kKey}, &CheckSignature);
  ASSERT_EQ(accepted.verdict, Verdict::Accept);
  EXPECT_EQ(accepted.manifest->package, "http://h/V.exe");
  EXPECT_EQ(checkedTexts.back(), SignedText(*accepted.manifest)) << "the signature is checked over the fields";
  EXPECT_EQ(Judge(Signed("1.10.0"), "1.9.9"), Verdict::Accept) << "numbers, not text";
  EXPECT_EQ(Judge(Signed("1.1.0")), Verdict::NotNewer) << "the same version";
  EXPECT_EQ(Judge(Signed("1.1.00")), Verdict::NotNewer) << "the same version, written otherwise";
  EXPECT_EQ(Judge(Signed("1.1")), Verdict::NotNewer);
  EXPECT_EQ(Judge(Signed("1.0.9")), Verdict::NotNewer) << "a rollback";
  EXPECT_EQ(Judge(Signed("1.1.1"), "1.1.0", kJan7th2027Noon), Verdict::Expired) << "expired at its second";
  EXPECT_EQ(Judge(Signed("1.1.1", "2027-02-30T00:00:00Z")), Verdict::Expired) << "an expiry that cannot be read";
  EXPECT_EQ(Judge(Signed("1.1.1-beta")), Verdict::VersionUnreadable);
  EXPECT_EQ(Judge(Signed("1.1.1"), ""), Verdict::VersionUnreadable) << "no running version read";
}

TEST(UpdatePolicy, AManifestThatIsNotGenuineAndFreshSaysNothingAboutTheVersion) {
  EXPECT_EQ(Judge("size=3\r\n"), Verdict::NoVersion);
  EXPECT_EQ(Judge("version=1.1.0\r\n"), Verdict::Unsigned) << "not even that the client is up to date";
  EXPECT_EQ(Judge("version=9.9.9\r\n"), Verdict::Unsigned);
  std::string noSize = Signed("1.2.0");
  noSize.erase(noSize.find("size="), 9);
  const Judgement incomplete = JudgeManifest(noSize, "1.1.0", 0, {"", kKey}, &CheckSignature);
  EXPECT_EQ(incomplete.verdict, Verdict::Incomplete);
  EXPECT_NE(VerdictText(incomplete, "1.1.0").find(L"size"), std::wstring::npos);
  EXPECT_EQ(Judge(Signed("1.2.0", "2027-01-07T12:00:00Z", "00")), Verdict::UnknownKey);
  EXPECT_EQ(Judge(Signed("1.2.0"), "1.1.0", 0, std::string(128, 'c')), Verdict::UnknownKey) << "another key built in";
  EXPECT_EQ(Judge(Signed("1.2.0"), "1.1.0", 0, ""), Verdict::NoTrustedKey) << "a release built without a key";
  EXPECT_EQ(Judge(Signed("1.2.0"), "1.1.0", 0, kKey.substr(2)), Verdict::NoTrustedKey);
  // A genuine manifest of the running version still expires: a frozen host shows.
  EXPECT_EQ(Judge(Signed("1.1.0"), "1.1.0", kJan7th2027Noon + 1), Verdict::Expired);
  EXPECT_EQ(Judge(Signed("1.1.0", "2027-01-07T12:00:00Z", "00"), "1.1.0"), Verdict::UnknownKey);
}

TEST(UpdatePolicy, EachVerdictNamesItsReason) {
  auto text = [](const std::string& manifest, std::int64_t now = 0) {
    return VerdictText(JudgeManifest(manifest, "1.1.0", now, {"", kKey}, &CheckSignature), "1.1.0");
  };
  EXPECT_EQ(text(Signed("1.0.0")), L"更新的版本 1.0.0 不比已安装的版本 1.1.0 新");
  EXPECT_EQ(text(Signed("1.2.0"), kJan7th2027Noon), L"更新说明已过期（2027-01-07T12:00:00Z）");
  EXPECT_EQ(text("version=1.2.0\r\n"), L"更新说明没有签名");
  EXPECT_EQ(text(Signed("1.2.0", "2027-01-07T12:00:00Z", "00")), L"更新说明的签名无效：不是发布者的密钥所签");
  EXPECT_EQ(text(Signed("1.2.\x01")), L"无法比较版本（更新 1.2.?，已安装 1.1.0）") << "no control character shown";
}

// A key list the root ("cc") signs when `by` is "cc", naming k1 (the
// operator's key, "bb") unless told otherwise.
std::string List(const std::string& keys = "keylist-key=k1 " + Repeat("bb") + "\r\n",
                 const std::string& expires = "2027-03-01T12:00:00Z", const std::string& by = "cc") {
  return "keylist-signed=2027-01-01T12:00:00Z\r\nkeylist-expires=" + expires + "\r\n" + keys +
         "keylist-signature=" + Repeat(by) + "\r\n";
}

Judgement UnderRoot(const std::string& text, std::int64_t now = kJan7th2027Noon - 1, const std::string& root = kRoot) {
  return JudgeManifest(text, "1.1.0", now, {root, kKey}, &CheckSignature);
}

TEST(UpdatePolicy, UnderARootKeyOnlyAKeyThatAValidListNamesSigns) {
  checkedTexts.clear();
  const std::string manifest = Signed("1.2.0", "2027-01-07T12:00:00Z", "bb", "k1");
  const Judgement accepted = UnderRoot(manifest + List());
  ASSERT_EQ(accepted.verdict, Verdict::Accept);
  const std::string listText = List();
  KeyList list;
  ASSERT_TRUE(ReadKeyList(listText, list));
  EXPECT_EQ(checkedTexts, (std::vector<std::string>{KeyListSignedText(list), SignedText(*accepted.manifest)}));
  // Rotated: a list naming only a new key, which signs.
  const std::string k2 = "keylist-key=k2 " + Repeat("dd") + "\r\n";
  EXPECT_EQ(UnderRoot(Signed("1.2.0", "2027-01-07T12:00:00Z", "dd", "k2") + List(k2)).verdict, Verdict::Accept);
  // Revoked: the old key's manifest under that list.
  const Judgement revoked = UnderRoot(manifest + List(k2));
  EXPECT_EQ(revoked.verdict, Verdict::KeyNotListed);
  EXPECT_EQ(VerdictText(revoked, "1.1.0"), L"更新说明的签名密钥“k1”不在密钥列表中（已撤销或从未列入）");
  EXPECT_EQ(UnderRoot(Signed("1.2.0") + List()).verdict, Verdict::KeyNotListed) << "no key named";
  EXPECT_EQ(UnderRoot(Signed("1.2.0", "2027-01-07T12:00:00Z", "dd", "k1") + List()).verdict, Verdict::UnknownKey)
      << "a listed id, another key's signature";
  EXPECT_EQ(UnderRoot(manifest).verdict, Verdict::KeyListMissing);
  EXPECT_EQ(UnderRoot(manifest + List(k2 + k2)).verdict, Verdict::KeyListMissing) << "unreadable";
  EXPECT_EQ(UnderRoot(manifest + List(k2, "2027-03-01T12:00:00Z", "bb")).verdict, Verdict::KeyListForged);
  EXPECT_EQ(UnderRoot(manifest + List(), kJan7th2027Noon, std::string(128, 'b')).verdict, Verdict::KeyListForged)
      << "another root built in";
  EXPECT_EQ(UnderRoot(manifest + List(), 0, "cc").verdict, Verdict::NoTrustedKey) << "a root that is no key";
  // The root may be the only key built in.
  EXPECT_EQ(JudgeManifest(manifest + List(), "1.1.0", 0, {kRoot, ""}, &CheckSignature).verdict, Verdict::Accept);
  // Without a root key the list and the key's name change nothing.
  EXPECT_EQ(Judge(manifest + List(k2, "2000-01-01T00:00:00Z", "00")), Verdict::Accept);
}

TEST(UpdatePolicy, AKeyListLastsAtMostNinetyDaysAndNotPastItsExpiry) {
  const std::string manifest = Signed("1.2.0", "2027-06-01T00:00:00Z", "bb", "k1");
  const std::int64_t expiry = *ParseUtcTime("2027-03-01T12:00:00Z");
  EXPECT_EQ(UnderRoot(manifest + List(), expiry - 1).verdict, Verdict::Accept);
  const Judgement expired = UnderRoot(manifest + List(), expiry);
  EXPECT_EQ(expired.verdict, Verdict::KeyListExpired) << "at its second";
  EXPECT_EQ(VerdictText(expired, "1.1.0"), L"密钥列表已过期（2027-03-01T12:00:00Z）");
  EXPECT_EQ(UnderRoot(manifest + List(std::string("keylist-key=k1 ") + Repeat("bb") + "\r\n", "2027-3-1")).verdict,
            Verdict::KeyListExpired) << "an expiry that cannot be read";
  const std::string k1 = "keylist-key=k1 " + Repeat("bb") + "\r\n";
  EXPECT_EQ(UnderRoot(manifest + List(k1, "2027-04-01T12:00:00Z")).verdict, Verdict::Accept) << "90 days";
  const Judgement tooLong = UnderRoot(manifest + List(k1, "2027-04-01T12:00:01Z"));
  EXPECT_EQ(tooLong.verdict, Verdict::KeyListTooLong);
  EXPECT_EQ(VerdictText(tooLong, "1.1.0"), L"密钥列表的有效期超过 90 天");
  EXPECT_EQ(UnderRoot(manifest + List(k1, "2027-04-01T12:00:01Z", "00")).verdict, Verdict::KeyListForged)
      << "what a forged list claims is not judged";
  EXPECT_EQ(VerdictText(UnderRoot(manifest + List(k1, "2027-03-01T12:00:00Z", "00")), "1.1.0"),
            L"密钥列表的签名无效：不是发布者的根密钥所签");
  EXPECT_EQ(VerdictText(UnderRoot(manifest), "1.1.0"), L"更新说明中没有可用的密钥列表");
}

TEST(UpdaterArgument, OnlyAnExecutableDirectlyInTheFolderIsATarget) {
  using updater::ReadUpdaterArgument;
  auto target = ReadUpdaterArgument(L"\"C:\\Games\\Velmora|C:\\Games\\Velmora\\Velmora.exe\"");
  ASSERT_TRUE(target);
  EXPECT_EQ(target->folder, L"C:\\Games\\Velmora");
  EXPECT_EQ(target->client, L"C:\\Games\\Velmora\\Velmora.exe");
  EXPECT_TRUE(ReadUpdaterArgument(L"D:\\|D:\\velmora.EXE")) << "a drive root; names compare without case";
  EXPECT_TRUE(ReadUpdaterArgument(L"\\\\server\\games|\\\\server\\games\\Velmora.exe"));
  EXPECT_TRUE(ReadUpdaterArgument(L"C:\\游戏\\维尔莫拉|C:\\游戏\\维尔莫拉\\Velmora.exe"));
  EXPECT_EQ(ReadUpdaterArgument(L"C:\\Dl|C:\\Dl\\Velmora (1).exe")->client, L"C:\\Dl\\Velmora (1).exe")
      << "a browser's second download";
  for (const wchar_t* bad : {L"|C:\\any.exe", L"C:\\Games|C:\\any.exe", L"C:\\Games|C:\\Games\\.exe",
                             L"C:\\Games|C:\\Games\\Velmora.ex", L"C:\\Games|C:\\Games\\a?.exe", L"C:\\Games|C:\\Gamesx.exe",
                             L"C:\\Games|C:\\Games\\sub\\Velmora.exe", L"C:\\Games\\..\\Windows|C:\\Games\\..\\Windows\\Velmora.exe",
                             L"Games|Games\\Velmora.exe", L"C:|C:\\Velmora.exe", L"C:\\Games|C:\\Games\\Velmora.exe.bak",
                             L"C:\\Games", L"", L"\\\\?\\C:\\Games|\\\\?\\C:\\Games\\Velmora.exe",
                             L"C:\\Ga*mes|C:\\Ga*mes\\Velmora.exe", L"C:\\Games|C:/Games/Velmora.exe"})
    EXPECT_FALSE(ReadUpdaterArgument(bad)) << testing::PrintToString(std::wstring(bad));
}

}  // namespace
}  // namespace common
