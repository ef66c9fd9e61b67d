// The tests' stand-in for the system browser control (tests/testbrowser),
// registered as CLSID_WebBrowser in this prefix, hosted by the client's own
// container against a real server on 127.0.0.1.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "browser/WebView.h"
#include "tests/win/PlainPageTestServer.h"

using pagetest::ParentWindow;
using pagetest::PumpPending;
using pagetest::PumpUntil;
using pagetest::Recorder;
using pagetest::TestHttpServer;

namespace {

// Just enough of JSON to tell a well-formed object a line from anything else.
class JsonCheck {
 public:
  explicit JsonCheck(const std::string& text) : s_(text) {}
  bool Object() {
    Space();
    if (!Eat('{')) return false;
    Space();
    if (Eat('}')) return End();
    do {
      Space();
      if (!String()) return false;
      Space();
      if (!Eat(':') || !Value()) return false;
      Space();
    } while (Eat(','));
    return Eat('}') && End();
  }

 private:
  bool End() {
    Space();
    return i_ == s_.size();
  }
  void Space() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t')) ++i_;
  }
  bool Eat(char c) { return i_ < s_.size() && s_[i_] == c ? (++i_, true) : false; }
  bool String() {
    if (!Eat('"')) return false;
    while (i_ < s_.size() && s_[i_] != '"') {
      if (static_cast<unsigned char>(s_[i_]) < 0x20) return false;
      if (s_[i_] == '\\') ++i_;
      ++i_;
    }
    return Eat('"');
  }
  bool Value() {
    Space();
    if (i_ < s_.size() && s_[i_] == '"') return String();
    for (const char* word : {"true", "false", "null"}) {
      if (s_.compare(i_, std::strlen(word), word) == 0) return (i_ += std::strlen(word), true);
    }
    const std::size_t start = i_;
    if (i_ < s_.size() && s_[i_] == '-') ++i_;
    while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9') ++i_;
    return i_ > start;
  }
  const std::string& s_;
  std::size_t i_ = 0;
};

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  ::GetClassNameW(hwnd, name, 64);
  return name;
}

class TestBrowser : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t dir[MAX_PATH];
    ::GetTempPathW(MAX_PATH, dir);
    // A file of its own for each test: the control opens the one named anew.
    static int test = 0;
    logPath = std::wstring(dir) + L"velmora-test-browser-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
              std::to_wstring(++test) + L".log";
    ::DeleteFileW(logPath.c_str());
    ::SetEnvironmentVariableW(L"VELMORA_TEST_BROWSER_LOG", logPath.c_str());
    ASSERT_TRUE(server.ok());
  }
  void TearDown() override {
    view.reset();
    PumpPending();
    ::SetEnvironmentVariableW(L"VELMORA_TEST_BROWSER_LOG", nullptr);
    ::SetEnvironmentVariableW(L"VELMORA_TEST_BROWSER_REFUSE", nullptr);
    ::DeleteFileW(logPath.c_str());
  }
  void Create() {
    view = browser::CreateWebView(parent.hwnd(), 0, 0, 400, 300);
    ASSERT_TRUE(view);
    HWND page = ::GetWindow(view->hWnd(), GW_CHILD);
    ASSERT_EQ(ClassOf(page), L"VelmoraPlainPage") << "CLSID_WebBrowser is not the stand-in in this prefix";
    rec = std::make_unique<Recorder>(*view);
  }
  std::vector<std::string> LogLines() const {
    std::ifstream in(std::string(logPath.begin(), logPath.end()));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  std::vector<std::string> LinesWith(const std::string& text) const {
    std::vector<std::string> found;
    for (const std::string& line : LogLines()) {
      if (line.find(text) != std::string::npos) found.push_back(line);
    }
    return found;
  }

  std::wstring logPath;
  TestHttpServer server;
  ParentWindow parent;
  std::unique_ptr<browser::WebView> view;
  std::unique_ptr<Recorder> rec;
};

TEST_F(TestBrowser, APageCompletesItsFramesFirstAndHasAHeadAndABody) {
  Create();
  server.Page("/top.html", "<html><head><title>Top</title></head><body><p>text</p><iframe src='a.html'></iframe>"
                           "</body></html>");
  server.Page("/a.html", "<p>frame</p>");
  view->Navigate(server.Url("/top.html"));
  ASSERT_TRUE(PumpUntil([&] { return rec->TopCompleted(); }));
  EXPECT_EQ(rec->With(L"DC "), (std::vector<std::wstring>{L"DC " + server.Url("/a.html") + L" frame",
                                                           L"DC " + server.Url("/top.html") + L" top"}));
  EXPECT_EQ(rec->With(L"TC "), (std::vector<std::wstring>{L"TC " + server.Url("/top.html"), L"TC Top"}));
  EXPECT_EQ(view->RootInnerHtml(),
            L"<HEAD><TITLE>Top</TITLE></HEAD>\r\n<BODY><P>text</P><IFRAME src='a.html'></IFRAME></BODY>");
  EXPECT_EQ(view->DocumentUrl(), server.Url("/top.html"));
  view->SetRootStyle(L"overflow", L"hidden");
  EXPECT_EQ(view->RootStyle(L"overflow"), L"hidden");
}

