// What the updater demands before it installs: a newer version, a manifest
// not yet expired, and the client's own file as its target.
#include <gtest/gtest.h>

#include "updater/UpdatePolicy.h"
#include "updater/UpdaterArgument.h"

namespace updater {
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

TEST(UpdatePolicy, OnlyANewerVersionBeforeItsExpiryIsInstalled) {
  const char* expires = "2027-01-07T12:00:00Z";
  EXPECT_EQ(JudgeManifest("1.1.1", expires, "1.1.0", kJan7th2027Noon - 1), Refusal::None);
  EXPECT_EQ(JudgeManifest("1.1.0", expires, "1.1.0", kJan7th2027Noon - 1), Refusal::NotNewer) << "the same version";
  EXPECT_EQ(JudgeManifest("1.0.9", expires, "1.1.0", kJan7th2027Noon - 1), Refusal::NotNewer) << "a rollback";
  EXPECT_EQ(JudgeManifest("1.1.1", expires, "1.1.0", kJan7th2027Noon), Refusal::Expired) << "expired at its second";
  EXPECT_EQ(JudgeManifest("1.1.1", "", "1.1.0", 0), Refusal::ExpiryUnreadable);
  EXPECT_EQ(JudgeManifest("1.1.1-beta", expires, "1.1.0", 0), Refusal::VersionUnreadable);
  EXPECT_EQ(JudgeManifest("1.1.1", expires, "", 0), Refusal::VersionUnreadable) << "no installed version read";
}

TEST(UpdaterArgument, OnlyTheClientsOwnFileInItsFolderIsATarget) {
  auto target = ReadUpdaterArgument(L"\"C:\\Games\\Velmora|C:\\Games\\Velmora\\Velmora.exe\"");
  ASSERT_TRUE(target);
  EXPECT_EQ(target->folder, L"C:\\Games\\Velmora");
  EXPECT_EQ(target->client, L"C:\\Games\\Velmora\\Velmora.exe");
  EXPECT_TRUE(ReadUpdaterArgument(L"D:\\|D:\\velmora.EXE")) << "a drive root; names compare without case";
  EXPECT_TRUE(ReadUpdaterArgument(L"\\\\server\\games|\\\\server\\games\\Velmora.exe"));
  EXPECT_TRUE(ReadUpdaterArgument(L"C:\\游戏\\维尔莫拉|C:\\游戏\\维尔莫拉\\Velmora.exe"));
  for (const wchar_t* bad : {L"|C:\\any.exe", L"C:\\Games|C:\\any.exe", L"C:\\Games|C:\\Games\\Other.exe",
                             L"C:\\Games|C:\\Games\\sub\\Velmora.exe", L"C:\\Games\\..\\Windows|C:\\Games\\..\\Windows\\Velmora.exe",
                             L"Games|Games\\Velmora.exe", L"C:|C:\\Velmora.exe", L"C:\\Games|C:\\Games\\Velmora.exe.bak",
                             L"C:\\Games", L"", L"\\\\?\\C:\\Games|\\\\?\\C:\\Games\\Velmora.exe",
                             L"C:\\Ga*mes|C:\\Ga*mes\\Velmora.exe", L"C:\\Games|C:/Games/Velmora.exe"})
    EXPECT_FALSE(ReadUpdaterArgument(bad)) << testing::PrintToString(std::wstring(bad));
}

}  // namespace
}  // namespace updater
