// The scripts the tests' fake WebView2 runtime understands (tests/webview2/ScriptAnswers.h).
#include <gtest/gtest.h>

#include "tests/webview2/ScriptAnswers.h"

using fakewebview2::CssName;
using fakewebview2::JsonString;
using fakewebview2::ReadScript;
using fakewebview2::Script;
using fakewebview2::StyleAssignment;

TEST(FakeWebView2Script, ReadsTheRootsInnerHtmlAndOneStyleProperty) {
  EXPECT_EQ(Script::Kind::InnerHtml, ReadScript(L" document.documentElement.innerHTML; ").kind);
  const Script read = ReadScript(L"document.documentElement.style.overflowY");
  EXPECT_EQ(Script::Kind::ReadStyle, read.kind);
  EXPECT_EQ(L"overflow-y", read.property);
}

TEST(FakeWebView2Script, ReadsAssignmentsInOrder) {
  const Script script = ReadScript(
      L"document.documentElement.style.overflow = \"hidden\";document.documentElement.style.backgroundColor='a;\\'b';");
  ASSERT_EQ(Script::Kind::WriteStyle, script.kind);
  EXPECT_EQ((std::vector<StyleAssignment>{{L"overflow", L"hidden"}, {L"background-color", L"a;'b"}}),
            script.assignments);
}

TEST(FakeWebView2Script, AnythingElseIsUnknown) {
  for (const wchar_t* text : {L"", L"alert(1)", L"document.documentElement.innerHTML = 'x'",
                              L"document.documentElement.style.overflow = hidden",
                              L"document.documentElement.style.overflow = 'a' + 'b'",
                              L"document.documentElement.style.overflow = 'open",
                              L"document.documentElement.style.overflow; alert(1)",
                              L"document.documentElement.style. = 'x'"}) {
    EXPECT_EQ(Script::Kind::Unknown, ReadScript(text).kind) << text;
  }
}

TEST(FakeWebView2Script, NamesAndAnswersAsTheBrowserDoes) {
  EXPECT_EQ(L"border-top-width", CssName(L"borderTopWidth"));
  EXPECT_EQ(L"\"a\\\"b\\\\c\\n\\u0001\"", JsonString(L"a\"b\\c\n\x01"));
}
