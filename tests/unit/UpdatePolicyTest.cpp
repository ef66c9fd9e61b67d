// The one judgement of a manifest (signed with the key built in, not expired,
// complete, newer), and the updater's target: the client's own file.
#include <gtest/gtest.h>

#include <algorithm>

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

// The operator's key and the one signature it "makes": the check stands in
// for ECDSA, which the Wine tests and the update tests exercise for real. It
// remembers the text it was asked about.
const std::string kKey(128, 'b');
std::string checkedText;
bool CheckSignature(std::span<const std::uint8_t> key, std::string_view text, std::span<const std::uint8_t, 64> sig) {
  checkedText = std::string(text);
  return key.size() == 64 && key[0] == 0xBB && std::all_of(sig.begin(), sig.end(), [](auto b) { return b == 0x5A; });
}

// A complete manifest, signed by the operator's key or (not genuine) by another.
std::string Signed(const std::string& version, const std::string& expires = "2027-01-07T12:00:00Z",
                   bool genuine = true) {
  std::string sig;
  for (std::size_t i = 0; i < 64; ++i) sig += genuine ? "5a" : "00";
  return "version=" + version + "\r\npackage=http://h/V.exe\r\nsize=10\r\nsha256=" + std::string(64, 'a') +
         "\r\nexpires=" + expires + "\r\nsignature=" + sig + "\r\n";
}

Verdict Judge(const std::string& text, const char* installed = "1.1.0", std::int64_t now = kJan7th2027Noon - 1,
              const std::string& key = kKey) {
  return JudgeManifest(text, installed, now, key, &CheckSignature).verdict;
}

TEST(UpdatePolicy, OnlyANewerVersionSignedWithTheKeyBuiltInBeforeItsExpiryIsAccepted) {
  const Judgement accepted = JudgeManifest(Signed("1.1.1"), "1.1.0", kJan7th2027Noon - 1, kKey, &CheckSignature);
  ASSERT_EQ(accepted.verdict, Verdict::Accept);
  EXPECT_EQ(accepted.manifest->package, "http://h/V.exe");
  EXPECT_EQ(checkedText, SignedText(*accepted.manifest)) << "the signature is checked over the fields";
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
  const Judgement incomplete = JudgeManifest(noSize, "1.1.0", 0, kKey, &CheckSignature);
  EXPECT_EQ(incomplete.verdict, Verdict::Incomplete);
  EXPECT_NE(VerdictText(incomplete, "1.1.0").find(L"size"), std::wstring::npos);
  EXPECT_EQ(Judge(Signed("1.2.0", "2027-01-07T12:00:00Z", false)), Verdict::UnknownKey);
  EXPECT_EQ(Judge(Signed("1.2.0"), "1.1.0", 0, std::string(128, 'c')), Verdict::UnknownKey) << "another key built in";
  EXPECT_EQ(Judge(Signed("1.2.0"), "1.1.0", 0, ""), Verdict::NoTrustedKey) << "a release built without a key";
  EXPECT_EQ(Judge(Signed("1.2.0"), "1.1.0", 0, kKey.substr(2)), Verdict::NoTrustedKey);
  // A genuine manifest of the running version still expires: a frozen host shows.
  EXPECT_EQ(Judge(Signed("1.1.0"), "1.1.0", kJan7th2027Noon + 1), Verdict::Expired);
  EXPECT_EQ(Judge(Signed("1.1.0", "2027-01-07T12:00:00Z", false), "1.1.0"), Verdict::UnknownKey);
}

TEST(UpdatePolicy, EachVerdictNamesItsReason) {
  auto text = [](const std::string& manifest, std::int64_t now = 0) {
    return VerdictText(JudgeManifest(manifest, "1.1.0", now, kKey, &CheckSignature), "1.1.0");
  };
  EXPECT_EQ(text(Signed("1.0.0")), L"更新的版本 1.0.0 不比已安装的版本 1.1.0 新");
  EXPECT_EQ(text(Signed("1.2.0"), kJan7th2027Noon), L"更新说明已过期（2027-01-07T12:00:00Z）");
  EXPECT_EQ(text("version=1.2.0\r\n"), L"更新说明没有签名");
  EXPECT_EQ(text(Signed("1.2.0", "2027-01-07T12:00:00Z", false)), L"更新说明的签名无效：不是发布者的密钥所签");
  EXPECT_EQ(text(Signed("1.2.\x01")), L"无法比较版本（更新 1.2.?，已安装 1.1.0）") << "no control character shown";
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
