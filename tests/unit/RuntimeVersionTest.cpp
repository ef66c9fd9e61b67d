// The WebView2 runtime's version from its folder, compared as numbers, and
// the text the host sends to and reads from its pages.
#include <gtest/gtest.h>

#include "browser/RuntimeVersion.h"
#include "browser/WebView2Script.h"

namespace browser {
namespace {

TEST(RuntimeVersion, FieldsCompareAsNumbersNotText) {
  const auto v99 = ParseRuntimeVersion(L"99.0.1150.55");
  const auto v100 = ParseRuntimeVersion(L"100.0.1185.36");
  ASSERT_TRUE(v99 && v100);
  EXPECT_LT(*v99, *v100);
  EXPECT_LT(*ParseRuntimeVersion(L"86.0.616.9"), *ParseRuntimeVersion(L"86.0.1000.0"));
  EXPECT_LT(*ParseRuntimeVersion(L"80.0.1.2"), kMinimumRuntimeVersion);
  EXPECT_FALSE(*ParseRuntimeVersion(L"120.0.2210.91") < kMinimumRuntimeVersion);
  EXPECT_FALSE(kMinimumRuntimeVersion < *ParseRuntimeVersion(L"86.0.616.0"));
  EXPECT_EQ(RuntimeVersionText(*v100), L"100.0.1185.36");
}

TEST(RuntimeVersion, OnlyFourDecimalFieldsAreAVersion) {
  for (const wchar_t* bad : {L"", L"120", L"120.0.2210", L"120.0.2210.91.1", L"120..2210.91", L"120.0.2210.",
                             L".0.2210.91", L"120.0.22a0.91", L"EBWebView", L"1.2.3.4294967296999"}) {
    EXPECT_FALSE(ParseRuntimeVersion(bad)) << bad;
  }
}

TEST(RuntimeVersion, TheVersionIsTheFolderNamesLastPart) {
  EXPECT_EQ(LastFolderPart(L"C:\\Program Files (x86)\\Microsoft\\EdgeWebView\\Application\\120.0.2210.91"),
            L"120.0.2210.91");
  EXPECT_EQ(LastFolderPart(L"C:\\velmora-webview2\\80.0.1.2\\"), L"80.0.1.2");
  EXPECT_EQ(LastFolderPart(L"C:/a/1.2.3.4"), L"1.2.3.4");
  EXPECT_EQ(LastFolderPart(L"1.2.3.4"), L"1.2.3.4");
}

TEST(WebView2Script, RootStyleScriptsQuoteTheValueAndKeepTheNameAName) {
  EXPECT_EQ(RootStyleScript(L"overflow", L"hidden"), L"document.documentElement.style.overflow = \"hidden\"");
  EXPECT_EQ(RootStyleScript(L"background-color", L"red"),
            L"document.documentElement.style.backgroundColor = \"red\"");
  EXPECT_EQ(RootStyleScript(L"overflow;alert(1)", L"a\"b\\c\n"),
            L"document.documentElement.style.overflowalert1 = \"a\\\"b\\\\c\\u000a\"");
}

TEST(WebView2Script, JsonStringsAreDecodedAndAnythingElseRefused) {
  EXPECT_EQ(JsonStringText(L"\"<head></head><body>x</body>\""), L"<head></head><body>x</body>");
  EXPECT_EQ(JsonStringText(L"\"a\\\"b\\\\c\\/d\\n\\t\\u0041\\u6e38\""), L"a\"b\\c/d\n\tA\u6e38");
  EXPECT_EQ(JsonStringText(L"null"), L"");
  EXPECT_EQ(JsonStringText(L"\"\""), L"");
  for (const wchar_t* bad : {L"", L"\"", L"abc", L"\"a\"b\"", L"\"\\x\"", L"\"\\u12\"", L"\"\\u12g4\"", L"\"a\\\"", L"42"}) {
    EXPECT_FALSE(JsonStringText(bad)) << bad;
  }
}

}  // namespace
}  // namespace browser
