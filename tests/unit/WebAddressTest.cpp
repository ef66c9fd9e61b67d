// Addresses a page hands to the client: only web addresses, and what goes to
// the shell rebuilt so that nothing of the page's text reaches another
// program's command line as it stands.
#include <gtest/gtest.h>

#include "browser/WebAddress.h"

namespace browser {
namespace {

TEST(WebAddress, WebAddressesAreRebuiltWithTheirUnsafeCharactersEscaped) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"http://www.example.com/a/b?c=d#e", L"http://www.example.com/a/b?c=d#e"},
      {L"HTTPS://WWW.Example.COM:8443/Path", L"https://www.example.com:8443/Path"},
      {L"http://example.com", L"http://example.com/"},
      {L"http://example.com?q=1", L"http://example.com/?q=1"},
      {L"http://example.com/a b\"c", L"http://example.com/a%20b%22c"},
      {L"http://example.com/\" --new-window \"file:///C:/x", L"http://example.com/%22%20--new-window%20%22file:///C:/x"},
      {L"http://example.com/<x>{|}^`\\", L"http://example.com/%3Cx%3E%7B%7C%7D%5E%60%5C"},
      {L"http://example.com/游戏", L"http://example.com/%E6%B8%B8%E6%88%8F"},
      {L"http://example.com/%41", L"http://example.com/%41"},
      {L"http://[::1]:8080/x", L"http://[::1]:8080/x"},
      {L"http://127.0.0.1:00080/", L"http://127.0.0.1:80/"},
  };
  for (const auto& [given, rebuilt] : cases) {
    const auto address = RebuiltWebAddress(given);
    ASSERT_TRUE(address) << testing::PrintToString(std::wstring(given));
    EXPECT_EQ(*address, rebuilt);
  }
}

TEST(WebAddress, AnythingButAWellFormedWebAddressIsRefused) {
  for (const wchar_t* bad : {L"file:///C:/windows/win.ini", L"\\\\host\\share\\x", L"//host/share", L"ftp://example.com/",
                             L"javascript:alert(1)", L"app://loadgame|x", L"mailto:a@b", L"http:/example.com",
                             L"http://", L"http:///path", L"http://user:pw@example.com/", L"http://exa mple.com/",
                             L"http://example.com:0/", L"http://example.com:65536/", L"http://example.com:80x/",
                             L"http://例子.com/", L"http://.example.com/", L"http://example.com/\r\nHost: x",
                             L"http://example.com/a\tb", L"http://example.com\\@evil.com/", L"http://[::1/",
                             L"  http://example.com/", L"http://example.com/\xD800"})
    EXPECT_FALSE(RebuiltWebAddress(bad)) << testing::PrintToString(std::wstring(bad));
}

}  // namespace
}  // namespace browser
