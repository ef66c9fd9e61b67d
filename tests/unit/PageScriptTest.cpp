// What the plain page engine recognises in scripts.
#include <gtest/gtest.h>

#include "tests/support/PageScript.h"

using browser::script::Action;
using browser::script::ActionKind;
using browser::script::FindActions;

namespace {

Action Open(std::wstring a) { return {ActionKind::OpenWindow, std::move(a)}; }
Action Go(std::wstring a) { return {ActionKind::Navigate, std::move(a)}; }

TEST(PageScript, WindowOpenWithAStringInEitherQuote) {
  EXPECT_EQ(FindActions(L"window.open('http://x/a')"), (std::vector<Action>{Open(L"http://x/a")}));
  EXPECT_EQ(FindActions(L"window.open(\"pay.html\", \"_blank\", \"width=300\");"),
            (std::vector<Action>{Open(L"pay.html")}));
  EXPECT_EQ(FindActions(L"open ( 'a' ) ; self.open(`b`)"), (std::vector<Action>{Open(L"a"), Open(L"b")}));
}

TEST(PageScript, OtherOpenCallsAreNotWindows) {
  EXPECT_TRUE(FindActions(L"xhr.open('GET', '/api'); document.open(); $.open('x')").empty());
  EXPECT_TRUE(FindActions(L"myopen('x'); reopen('y')").empty());
}

TEST(PageScript, AddressesBuiltByTheScriptAreNotGuessed) {
  EXPECT_TRUE(FindActions(L"window.open(url)").empty());
  EXPECT_TRUE(FindActions(L"window.open('http://x/?u=' + user)").empty());
  EXPECT_TRUE(FindActions(L"window.open(`a${b}`)").empty());
  EXPECT_TRUE(FindActions(L"location.href = 'app://loadgame|' + game;").empty());
}

TEST(PageScript, LocationAssignmentsAndCalls) {
  EXPECT_EQ(FindActions(L"location.href='app://exitgame'"), (std::vector<Action>{Go(L"app://exitgame")}));
  EXPECT_EQ(FindActions(L"window.location = \"a.html\"; document.location.href='b'; top.location.replace('c');"
                        L"location.assign('d')"),
            (std::vector<Action>{Go(L"a.html"), Go(L"b"), Go(L"c"), Go(L"d")}));
  EXPECT_EQ(FindActions(L"window.navigate('e')"), (std::vector<Action>{Go(L"e")}));
}

TEST(PageScript, ComparisonsAndOtherPropertiesAreNotNavigations) {
  EXPECT_TRUE(FindActions(L"if (location.href == 'x') {} if (location.href === 'y') {}").empty());
  EXPECT_TRUE(FindActions(L"location.hash = 'top'; location.search = '?a'; foo.location = 'z'").empty());
}

TEST(PageScript, CommentsAndOtherStringsAreSkipped) {
  EXPECT_TRUE(FindActions(L"// window.open('a')\n/* location.href='b' */ var s = \"window.open('c')\";").empty());
  EXPECT_EQ(FindActions(L"<!--\nwindow.open('d');\n//-->"), (std::vector<Action>{Open(L"d")}));
}

TEST(PageScript, EscapesInStringsAreUndone) {
  EXPECT_EQ(FindActions(L"window.open('a\\'b\\x41\\u4E2D\\/c')"), (std::vector<Action>{Open(L"a'bA中/c")}));
}

TEST(PageScript, ThisHrefInAnEventAttribute) {
  EXPECT_EQ(FindActions(L"window.open(this.href); return false;", L"http://h/x"),
            (std::vector<Action>{Open(L"http://h/x")}));
  EXPECT_TRUE(FindActions(L"window.open(this.href)").empty());
}

TEST(PageScript, UnterminatedInputEndsQuietly) {
  EXPECT_TRUE(FindActions(L"window.open('never closed").empty());
  EXPECT_TRUE(FindActions(L"window.open(").empty());
  EXPECT_TRUE(FindActions(L"location.href =").empty());
  EXPECT_TRUE(FindActions(L"'\\").empty());
}

}  // namespace