TEST_F(TestBrowser, BeforeAnyNavigationThereIsNoDocument) {
  Create();
  EXPECT_EQ(view->DocumentUrl(), L"");
  EXPECT_EQ(view->RootInnerHtml(), L"");
  server.Page("/empty.html", "");
  view->Navigate(server.Url("/empty.html"));
  ASSERT_TRUE(PumpUntil([&] { return rec->TopCompleted(); }));
  EXPECT_EQ(view->RootInnerHtml(), L"<HEAD></HEAD>\r\n<BODY></BODY>") << "the parser fills in an empty page";
}

TEST_F(TestBrowser, CancelInBeforeNavigate2KeepsThePageAway) {
  Create();
  server.Page("/no.html", "<title>no</title>");
  rec->onBefore = [](const std::wstring&, bool& cancel) { cancel = true; };
  view->Navigate(server.Url("/no.html"));
  ASSERT_TRUE(rec->Has(L"BN " + server.Url("/no.html")));  // raised inside Navigate
  PumpPending();
  EXPECT_EQ(server.Count("/no.html"), 0);
  const auto answers = LinesWith("{\"event\":\"BeforeNavigate2\"");
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_NE(answers[0].find("\"cancel\":true"), std::string::npos) << answers[0];
}

TEST_F(TestBrowser, TheLogIsOneJsonObjectALineWithTheDepthOfEvents) {
  Create();
  server.Page("/p.html", "<title>\"quoted\" \\ 页</title>");
  view->Navigate(server.Url("/p.html"));
  ASSERT_TRUE(PumpUntil([&] { return rec->TopCompleted(); }));
  view.reset();
  const auto lines = LogLines();
  ASSERT_GT(lines.size(), 10u);
  for (const std::string& line : lines) {
    EXPECT_TRUE(JsonCheck(line).Object()) << line;
    EXPECT_NE(line.find("\"depth\":"), std::string::npos) << line;
  }
  const auto navigate = LinesWith("{\"call\":\"Navigate\"");
  ASSERT_EQ(navigate.size(), 1u);
  EXPECT_NE(navigate[0].find("\"depth\":0"), std::string::npos) << navigate[0];
  const auto done = LinesWith("{\"event\":\"DocumentComplete\"");
  ASSERT_EQ(done.size(), 1u);
  EXPECT_NE(done[0].find("\"top\":true,\"dispid\":259"), std::string::npos) << done[0];
  EXPECT_NE(done[0].find("\"depth\":1"), std::string::npos) << done[0];
  // Quotes, backslashes and Chinese text come out escaped and in UTF-8.
  EXPECT_EQ(LinesWith("{\"event\":\"TitleChange\",\"title\":\"\\\"quoted\\\" \\\\ 页\"").size(), 1u);
  EXPECT_EQ(LinesWith("{\"call\":\"Close\"").size(), 1u);
  EXPECT_EQ(LinesWith("{\"call\":\"Release\"").size(), 1u) << "the last reference went";
}

TEST_F(TestBrowser, ANewWindowNobodyTakesIsTheControlsOwn) {
  ::SetEnvironmentVariableW(L"VELMORA_TEST_BROWSER_REFUSE", L"NewWindow3");
  Create();
  server.Page("/pop.html", "<script>window.open('http://127.0.0.1:9/x.html')</script>");
  view->Navigate(server.Url("/pop.html"));
  ASSERT_TRUE(PumpUntil([&] { return rec->TopCompleted(); }));
  EXPECT_EQ(rec->With(L"NW "), std::vector<std::wstring>{L"NW http://127.0.0.1:9/x.html"});
  EXPECT_EQ(LinesWith("{\"raise\":\"NewWindow2\"").size(), 1u);
  EXPECT_EQ(LinesWith("{\"raise\":\"NewWindow3\"").size(), 0u) << "an older control";
  EXPECT_EQ(LinesWith("{\"event\":\"OwnWindow\",\"url\":\"http://127.0.0.1:9/x.html\"").size(), 1u);
  rec->onNewWindow = [](const std::wstring&, bool& processed) { processed = true; };
  view->Refresh();
  ASSERT_TRUE(PumpUntil([&] { return rec->TopCompleted(2); }));
  EXPECT_EQ(LinesWith("{\"event\":\"OwnWindow\"").size(), 1u) << "processed by the host";
}

}  // namespace
