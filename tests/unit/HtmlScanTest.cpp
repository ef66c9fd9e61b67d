// The tolerant HTML tokenizer and character references.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/HtmlScan.h"

using browser::html::DecodeEntities;
using browser::html::Scanner;
using browser::html::Token;
using browser::html::TokenKind;

namespace {

std::vector<Token> Scan(std::wstring_view source) {
  std::vector<Token> out;
  Scanner scanner(source);
  Token t;
  while (scanner.Next(t)) out.push_back(t);
  return out;
}

TEST(HtmlScan, TagsAndAttributesAreLowerCaseAndValuesKeepTheirCase) {
  auto t = Scan(L"<A HREF=\"Page.HTML\" Target=_Blank>x</A>");
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t[0].kind, TokenKind::StartTag);
  EXPECT_EQ(t[0].name, L"a");
  ASSERT_NE(t[0].Attr(L"href"), nullptr);
  EXPECT_EQ(*t[0].Attr(L"href"), L"Page.HTML");
  EXPECT_EQ(*t[0].Attr(L"target"), L"_Blank");
  EXPECT_EQ(t[1].text, L"x");
  EXPECT_EQ(t[2].kind, TokenKind::EndTag);
  EXPECT_EQ(t[2].name, L"a");
}

TEST(HtmlScan, AttributeValueForms) {
  auto t = Scan(L"<input a='1 2' b=\"x'y\" c=bare d e = spaced checked/>");
  ASSERT_EQ(t.size(), 1u);
  EXPECT_EQ(*t[0].Attr(L"a"), L"1 2");
  EXPECT_EQ(*t[0].Attr(L"b"), L"x'y");
  EXPECT_EQ(*t[0].Attr(L"c"), L"bare");
  EXPECT_EQ(*t[0].Attr(L"d"), L"");
  EXPECT_EQ(*t[0].Attr(L"e"), L"spaced");
  EXPECT_NE(t[0].Attr(L"checked"), nullptr);
  EXPECT_TRUE(t[0].selfClosing);
}

TEST(HtmlScan, FirstOfTwoEqualAttributesWins) {
  auto t = Scan(L"<a href=one HREF=two>");
  ASSERT_EQ(t.size(), 1u);
  EXPECT_EQ(*t[0].Attr(L"href"), L"one");
  EXPECT_EQ(t[0].attributes.size(), 1u);
}

TEST(HtmlScan, AttributeValuesHaveTheirReferencesDecoded) {
  auto t = Scan(L"<a href=\"a.php?x=1&amp;y=2&copy=3&lt\">");
  ASSERT_EQ(t.size(), 1u);
  // "&copy=" stays as written in an attribute; "&lt" at the end is decoded.
  EXPECT_EQ(*t[0].Attr(L"href"), L"a.php?x=1&y=2&copy=3<");
}

TEST(HtmlScan, StrayLessThanSignsAreText) {
  auto t = Scan(L"a < b <3 <> c");
  ASSERT_EQ(t.size(), 1u);
  EXPECT_EQ(t[0].kind, TokenKind::Text);
  EXPECT_EQ(t[0].text, L"a < b <3 <> c");
}

TEST(HtmlScan, CommentsAndDeclarations) {
  auto t = Scan(L"<!DOCTYPE html><!-- a <b> --><!---->x<?xml v?>");
  ASSERT_EQ(t.size(), 5u);
  EXPECT_EQ(t[0].kind, TokenKind::Declaration);
  EXPECT_EQ(t[0].text, L"DOCTYPE html");
  EXPECT_EQ(t[1].kind, TokenKind::Comment);
  EXPECT_EQ(t[1].text, L" a <b> ");
  EXPECT_EQ(t[2].kind, TokenKind::Comment);
  EXPECT_EQ(t[3].text, L"x");
  EXPECT_EQ(t[4].kind, TokenKind::Comment);
}

TEST(HtmlScan, UnclosedCommentRunsToTheEnd) {
  auto t = Scan(L"a<!-- never closed <p>hidden");
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[1].kind, TokenKind::Comment);
  EXPECT_EQ(t[1].text, L" never closed <p>hidden");
}

TEST(HtmlScan, ScriptContentIsRawUpToItsOwnEndTagInAnyCase) {
  auto t = Scan(L"<script>if (a < b && c > d) x = '</p>';</SCRIPT >after");
  ASSERT_EQ(t.size(), 4u);
  EXPECT_TRUE(t[1].rawText);
  EXPECT_EQ(t[1].name, L"script");
  EXPECT_EQ(t[1].text, L"if (a < b && c > d) x = '</p>';");
  EXPECT_EQ(t[2].kind, TokenKind::EndTag);
  EXPECT_EQ(t[3].text, L"after");
}

