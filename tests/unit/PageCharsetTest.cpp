// Choosing and decoding a page's character set.
#include <gtest/gtest.h>

#include "tests/support/PageCharset.h"

namespace cs = browser::charset;

namespace {

TEST(PageCharset, ContentTypeParameter) {
  EXPECT_EQ(cs::FromContentType("text/html; charset=GBK"), "gbk");
  EXPECT_EQ(cs::FromContentType("text/html;charset=\"utf-8\""), "utf-8");
  EXPECT_EQ(cs::FromContentType("text/html; Charset = big5 ; x=y"), "big5");
  EXPECT_EQ(cs::FromContentType("text/html"), "");
}

TEST(PageCharset, MetaDeclarations) {
  EXPECT_EQ(cs::FromMeta("<html><head><meta charset=\"gb2312\"><title>"), "gb2312");
  EXPECT_EQ(cs::FromMeta("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Shift_JIS\">"), "shift_jis");
  EXPECT_EQ(cs::FromMeta("<meta charset=utf-8/>"), "utf-8");
  EXPECT_EQ(cs::FromMeta("<meta name=x content=y>"), "");
  // Only the start of the page counts.
  EXPECT_EQ(cs::FromMeta(std::string(5000, ' ') + "<meta charset=gbk>"), "");
}

TEST(PageCharset, LabelsToCodePages) {
  EXPECT_EQ(cs::CodePageOf("UTF-8"), cs::kUtf8);
  EXPECT_EQ(cs::CodePageOf("gb2312"), 936u);
  EXPECT_EQ(cs::CodePageOf("GB18030"), 54936u);
  EXPECT_EQ(cs::CodePageOf("iso-8859-1"), cs::kWindows1252);
  EXPECT_EQ(cs::CodePageOf("klingon"), 0u);
}

TEST(PageCharset, ChoiceOrder) {
  // A byte-order mark beats the header.
  auto bom = cs::Choose("text/html; charset=gbk", "\xEF\xBB\xBF<p>");
  EXPECT_EQ(bom.codePage, cs::kUtf8);
  EXPECT_EQ(bom.skip, 3u);
  // The header beats the page's meta.
  EXPECT_EQ(cs::Choose("text/html; charset=gbk", "<meta charset=big5>").codePage, 936u);
  EXPECT_EQ(cs::Choose("text/html", "<meta charset=big5>").codePage, 950u);
  // A meta claiming UTF-16 in an ASCII-readable page means UTF-8.
  EXPECT_EQ(cs::Choose("", "<meta charset=utf-16>").codePage, cs::kUtf8);
  // Undeclared: UTF-8 when valid, windows-1252 otherwise.
  EXPECT_EQ(cs::Choose("", "\xE4\xB8\xAD").codePage, cs::kUtf8);
  EXPECT_EQ(cs::Choose("", "caf\xE9").codePage, cs::kWindows1252);
  // An unknown label falls through to the next rule.
  EXPECT_EQ(cs::Choose("text/html; charset=klingon", "<meta charset=gbk>").codePage, 936u);
}

TEST(PageCharset, Utf8DecodingReplacesWhatIsBroken) {
  EXPECT_EQ(cs::DecodeUtf8("\xEF\xBB\xBF\xE4\xB8\xAD\xE6\x96\x87"), L"中文");
  EXPECT_EQ(cs::DecodeUtf8("a\xFF" "b"), L"a\uFFFDb");
  EXPECT_EQ(cs::DecodeUtf8("a\xE4\xB8"), L"a\uFFFD");          // cut off at the end
  EXPECT_EQ(cs::DecodeUtf8("\xC0\xAF"), L"\uFFFD\uFFFD");      // overlong
  EXPECT_EQ(cs::DecodeUtf8("\xED\xA0\x80x"), L"\uFFFDx");      // a surrogate
  EXPECT_FALSE(cs::IsValidUtf8("\xED\xA0\x80"));
  EXPECT_TRUE(cs::IsValidUtf8("\xF0\x9F\x98\x80"));
  std::wstring emoji = cs::DecodeUtf8("\xF0\x9F\x98\x80");
  EXPECT_EQ(emoji.size(), sizeof(wchar_t) == 2 ? 2u : 1u);
}

TEST(PageCharset, Utf16AndWindows1252) {
  EXPECT_EQ(cs::DecodeUtf16(std::string("\xFF\xFE" "A\0-N", 6), false), L"A\u4E2D");
  EXPECT_EQ(cs::DecodeUtf16(std::string("\0A\xD8", 3), true), L"A\uFFFD");
  EXPECT_EQ(cs::DecodeWindows1252("caf\xE9 \x80"), L"café €");
  std::wstring out;
  EXPECT_FALSE(cs::DecodeBuiltIn("x", 936, out));
  EXPECT_TRUE(cs::DecodeBuiltIn("x", cs::kWindows1252, out));
  EXPECT_EQ(out, L"x");
}

}  // namespace
