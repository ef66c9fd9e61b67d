// The system browser control in our OLE container, under Wine. Wine's control
// creates, activates in place, navigates and raises BeforeNavigate2 (with the
// exact address and a working Cancel) and DownloadBegin; it never completes a
// document, changes a title, asks for a new window or shows a context menu
// (it has no HTML engine here), so those paths are not exercised.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "browser/SystemWebView.h"
#include "tests/win/PlainPageTestServer.h"

using pagetest::ParentWindow;
using pagetest::PumpPending;
using pagetest::PumpUntil;
using pagetest::Recorder;
using pagetest::TestHttpServer;

namespace {

class WebViewSystemControl : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.ok());
    view = browser::CreateWebView(parent.hwnd(), 10, 10, 500, 300);
    ASSERT_TRUE(view) << "the browser control could not be created";
    rec = std::make_unique<Recorder>(*view);
  }

  TestHttpServer server;
  ParentWindow parent;
  std::unique_ptr<browser::WebView> view;
  std::unique_ptr<Recorder> rec;
};

TEST_F(WebViewSystemControl, CreatesItsWindowWithTheControlInside) {
  EXPECT_NE(dynamic_cast<browser::SystemWebView*>(view.get()), nullptr);
  HWND host = view->hWnd();
  ASSERT_TRUE(::IsWindow(host));
  EXPECT_EQ(::GetParent(host), parent.hwnd());
  EXPECT_NE(::GetWindow(host, GW_CHILD), nullptr) << "the control is active in place in the host window";
  view->Move(20, 30, 200, 100);
  RECT r{};
  ::GetClientRect(host, &r);
  EXPECT_EQ(r.right, 200);
  EXPECT_EQ(r.bottom, 100);
}

TEST_F(WebViewSystemControl, BeforeNavigate2CarriesTheExactAddress) {
  server.Page("/login.php", "<title>x</title>");
  const std::wstring url = server.Url("/login.php?user=a%20b&x=1");
  view->Navigate(url);
  ASSERT_TRUE(PumpUntil([&] { return rec->Count(L"BN ") >= 1; }));
  EXPECT_EQ(rec->With(L"BN ").front(), L"BN " + url);
  // Not cancelled, the control asks the server for it.
  EXPECT_TRUE(PumpUntil([&] { return server.Count("/login.php?user=a%20b&x=1") == 1; }));
  EXPECT_TRUE(PumpUntil([&] { return rec->Count(L"DB") >= 1; }));
}

TEST_F(WebViewSystemControl, CancelInBeforeNavigate2StopsTheRequest) {
  server.Page("/blocked.html", "no");
  server.Page("/allowed.html", "yes");
  rec->onBefore = [&](const std::wstring& url, bool& cancel) { cancel = url == server.Url("/blocked.html"); };
  view->Navigate(server.Url("/blocked.html"));
  ASSERT_TRUE(rec->Has(L"BN " + server.Url("/blocked.html")) ||
              PumpUntil([&] { return rec->Has(L"BN " + server.Url("/blocked.html")); }));
  view->Navigate(server.Url("/allowed.html"));
  ASSERT_TRUE(PumpUntil([&] { return server.Count("/allowed.html") == 1; }));
  PumpPending();
  EXPECT_EQ(server.Count("/blocked.html"), 0);
}

TEST_F(WebViewSystemControl, ARefusedConnectionRaisesNavigateErrorForTheTopDocument) {
  // A port that was just free: nothing listens there.
  const std::wstring url = L"http://127.0.0.1:" + std::to_wstring(TestHttpServer::UnusedPort()) + L"/login.php";
  view->Navigate(url);
  ASSERT_TRUE(PumpUntil([&] { return rec->Count(L"NE ") >= 1; }));
  const std::wstring line = rec->With(L"NE ").front();
  EXPECT_EQ(line.rfind(L"NE " + url + L" 800C", 0), 0u) << line;  // a failure, not an HTTP status
  EXPECT_EQ(line.substr(line.size() - 4), L" top");
  EXPECT_EQ(rec->Count(L"DC "), 0);
}

TEST_F(WebViewSystemControl, DeletingTheViewInsideBeforeNavigate2) {
  server.Page("/x.html", "x");
  HWND host = view->hWnd();
  rec->onBefore = [&](const std::wstring&, bool& cancel) {
    cancel = true;
    view.reset();
  };
  // The view goes while the control is inside Navigate; the control itself is
  // released once that call has returned.
  view->Navigate(server.Url("/x.html"));
  EXPECT_FALSE(view);
  PumpPending();
  EXPECT_FALSE(::IsWindow(host));
  EXPECT_EQ(server.Count("/x.html"), 0);
}

TEST_F(WebViewSystemControl, ParentWindowGoingFirstLeavesTheViewSafe) {
  HWND host = view->hWnd();
  ::DestroyWindow(parent.hwnd());
  EXPECT_FALSE(::IsWindow(host));
  EXPECT_EQ(view->hWnd(), nullptr);
  // Calls on a view whose window has gone do nothing.
  view->Navigate(server.Url("/after.html"));
  view->Refresh();
  EXPECT_EQ(view->RootInnerHtml(), L"");
  view.reset();
  PumpPending();
  EXPECT_EQ(server.Count("/after.html"), 0);
}

TEST_F(WebViewSystemControl, SilentIsTheControlsProperty) {
  view->SetSilent(true);
  EXPECT_TRUE(view->Silent());
  view->SetSilent(false);
  EXPECT_FALSE(view->Silent());
}

TEST_F(WebViewSystemControl, WithoutADocumentTheRootIsEmpty) {
  // Wine's control never has a document: no root HTML, no root style, and
  // setting one changes nothing.
  EXPECT_EQ(view->RootInnerHtml(), L"");
  view->SetRootStyle(L"overflow", L"hidden");
  EXPECT_EQ(view->RootStyle(L"overflow"), L"");
}

}  // namespace
