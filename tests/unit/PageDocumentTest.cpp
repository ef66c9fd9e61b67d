// The page model: title, root HTML, frames, refresh, links, scripts, text blocks.
#include <gtest/gtest.h>

#include "tests/support/PageDocument.h"

using browser::MetaRefresh;
using browser::PageDocument;
using browser::ParseHtml;
using browser::ParseRefresh;
using browser::script::ActionKind;

namespace {

constexpr wchar_t kPage[] = L"http://127.0.0.1:18472/login/index.html";

// The drawn text of a document, one line per block.
std::wstring Lines(const PageDocument& d) {
  std::wstring out;
  for (const auto& b : d.blocks) {
    for (const auto& r : b.runs) out += r.text;
    out += L"\n";
  }
  return out;
}

TEST(PageDocument, TitleIsDecodedAndItsSpacesCollapsed) {
  auto d = ParseHtml(L"<html><head><TITLE>\n  Velmora &amp; 客户端\t登录 </TITLE></head></html>", kPage);
  EXPECT_TRUE(d.hasTitle);
  EXPECT_EQ(d.title, L"Velmora & 客户端 登录");
}

TEST(PageDocument, EmptyTitleIsStillATitleAndOnlyTheFirstCounts) {
  auto d = ParseHtml(L"<title></title><title>second</title>", kPage);
  EXPECT_TRUE(d.hasTitle);
  EXPECT_EQ(d.title, L"");
  EXPECT_FALSE(ParseHtml(L"<p>no title</p>", kPage).hasTitle);
}

TEST(PageDocument, RootInnerHtmlIsWhatLiesInsideTheHtmlElement) {
  auto d = ParseHtml(L"<!DOCTYPE html>\n<HTML lang=zh>\n<head></head><body>x</body>\n</HTML>\n", kPage);
  EXPECT_EQ(d.rootInnerHtml, L"<head></head><body>x</body>");
  // Without an end tag, up to the end; without <html>, the whole text.
  EXPECT_EQ(ParseHtml(L"<html><body>y", kPage).rootInnerHtml, L"<body>y");
  EXPECT_EQ(ParseHtml(L"  <p>z</p> ", kPage).rootInnerHtml, L"<p>z</p>");
  // An <html> inside a comment or a script is not the root.
  EXPECT_EQ(ParseHtml(L"<!-- <html> --><script>'<html>'</script>", kPage).rootInnerHtml,
            L"<!-- <html> --><script>'<html>'</script>");
}

TEST(PageDocument, EmptyAnswersHaveAnEmptyRoot) {
  EXPECT_EQ(ParseHtml(L"", kPage).rootInnerHtml, L"");
  EXPECT_EQ(ParseHtml(L" \r\n\t", kPage).rootInnerHtml, L"");
  EXPECT_EQ(ParseHtml(L"<html></html>", kPage).rootInnerHtml, L"");
  EXPECT_EQ(browser::ParsePlainText(L"").rootInnerHtml, L"");
}

TEST(PageDocument, RootStyleComesFromTheHtmlElement) {
  auto d = ParseHtml(L"<html style='overflow:hidden; color: red'><body></body></html>", kPage);
  EXPECT_EQ(browser::StyleProperty(d.rootStyle, L"overflow"), L"hidden");
}

TEST(PageDocument, FramesAreResolvedInOrderWithTheirNames) {
  auto d = ParseHtml(L"<iframe src='a.html' name=Main></iframe><IFRAME SRC=\"/top/b.html\"></IFRAME>"
                     L"<iframe></iframe><iframe src='  '></iframe><frameset><frame src=c.html></frameset>",
                     kPage);
  ASSERT_EQ(d.frames.size(), 3u);
  EXPECT_EQ(d.frames[0], L"http://127.0.0.1:18472/login/a.html");
  EXPECT_EQ(d.frames[1], L"http://127.0.0.1:18472/top/b.html");
  EXPECT_EQ(d.frames[2], L"http://127.0.0.1:18472/login/c.html");
  EXPECT_EQ(d.frameNames[0], L"main");
  EXPECT_EQ(d.frameNames[1], L"");
}

TEST(PageDocument, BaseHrefChangesTheBaseOfWhatFollows) {
  auto d = ParseHtml(L"<base href='http://cdn.example/x/'><iframe src=f.html></iframe><a href=l.html>l</a>", kPage);
  EXPECT_EQ(d.frames.at(0), L"http://cdn.example/x/f.html");
  EXPECT_EQ(d.links.at(0).href, L"http://cdn.example/x/l.html");
}

TEST(PageDocument, MetaRefreshVariants) {
  EXPECT_EQ(ParseRefresh(L"0;url=next.html"), (MetaRefresh{0, L"next.html"}));
  EXPECT_EQ(ParseRefresh(L"0; URL='next.html'"), (MetaRefresh{0, L"next.html"}));
  EXPECT_EQ(ParseRefresh(L" 3 , url = \"a b.html\" "), (MetaRefresh{3, L"a b.html"}));
  EXPECT_EQ(ParseRefresh(L"5"), (MetaRefresh{5, L""}));
  EXPECT_EQ(ParseRefresh(L"2;next.html"), (MetaRefresh{2, L"next.html"}));
  EXPECT_EQ(ParseRefresh(L"1.5; url=x"), (MetaRefresh{1, L"x"}));
  EXPECT_EQ(ParseRefresh(L"0;url='unclosed"), (MetaRefresh{0, L"unclosed"}));
  EXPECT_EQ(ParseRefresh(L"99999999999999; url=x"), (MetaRefresh{0xFFFFFFFFu, L"x"}));
  EXPECT_FALSE(ParseRefresh(L"url=x"));
  EXPECT_FALSE(ParseRefresh(L"-1;url=x"));
  EXPECT_FALSE(ParseRefresh(L"5x;url=y"));
  EXPECT_FALSE(ParseRefresh(L""));
}

TEST(PageDocument, MetaRefreshInThePageIsResolvedAndFirstWins) {
  auto d = ParseHtml(L"<meta HTTP-EQUIV=Refresh content=\"0; URL='second.html'\"><meta http-equiv=refresh "
                     L"content='9;url=third.html'>",
                     kPage);
  ASSERT_TRUE(d.refresh);
  EXPECT_EQ(d.refresh->seconds, 0u);
  EXPECT_EQ(d.refresh->address, L"http://127.0.0.1:18472/login/second.html");
  auto self = ParseHtml(L"<meta http-equiv=refresh content=30>", kPage);
  ASSERT_TRUE(self.refresh);
  EXPECT_EQ(self.refresh->address, kPage);
  EXPECT_FALSE(ParseHtml(L"<meta name=refresh content='0;url=x'>", kPage).refresh);
}

TEST(PageDocument, LinksWithTargetsAndScripts) {
  auto d = ParseHtml(L"<a href='news.html'>News</a> <a HREF=pay.html TARGET=_BLANK>Pay</a>"
                     L"<a href='#' onclick=\"window.open('http://other/x'); return false\">Pop</a>"
                     L"<a href=\"javascript:window.open('js.html')\">Js</a>"
                     L"<button onclick=\"location.href='app://exitgame'\">Exit</button>"
                     L"<span onclick='track()'>plain</span>",
                     kPage);
  ASSERT_EQ(d.links.size(), 5u);
  EXPECT_EQ(d.links[0].href, L"http://127.0.0.1:18472/login/news.html");
  EXPECT_EQ(d.links[0].target, L"");
  EXPECT_EQ(d.links[1].target, L"_blank");
  ASSERT_EQ(d.links[2].script.size(), 1u);
  EXPECT_EQ(d.links[2].script[0].kind, ActionKind::OpenWindow);
  EXPECT_EQ(d.links[2].script[0].address, L"http://other/x");
  EXPECT_EQ(d.links[3].href, L"");
  EXPECT_EQ(d.links[3].script.at(0).address, L"http://127.0.0.1:18472/login/js.html");
  EXPECT_EQ(d.links[4].script.at(0).kind, ActionKind::Navigate);
  EXPECT_EQ(d.links[4].script.at(0).address, L"app://exitgame");
}

TEST(PageDocument, TextOfALinkCarriesItsIndex) {
  auto d = ParseHtml(L"<body>Go <a href=a.html>there <b>now</b></a> please</body>", kPage);
  ASSERT_EQ(d.blocks.size(), 1u);
  const auto& runs = d.blocks[0].runs;
  ASSERT_EQ(runs.size(), 4u);
  EXPECT_EQ(runs[0], (browser::TextRun{L"Go ", false, -1}));
  EXPECT_EQ(runs[1], (browser::TextRun{L"there ", false, 0}));
  EXPECT_EQ(runs[2], (browser::TextRun{L"now", true, 0}));
  EXPECT_EQ(runs[3], (browser::TextRun{L" please", false, -1}));
}

TEST(PageDocument, UnclosedLinkEndsAtTheNextLink) {
  auto d = ParseHtml(L"<a href=1>one<a href=2>two", kPage);
  ASSERT_EQ(d.blocks.size(), 1u);
  ASSERT_EQ(d.blocks[0].runs.size(), 2u);
  EXPECT_EQ(d.blocks[0].runs[0].link, 0);
  EXPECT_EQ(d.blocks[0].runs[1].link, 1);
}

TEST(PageDocument, InlineScriptsAndBodyOnload) {
  auto d = ParseHtml(L"<script type='text/javascript'>window.open('ad.html')</script>"
                     L"<script type='text/template'>window.open('no.html')</script>"
                     L"<script src='x.js'>window.open('ignored.html')</script>"
                     L"<body onload=\"location.replace('next.html')\">",
                     kPage);
  ASSERT_EQ(d.scriptActions.size(), 2u);
  EXPECT_EQ(d.scriptActions[0].kind, ActionKind::OpenWindow);
  EXPECT_EQ(d.scriptActions[0].address, L"http://127.0.0.1:18472/login/ad.html");
  EXPECT_EQ(d.scriptActions[1].kind, ActionKind::Navigate);
  EXPECT_EQ(d.scriptActions[1].address, L"http://127.0.0.1:18472/login/next.html");
}

TEST(PageDocument, BlocksLineBreaksAndCollapsedSpaces) {
  auto d = ParseHtml(L"<head><title>T</title><style>p{}</style></head><body>\n  one   two\n<p>three</p>four<br>"
                     L"five<br><br>six<ul><li>seven</li></ul><div>&nbsp;&nbsp;eight</div></body>",
                     kPage);
  EXPECT_EQ(Lines(d), L"one two\nthree\nfour\nfive\n\nsix\n\u2022 seven\n  eight\n");
}

TEST(PageDocument, HiddenContentIsNotDrawn) {
  auto d = ParseHtml(L"<select><option>opt</option></select><script>var a='s';</script><noscript>ns</noscript>"
                     L"<template>tp</template>shown",
                     kPage);
  EXPECT_EQ(Lines(d), L"shown\n");
}

TEST(PageDocument, PreformattedTextKeepsItsLinesAndSpaces) {
  auto d = ParseHtml(L"<pre>a  b\n\tc</pre>", kPage);
  EXPECT_EQ(Lines(d), L"a  b\n    c\n");
}

TEST(PageDocument, HeadingsAreBoldBlocksAndCellsAreSpaced) {
  auto d = ParseHtml(L"<h1>Big</h1><table><tr><td>a</td><td>b</td></tr></table>", kPage);
  ASSERT_EQ(d.blocks.size(), 2u);
  EXPECT_TRUE(d.blocks[0].heading);
  EXPECT_TRUE(d.blocks[0].runs[0].bold);
  EXPECT_EQ(Lines(d), L"Big\na b\n");
}

TEST(PageDocument, ImagesShowTheirAltTextAndButtonsTheirLabel) {
  auto d = ParseHtml(L"<a href=x><img src='img/enter.png'></a><img alt='logo'>"
                     L"<input type=button value='进入' onclick=\"location.href='app://minimize'\">",
                     kPage);
  EXPECT_EQ(Lines(d), L"[enter.png]logo[进入]\n");
  ASSERT_EQ(d.links.size(), 2u);
  EXPECT_EQ(d.blocks[0].runs.back().link, 1);
  EXPECT_EQ(d.links[1].script.at(0).address, L"app://minimize");
}

TEST(PageDocument, MalformedMarkupStillGivesTitleAndText) {
  auto d = ParseHtml(L"<html><title>Broken<b></title><body><p>un<i>closed<div>x</p></i>y<a href=\"z", kPage);
  EXPECT_EQ(d.title, L"Broken<b>");
  EXPECT_EQ(Lines(d), L"unclosed\nx\ny\n");
}

TEST(PageDocument, PlainTextKeepsItsLines) {
  auto d = browser::ParsePlainText(L"not found\r\n\tsecond");
  EXPECT_EQ(Lines(d), L"not found\n    second\n");
  EXPECT_EQ(d.rootInnerHtml, L"not found\r\n\tsecond");
  EXPECT_FALSE(d.hasTitle);
}

TEST(PageDocument, StyleDeclarations) {
  EXPECT_EQ(browser::StyleProperty(L"color:red; OVERFLOW : scroll ;overflow:hidden", L"Overflow"), L"hidden");
  EXPECT_EQ(browser::StyleProperty(L"garbage;;:x", L"overflow"), L"");
  EXPECT_EQ(browser::WithStyleProperty(L"color: red; overflow: auto", L"overflow", L"hidden"),
            L"color: red; overflow: hidden;");
  EXPECT_EQ(browser::WithStyleProperty(L"overflow: auto", L"overflow", L""), L"");
  EXPECT_EQ(browser::WithStyleProperty(L"", L"overflow", L"hidden"), L"overflow: hidden;");
}

}  // namespace