TEST(HtmlScan, EndTagThatOnlyStartsLikeTheElementDoesNotEndIt) {
  auto t = Scan(L"<title>a</titles>b</title>");
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t[1].text, L"a</titles>b");
}

TEST(HtmlScan, UnclosedScriptTakesTheRest) {
  auto t = Scan(L"<p><script>window.open('x')<p>more");
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t[2].text, L"window.open('x')<p>more");
}

TEST(HtmlScan, TagCutOffByTheEndIsDropped) {
  auto t = Scan(L"text<a href=\"x");
  ASSERT_EQ(t.size(), 1u);
  EXPECT_EQ(t[0].text, L"text");
  auto u = Scan(L"text<div class=a");
  ASSERT_EQ(u.size(), 1u);
}

TEST(HtmlScan, TokensCoverTheSourceInOrder) {
  std::wstring_view src = L"<p>one</p>\n<!--c--><br/>two";
  auto t = Scan(src);
  std::size_t at = 0;
  for (const Token& tok : t) {
    EXPECT_EQ(tok.begin, at);
    EXPECT_GT(tok.end, tok.begin);
    at = tok.end;
  }
  EXPECT_EQ(at, src.size());
}

TEST(HtmlScan, EndTagWithGarbageIsABogusComment) {
  auto t = Scan(L"a</ 3>b</>c");
  ASSERT_EQ(t.size(), 4u);
  EXPECT_EQ(t[1].kind, TokenKind::Comment);
  EXPECT_EQ(t[2].text, L"b");
  EXPECT_EQ(t[3].text, L"c");
}

TEST(HtmlEntities, NamedNumericAndHex) {
  EXPECT_EQ(DecodeEntities(L"&lt;b&gt; &amp; &quot;&apos; &#65;&#x42;&#X43;"), L"<b> & \"' ABC");
  EXPECT_EQ(DecodeEntities(L"&#x4E2D;&#25991;"), L"中文");
  EXPECT_EQ(DecodeEntities(L"&eacute;&Eacute;&hellip;&mdash;&euro;&nbsp;"), L"éÉ…—€\u00A0");
}

TEST(HtmlEntities, OutsideTheBasicPlaneBecomesASurrogatePairOnWindows) {
  std::wstring s = DecodeEntities(L"&#x1F600;");
  if (sizeof(wchar_t) == 2) {
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[0], static_cast<wchar_t>(0xD83D));
    EXPECT_EQ(s[1], static_cast<wchar_t>(0xDE00));
  } else {
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(static_cast<char32_t>(s[0]), 0x1F600u);
  }
}

TEST(HtmlEntities, BadNumbersBecomeTheReplacementCharacter) {
  EXPECT_EQ(DecodeEntities(L"&#0;"), L"\uFFFD");
  EXPECT_EQ(DecodeEntities(L"&#xD800;"), L"\uFFFD");
  EXPECT_EQ(DecodeEntities(L"&#99999999999999999999;"), L"\uFFFD");
  // The C1 range reads as windows-1252, as browsers do.
  EXPECT_EQ(DecodeEntities(L"&#128;&#150;"), L"€–");
}

TEST(HtmlEntities, UnknownAndMalformedStayAsWritten) {
  EXPECT_EQ(DecodeEntities(L"&bogus; & &; &# &#x; &#xZ;"), L"&bogus; & &; &# &#x; &#xZ;");
  EXPECT_EQ(DecodeEntities(L"AT&T"), L"AT&T");
  EXPECT_EQ(DecodeEntities(L"&"), L"&");
}

TEST(HtmlEntities, LegacyNamesWorkWithoutSemicolonInText) {
  EXPECT_EQ(DecodeEntities(L"&copy 2024 &amp &lt3"), L"© 2024 & <3");
  // &apos; is not one of the old names.
  EXPECT_EQ(DecodeEntities(L"&apos"), L"&apos");
  // Longest legacy prefix: "&notit" is "¬it".
  EXPECT_EQ(DecodeEntities(L"&notit"), L"¬it");
}

TEST(HtmlEntities, NamesAreCaseSensitive) {
  EXPECT_EQ(DecodeEntities(L"&AMP;"), L"&AMP;");
  EXPECT_EQ(DecodeEntities(L"&Agrave;&agrave;"), L"Àà");
}

}  // namespace
