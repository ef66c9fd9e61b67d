// Resolving page references against the page's address.
#include <gtest/gtest.h>

#include "tests/support/PageUrl.h"

using browser::url::Resolve;

namespace {

constexpr wchar_t kBase[] = L"http://a/b/c/d;p?q";

TEST(PageUrl, NormalExamplesOfRfc3986) {
  EXPECT_EQ(Resolve(kBase, L"g:h"), L"g:h");
  EXPECT_EQ(Resolve(kBase, L"g"), L"http://a/b/c/g");
  EXPECT_EQ(Resolve(kBase, L"./g"), L"http://a/b/c/g");
  EXPECT_EQ(Resolve(kBase, L"g/"), L"http://a/b/c/g/");
  EXPECT_EQ(Resolve(kBase, L"/g"), L"http://a/g");
  EXPECT_EQ(Resolve(kBase, L"//g"), L"http://g/");
  EXPECT_EQ(Resolve(kBase, L"?y"), L"http://a/b/c/d;p?y");
  EXPECT_EQ(Resolve(kBase, L"g?y"), L"http://a/b/c/g?y");
  EXPECT_EQ(Resolve(kBase, L"#s"), L"http://a/b/c/d;p?q#s");
  EXPECT_EQ(Resolve(kBase, L"g#s"), L"http://a/b/c/g#s");
  EXPECT_EQ(Resolve(kBase, L";x"), L"http://a/b/c/;x");
  EXPECT_EQ(Resolve(kBase, L""), L"http://a/b/c/d;p?q");
  EXPECT_EQ(Resolve(kBase, L"."), L"http://a/b/c/");
  EXPECT_EQ(Resolve(kBase, L".."), L"http://a/b/");
  EXPECT_EQ(Resolve(kBase, L"../g"), L"http://a/b/g");
  EXPECT_EQ(Resolve(kBase, L"../.."), L"http://a/");
  EXPECT_EQ(Resolve(kBase, L"../../g"), L"http://a/g");
}

TEST(PageUrl, AbnormalExamplesOfRfc3986) {
  EXPECT_EQ(Resolve(kBase, L"../../../g"), L"http://a/g");
  EXPECT_EQ(Resolve(kBase, L"/./g"), L"http://a/g");
  EXPECT_EQ(Resolve(kBase, L"/../g"), L"http://a/g");
  EXPECT_EQ(Resolve(kBase, L"g."), L"http://a/b/c/g.");
  EXPECT_EQ(Resolve(kBase, L"..g"), L"http://a/b/c/..g");
  EXPECT_EQ(Resolve(kBase, L"./g/."), L"http://a/b/c/g/");
  EXPECT_EQ(Resolve(kBase, L"g/../h"), L"http://a/b/c/h");
  EXPECT_EQ(Resolve(kBase, L"g;x=1/../y"), L"http://a/b/c/y");
  EXPECT_EQ(Resolve(kBase, L"g?y/./x"), L"http://a/b/c/g?y/./x");
  EXPECT_EQ(Resolve(kBase, L"g#s/../x"), L"http://a/b/c/g#s/../x");
}

TEST(PageUrl, PagesOnAPortAndAHostWithoutPath) {
  EXPECT_EQ(Resolve(L"http://127.0.0.1:18472", L"frame.html"), L"http://127.0.0.1:18472/frame.html");
  EXPECT_EQ(Resolve(L"http://127.0.0.1:18472/login/index.php?a=1", L"f/one.html"),
            L"http://127.0.0.1:18472/login/f/one.html");
  EXPECT_EQ(Resolve(L"https://h/x/", L"//cdn.example/y"), L"https://cdn.example/y");
}

TEST(PageUrl, BrowserLeniency) {
  // Spaces around, line breaks inside, backslashes in http addresses.
  EXPECT_EQ(Resolve(L"http://h/a/b", L"  c.html \n"), L"http://h/a/c.html");
  EXPECT_EQ(Resolve(L"http://h/a/b", L"c\n.ht\tml"), L"http://h/a/c.html");
  EXPECT_EQ(Resolve(L"http://h/a/b", L"..\\x\\y.html?q=\\"), L"http://h/x/y.html?q=\\");
}

TEST(PageUrl, OtherSchemesStayAsWritten) {
  EXPECT_EQ(Resolve(L"http://h/a", L"app://loadgame|http://game.example/s1?u=1|x"),
            L"app://loadgame|http://game.example/s1?u=1|x");
  EXPECT_EQ(Resolve(L"http://h/a", L"APP://EXITGAME"), L"APP://EXITGAME");
  EXPECT_EQ(Resolve(L"http://h/a", L"about:blank"), L"about:blank");
}

TEST(PageUrl, SchemesAndFragments) {
  EXPECT_EQ(browser::url::Scheme(L"HTTP://x"), L"http");
  EXPECT_EQ(browser::url::Scheme(L"/relative"), L"");
  EXPECT_EQ(browser::url::Scheme(L"1http://x"), L"");
  EXPECT_TRUE(browser::url::IsHttp(L"https://x"));
  EXPECT_FALSE(browser::url::IsHttp(L"ftp://x"));
  EXPECT_TRUE(browser::url::IsAbout(L"about:blank"));
  EXPECT_TRUE(browser::url::IsScript(L"JavaScript:void(0)"));
  EXPECT_FALSE(browser::url::IsScript(L"app://exitgame"));
  EXPECT_EQ(browser::url::WithoutFragment(L"http://h/a#b#c"), L"http://h/a");
}

}  // namespace
