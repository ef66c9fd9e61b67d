// Line breaking and link hit-testing of the plain page view.
#include <gtest/gtest.h>

#include "tests/support/PageLayout.h"

namespace layout = browser::layout;

namespace {

// Every character 10 pixels wide (bold 12); lines 20 high (title 30).
layout::Metrics FixedMetrics() {
  layout::Metrics m;
  m.width = [](std::wstring_view t, const layout::Style& s) { return static_cast<int>(t.size()) * (s.bold ? 12 : 10); };
  m.lineHeight = [](const layout::Style& s) { return s.size == layout::Size::Title ? 30 : 20; };
  m.margin = 5;
  m.blockSpacing = 2;
  return m;
}

std::vector<std::wstring> Texts(const layout::Page& p) {
  std::vector<std::wstring> out;
  for (const auto& f : p.fragments) out.push_back(f.text);
  return out;
}

TEST(PageLayout, WordsWrapAtSpacesWithinTheWidth) {
  auto doc = browser::ParseHtml(L"<p>aaa bbb ccc ddd</p>", L"http://h/");
  // Room for 8 characters: "aaa bbb " fits (its last space may hang), "ccc ddd" goes below.
  auto page = layout::Arrange(doc, 5 + 75 + 5, FixedMetrics());
  ASSERT_EQ(page.fragments.size(), 2u);
  EXPECT_EQ(page.fragments[0].text, L"aaa bbb ");
  EXPECT_EQ(page.fragments[0].y, 5);
  EXPECT_EQ(page.fragments[1].text, L"ccc ddd");
  EXPECT_EQ(page.fragments[1].x, 5);
  EXPECT_EQ(page.fragments[1].y, 25);
  EXPECT_EQ(page.height, 5 + 40 + 5);
}

TEST(PageLayout, TitleComesFirstInItsOwnStyle) {
  auto doc = browser::ParseHtml(L"<title>Hi</title><p>x</p>", L"http://h/");
  auto page = layout::Arrange(doc, 200, FixedMetrics());
  ASSERT_EQ(page.fragments.size(), 2u);
  EXPECT_EQ(page.fragments[0].style.size, layout::Size::Title);
  EXPECT_TRUE(page.fragments[0].style.bold);
  EXPECT_EQ(page.fragments[0].width, 24);
  EXPECT_EQ(page.fragments[1].y, 5 + 30 + 2);
}

TEST(PageLayout, ChineseTextBreaksBetweenAnyCharacters) {
  auto doc = browser::ParseHtml(L"<p>未能连接到服务器</p>", L"http://h/");
  auto page = layout::Arrange(doc, 5 + 30 + 5, FixedMetrics());
  EXPECT_EQ(Texts(page), (std::vector<std::wstring>{L"未能连", L"接到服", L"务器"}));
}

TEST(PageLayout, AWordWiderThanTheLineIsCut) {
  auto doc = browser::ParseHtml(L"<p>abcdefghij</p>", L"http://h/");
  auto page = layout::Arrange(doc, 5 + 40 + 5, FixedMetrics());
  EXPECT_EQ(Texts(page), (std::vector<std::wstring>{L"abcd", L"efgh", L"ij"}));
  // Even a line narrower than one character shows every character.
  auto narrow = layout::Arrange(doc, 3, FixedMetrics());
  EXPECT_EQ(narrow.fragments.size(), 10u);
}

TEST(PageLayout, LinksAreFoundUnderThePoint) {
  auto doc = browser::ParseHtml(L"<p>go <a href=a>here</a></p><p><a href=b>two</a></p>", L"http://h/");
  auto page = layout::Arrange(doc, 400, FixedMetrics());
  // "go " is 30 wide from x = 5; "here" follows at 35..75 on the line 5..25.
  EXPECT_EQ(layout::LinkAt(page, 10, 10), -1);
  EXPECT_EQ(layout::LinkAt(page, 36, 10), 0);
  EXPECT_EQ(layout::LinkAt(page, 74, 24), 0);
  EXPECT_EQ(layout::LinkAt(page, 75, 10), -1);
  EXPECT_EQ(layout::LinkAt(page, 6, 28), 1);
  EXPECT_EQ(layout::LinkAt(page, 6, 100), -1);
  for (const auto& f : page.fragments) EXPECT_EQ(f.style.link, f.link >= 0);
}

TEST(PageLayout, EmptyLinesKeepTheirHeight) {
  auto doc = browser::ParseHtml(L"a<br><br>b", L"http://h/");
  auto page = layout::Arrange(doc, 400, FixedMetrics());
  ASSERT_EQ(page.fragments.size(), 2u);
  EXPECT_EQ(page.fragments[1].y - page.fragments[0].y, 2 * (20 + 2));  // its own line and the empty one
}

TEST(PageLayout, EmptyDocumentHasOnlyItsMargins) {
  auto page = layout::Arrange(browser::ParseHtml(L"", L"http://h/"), 300, FixedMetrics());
  EXPECT_TRUE(page.fragments.empty());
  EXPECT_EQ(page.height, 10);
}

}  // namespace
