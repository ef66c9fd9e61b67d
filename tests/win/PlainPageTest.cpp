// The plain page engine against a real HTTP server on 127.0.0.1, with real
// windows and messages under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "tests/support/PageFetcher.h"
#include "tests/support/PlainPageView.h"
#include "tests/win/PlainPageTestServer.h"

using pagetest::Answer;
using pagetest::ParentWindow;
using pagetest::PumpPending;
using pagetest::PumpUntil;
using pagetest::Recorder;
using pagetest::TestHttpServer;

namespace {

// Timer procedures of the tests (window-system callbacks: plain functions).
int g_ticks = 0;
TestHttpServer* g_heldServer = nullptr;
void CALLBACK ReleaseAfterThreeTicks(HWND, UINT, UINT_PTR, DWORD) {
  if (++g_ticks == 3 && g_heldServer) g_heldServer->Release();
}

std::wstring g_menuItem;
bool g_menuChosen = false;
void CALLBACK ChooseFirstMenuItem(HWND, UINT, UINT_PTR, DWORD) {
  HWND menu = ::FindWindowW(L"#32768", nullptr);
  if (!menu || !::IsWindowVisible(menu) || g_menuChosen) return;
  HMENU handle = reinterpret_cast<HMENU>(::SendMessageW(menu, MN_GETHMENU, 0, 0));
  wchar_t text[32] = {};
  if (handle) ::GetMenuStringW(handle, 0, text, 32, MF_BYPOSITION);
  g_menuItem = text;
  g_menuChosen = true;
  ::PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
}

class PlainPage : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.ok());
    ASSERT_TRUE(parent.hwnd());
    view = browser::PlainPageView::Create(parent.hwnd(), 0, 0, 600, 400);
    ASSERT_TRUE(view);
    rec = std::make_unique<Recorder>(*view);
  }
  void TearDown() override {
    view.reset();
    // Nothing of the transfers may outlive the test.
    EXPECT_TRUE(PumpUntil([] { return browser::PageFetcher::Instance().TransfersHeld() == 0; }, 5000));
  }

  bool WaitTop(int n = 1) {
    return PumpUntil([&] { return rec->TopCompleted(n); });
  }

  // Clicks link `index` of the shown page with real mouse messages.
  void Click(int index) {
    RECT r{};
    ASSERT_TRUE(view->LinkRect(index, r)) << "link " << index << " is not shown";
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ::PostMessageW(view->hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(view->hWnd(), WM_LBUTTONUP, 0, at);
  }

  TestHttpServer server;
  ParentWindow parent;
  std::unique_ptr<browser::PlainPageView> view;
  std::unique_ptr<Recorder> rec;
};

TEST_F(PlainPage, PageWithTitleAndBody) {
  server.Page("/login.html",
              "<!DOCTYPE html><html><head><title>Velmora \xE5\xAE\xA2\xE6\x88\xB7\xE7\xAB\xAF &amp; more</title></head>"
              "<body><p>hello</p></body></html>");
  const std::wstring url = server.Url("/login.html");
  view->Navigate(url);
  EXPECT_TRUE(rec->lines.empty()) << "Navigate returns before any event";
  ASSERT_TRUE(WaitTop());
  EXPECT_EQ(rec->lines, (std::vector<std::wstring>{L"BN " + url, L"DB", L"TC Velmora 客户端 & more", L"DC " + url + L" top"}));
  EXPECT_EQ(view->RootInnerHtml(), L"<head><title>Velmora 客户端 &amp; more</title></head><body><p>hello</p></body>");
  EXPECT_EQ(view->DocumentUrl(), url);
  ASSERT_EQ(server.Count("/login.html"), 1);
  EXPECT_NE(server.Requests()[0].userAgent.find("Velmora"), std::string::npos);
}

TEST_F(PlainPage, FramesCompleteFirstAndTheTopDocumentLast) {
  server.Page("/top.html", "<title>top</title><iframe src='a.html'></iframe><iframe src=\"sub/b.html\"></iframe>");
  server.Page("/a.html", "<p>frame a</p>");
  server.Page("/sub/b.html", "<p>frame b</p><iframe src='../c.html'></iframe>");
  server.Page("/c.html", "<p>frame c</p>");
  view->Navigate(server.Url("/top.html"));
  ASSERT_TRUE(WaitTop());
  EXPECT_EQ(rec->With(L"DC "), (std::vector<std::wstring>{
                                   L"DC " + server.Url("/a.html") + L" frame",
                                   L"DC " + server.Url("/c.html") + L" frame",
                                   L"DC " + server.Url("/sub/b.html") + L" frame",
                                   L"DC " + server.Url("/top.html") + L" top",
                               }));
  EXPECT_EQ(rec->With(L"BN "), (std::vector<std::wstring>{
                                   L"BN " + server.Url("/top.html"),
                                   L"BN " + server.Url("/a.html"),
                                   L"BN " + server.Url("/sub/b.html"),
                                   L"BN " + server.Url("/c.html"),
                               }));
  EXPECT_EQ(rec->Count(L"DB"), 4);
  // The top document is what the view shows, also while its frames load.
  EXPECT_EQ(view->DocumentUrl(), server.Url("/top.html"));
}

TEST_F(PlainPage, CancelledFrameIsNeitherFetchedNorCompleted) {
  server.Page("/top.html", "<iframe src='skip.html'></iframe><iframe src='keep.html'></iframe>");
  server.Page("/keep.html", "k");
  rec->onBefore = [&](const std::wstring& url, bool& cancel) { cancel = url == server.Url("/skip.html"); };
  view->Navigate(server.Url("/top.html"));
  ASSERT_TRUE(WaitTop());
  EXPECT_EQ(server.Count("/skip.html"), 0);
  EXPECT_EQ(server.Count("/keep.html"), 1);
  EXPECT_EQ(rec->With(L"DC "), (std::vector<std::wstring>{L"DC " + server.Url("/keep.html") + L" frame",
                                                          L"DC " + server.Url("/top.html") + L" top"}));
}

TEST_F(PlainPage, PageThatFramesItselfStopsAtTheDepthLimit) {
  server.Page("/loop.html", "<iframe src='loop.html'></iframe>");
  view->Navigate(server.Url("/loop.html"));
  ASSERT_TRUE(WaitTop());
  EXPECT_EQ(rec->Count(L"DC "), browser::PlainPageView::kMaxFrameDepth + 1);
  EXPECT_EQ(server.Count("/loop.html"), browser::PlainPageView::kMaxFrameDepth + 1);
}

TEST_F(PlainPage, MetaRefreshAtOnceNavigatesToTheSecondPage) {
  server.Page("/first.html", "<meta http-equiv=\"Refresh\" content=\"0; URL='second.html'\"><title>one</title>");
  server.Page("/second.html", "<title>two</title>");
  view->Navigate(server.Url("/first.html"));
  ASSERT_TRUE(WaitTop(2));
  EXPECT_EQ(rec->lines, (std::vector<std::wstring>{
                            L"BN " + server.Url("/first.html"), L"DB", L"TC one",
                            L"DC " + server.Url("/first.html") + L" top",
                            L"BN " + server.Url("/second.html"), L"DB", L"TC two",
                            L"DC " + server.Url("/second.html") + L" top"}));
  EXPECT_EQ(view->DocumentUrl(), server.Url("/second.html"));
}

TEST_F(PlainPage, MetaRefreshAfterASecondWaitsForItsTimer) {
  server.Page("/wait.html", "<meta http-equiv=refresh content='1;url=/after.html'>");
  server.Page("/after.html", "after");
  view->Navigate(server.Url("/wait.html"));
  ASSERT_TRUE(WaitTop());
  EXPECT_EQ(server.Count("/after.html"), 0);
  ASSERT_TRUE(WaitTop(2));
  EXPECT_EQ(view->DocumentUrl(), server.Url("/after.html"));
}

TEST_F(PlainPage, ANewNavigationDropsAPendingRefresh) {
  server.Page("/slowrefresh.html", "<meta http-equiv=refresh content='1;url=/never.html'>");
  server.Page("/other.html", "other");
  view->Navigate(server.Url("/slowrefresh.html"));
  ASSERT_TRUE(WaitTop());
  view->Navigate(server.Url("/other.html"));
  ASSERT_TRUE(WaitTop(2));
  PumpUntil([] { return false; }, 1500);  // past the time the refresh would have come
  EXPECT_EQ(server.Count("/never.html"), 0);
}

TEST_F(PlainPage, CancelInBeforeNavigate2SendsNoRequest) {
  server.Page("/blocked.html", "no");
  server.Page("/allowed.html", "yes");
  rec->onBefore = [&](const std::wstring& url, bool& cancel) { cancel = url == server.Url("/blocked.html"); };
  view->Navigate(server.Url("/blocked.html"));
  view->Navigate(server.Url("/allowed.html"));
  ASSERT_TRUE(WaitTop());
  // Navigations run in order: had the first gone out, the server would have seen it first.
  EXPECT_EQ(server.Count("/blocked.html"), 0);
  EXPECT_EQ(server.Count("/allowed.html"), 1);
  EXPECT_EQ(rec->Count(L"DB"), 1);
  EXPECT_EQ(view->DocumentUrl(), server.Url("/allowed.html"));
}

TEST_F(PlainPage, ALaterNavigationReplacesAnEarlierOne) {
  Answer held;
  held.body = "<title>first</title>";
  held.holdBody = true;
  server.Set("/first.html", held);
  server.Page("/second.html", "<title>second</title>");
  view->Navigate(server.Url("/first.html"));
  ASSERT_TRUE(PumpUntil([&] { return server.Count("/first.html") == 1; }));
  view->Navigate(server.Url("/second.html"));
  ASSERT_TRUE(WaitTop());
  server.Release();
  PumpPending();
  EXPECT_EQ(rec->With(L"BN ").size(), 2u);
  EXPECT_EQ(rec->With(L"DC "), (std::vector<std::wstring>{L"DC " + server.Url("/second.html") + L" top"}));
  EXPECT_FALSE(rec->Has(L"TC first"));
}

TEST_F(PlainPage, EmptyAnswerHasAnEmptyRoot) {
  server.Page("/empty.html", "");
  view->Navigate(server.Url("/empty.html"));
  ASSERT_TRUE(WaitTop());
  EXPECT_EQ(view->RootInnerHtml(), L"");
  EXPECT_EQ(view->DocumentUrl(), server.Url("/empty.html"));
  EXPECT_EQ(rec->Count(L"TC"), 0);
}

TEST_F(PlainPage, RefusedConnectionRaisesNavigateErrorThenShowsTheErrorPage) {
  server.Page("/good.html", "<title>good</title><body>content</body>");
  view->Navigate(server.Url("/good.html"));
  ASSERT_TRUE(WaitTop());
  wchar_t caption[64] = {};
  ::GetWindowTextW(view->hWnd(), caption, 64);
  EXPECT_STREQ(caption, L"good");
  const std::wstring refused = L"http://127.0.0.1:" + std::to_wstring(TestHttpServer::UnusedPort()) + L"/login";
  view->Navigate(refused);
  ASSERT_TRUE(WaitTop(2));
  const auto tail = std::vector<std::wstring>(rec->lines.end() - 3, rec->lines.end());
  EXPECT_EQ(tail, (std::vector<std::wstring>{L"NE " + refused + L" 800C0004 top",
                                             std::wstring(L"TC ") + browser::PlainPageView::kErrorTitle,
                                             L"DC " + refused + L" top"}));
  EXPECT_NE(view->RootInnerHtml().find(refused), std::wstring::npos);
  EXPECT_EQ(view->DocumentUrl(), refused);
  ::GetWindowTextW(view->hWnd(), caption, 64);
  EXPECT_STREQ(caption, browser::PlainPageView::kErrorTitle);

  // Cancelled, the error page is not shown: the document is empty.
  rec->onError = [](const std::wstring&, long, bool, bool& cancel) { cancel = true; };
  view->Navigate(refused);
  ASSERT_TRUE(WaitTop(3));
  EXPECT_EQ(view->RootInnerHtml(), L"");
  EXPECT_EQ(rec->Count(L"NE "), 2);
}

TEST_F(PlainPage, ErrorStatusBodyIsTheDocument) {
  Answer gone;
  gone.status = "404 Not Found";
  gone.body = "<html><body>gone</body></html>";
  server.Set("/gone.html", gone);
  Answer broken;
  broken.status = "500 Internal Server Error";
  broken.contentType = "text/plain";
  broken.body = "oops";
  server.Set("/broken", broken);
  view->Navigate(server.Url("/gone.html"));
  ASSERT_TRUE(WaitTop());
  EXPECT_EQ(view->RootInnerHtml(), L"<body>gone</body>");
  view->Navigate(server.Url("/broken"));
  ASSERT_TRUE(WaitTop(2));
  EXPECT_EQ(view->RootInnerHtml(), L"oops");
}

TEST_F(PlainPage, ChunkedAnswerArrivesWhole) {
  std::string body = "<html><head><title>chunked</title></head><body>";
  for (int i = 0; i < 300; ++i) body += "<p>line " + std::to_string(i) + "</p>";
  body += "</body></html>";
  Answer a;
  a.body = body;
  a.chunked = true;
  a.chunkSize = 700;
  server.Set("/chunked.html", a);
  view->Navigate(server.Url("/chunked.html"));
  ASSERT_TRUE(WaitTop());
  EXPECT_TRUE(rec->Has(L"TC chunked"));
  std::wstring expected = pagetest::Widen(body.substr(6, body.size() - 6 - 7));
  EXPECT_EQ(view->RootInnerHtml(), expected);
}

TEST_F(PlainPage, SlowAnswerLeavesTheMessageLoopRunning) {
  Answer a;
  a.body = "<title>slow</title>";
  a.holdBody = true;
  server.Set("/slow.html", a);
  // The server sends the body only once a timer of this thread has fired
  // three times while the page was loading: a blocked loop would never get there.
  g_ticks = 0;
  g_heldServer = &server;
  UINT_PTR timer = ::SetTimer(nullptr, 0, 30, &ReleaseAfterThreeTicks);
  view->Navigate(server.Url("/slow.html"));
  ASSERT_TRUE(PumpUntil([&] { return rec->Count(L"DB") == 1; }));
  EXPECT_TRUE(view->Loading());
  ASSERT_TRUE(WaitTop());
  ::KillTimer(nullptr, timer);
  g_heldServer = nullptr;
  EXPECT_GE(g_ticks, 3);
  EXPECT_TRUE(rec->Has(L"TC slow"));
}

TEST_F(PlainPage, CharsetOfTheAnswerIsHonoured) {
  Answer a;
  a.contentType = "text/html; charset=GBK";
  a.body = "<title>\xD6\xD0\xCE\xC4</title>";  // 中文 in GBK
  server.Set("/gbk.html", a);
  Answer meta;
  meta.contentType = "text/html";
  meta.body = "<meta charset='windows-1252'><title>caf\xE9</title>";
  server.Set("/meta.html", meta);
  view->Navigate(server.Url("/gbk.html"));
  ASSERT_TRUE(WaitTop());
  view->Navigate(server.Url("/meta.html"));
  ASSERT_TRUE(WaitTop(2));
  EXPECT_TRUE(rec->Has(L"TC 中文"));
  EXPECT_TRUE(rec->Has(L"TC café"));
}

TEST_F(PlainPage, ClickOnALinkWithTargetBlankAsksForANewWindow) {
  server.Page("/links.html", "<title>l</title><p><a href='pay.html' target='_blank'>Pay now</a></p>");
  view->Navigate(server.Url("/links.html"));
  ASSERT_TRUE(WaitTop());
  rec->onNewWindow = [](const std::wstring&, bool& processed) { processed = true; };
  Click(0);
  ASSERT_TRUE(PumpUntil([&] { return rec->Count(L"NW ") == 1; }));
  EXPECT_EQ(rec->With(L"NW "), (std::vector<std::wstring>{L"NW " + server.Url("/pay.html")}));
  PumpPending();
  EXPECT_EQ(rec->Count(L"BN "), 1) << "the view itself stays on its page";
  EXPECT_EQ(server.Count("/pay.html"), 0);
}

TEST_F(PlainPage, UnprocessedNewWindowIsDropped) {
  server.Page("/links.html", "<p><a href='pop.html' target='game'>Pop</a></p>");
  view->Navigate(server.Url("/links.html"));
  ASSERT_TRUE(WaitTop());
  Click(0);
  ASSERT_TRUE(PumpUntil([&] { return rec->Count(L"NW ") == 1; }));
  PumpPending();
  EXPECT_EQ(server.Count("/pop.html"), 0);
  EXPECT_EQ(view->DocumentUrl(), server.Url("/links.html"));
}

TEST_F(PlainPage, WindowOpenInAScriptAndInAnOnclick) {
  server.Page("/scripts.html",
              "<script>window.open('ad.html','_blank');</script>"
              "<a href='#' onclick=\"window.open('http://127.0.0.1:1/help'); return false;\">Help</a>");
  view->Navigate(server.Url("/scripts.html"));
  ASSERT_TRUE(WaitTop());
  EXPECT_EQ(rec->With(L"NW "), (std::vector<std::wstring>{L"NW " + server.Url("/ad.html")}));
  Click(0);
  ASSERT_TRUE(PumpUntil([&] { return rec->Count(L"NW ") == 2; }));
  EXPECT_EQ(rec->lines.back(), L"NW http://127.0.0.1:1/help");
}

TEST_F(PlainPage, PlainLinkClickNavigatesTheView) {
  server.Page("/one.html", "<p>Go <a href='two.html'>to page two</a></p>");
  server.Page("/two.html", "<title>two</title>");
  view->Navigate(server.Url("/one.html"));
  ASSERT_TRUE(WaitTop());
  Click(0);
  ASSERT_TRUE(WaitTop(2));
  EXPECT_TRUE(rec->Has(L"BN " + server.Url("/two.html")));
  EXPECT_EQ(view->DocumentUrl(), server.Url("/two.html"));
}

TEST_F(PlainPage, AnAddressOfAnotherSchemeLetThroughIsANavigationError) {
  server.Page("/cmd.html", "<button onclick=\"location.href='app://minimize'\">min</button>");
  view->Navigate(server.Url("/cmd.html"));
  ASSERT_TRUE(WaitTop());
  // Cancelled where the error is reported, the page stays.
  rec->onError = [](const std::wstring&, long, bool, bool& cancel) { cancel = true; };
  Click(0);
  ASSERT_TRUE(PumpUntil([&] { return rec->Has(L"NE app://minimize 800C000D top"); }));
  PumpPending();
  EXPECT_EQ(view->DocumentUrl(), server.Url("/cmd.html"));
  EXPECT_EQ(rec->CountTop(), 1);
  // Let through, the error page takes its place, as in the system control.
  rec->onError = nullptr;
  Click(0);
  ASSERT_TRUE(WaitTop(2));
  EXPECT_EQ(view->DocumentUrl(), L"app://minimize");
  EXPECT_NE(view->RootInnerHtml().find(browser::PlainPageView::kErrorTitle), std::wstring::npos);
  // Cancelled before it starts, there is nothing to report.
  rec->onBefore = [](const std::wstring&, bool& cancel) { cancel = true; };
  view->Navigate(L"app://exitgame");
  PumpPending();
  EXPECT_FALSE(rec->Has(L"NE app://exitgame 800C000D top"));
}

TEST_F(PlainPage, ClickBesideALinkDoesNothing) {
  server.Page("/one.html", "<p><a href='two.html'>x</a></p>");
  view->Navigate(server.Url("/one.html"));
  ASSERT_TRUE(WaitTop());
  RECT r{};
  ASSERT_TRUE(view->LinkRect(0, r));
  LPARAM beside = MAKELPARAM(r.right + 40, r.top + 2);
  ::PostMessageW(view->hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, beside);
  ::PostMessageW(view->hWnd(), WM_LBUTTONUP, 0, beside);
  PumpPending();
  EXPECT_EQ(rec->Count(L"BN "), 1);
}

TEST_F(PlainPage, DeletingTheViewInsideBeforeNavigate2) {
  server.Page("/x.html", "x");
  rec->onBefore = [&](const std::wstring&, bool&) { view.reset(); };
  HWND hwnd = view->hWnd();
  view->Navigate(server.Url("/x.html"));
  ASSERT_TRUE(PumpUntil([&] { return !view; }));
  PumpPending();
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_EQ(server.Count("/x.html"), 0);
}

TEST_F(PlainPage, DeletingTheViewInsideAFramesDocumentComplete) {
  server.Page("/top.html", "<iframe src='f1.html'></iframe><iframe src='f2.html'></iframe>");
  server.Page("/f1.html", "1");
  server.Page("/f2.html", "2");
  rec->onComplete = [&](const std::wstring&, bool) { view.reset(); };
  view->Navigate(server.Url("/top.html"));
  ASSERT_TRUE(PumpUntil([&] { return !view; }));
  PumpPending();
  EXPECT_EQ(rec->Count(L"DC "), 1);
  EXPECT_EQ(server.Count("/f2.html"), 0);
}

TEST_F(PlainPage, DeletingTheViewInsideTheTopDocumentComplete) {
  server.Page("/r.html", "<meta http-equiv=refresh content='0;url=next.html'>");
  rec->onComplete = [&](const std::wstring&, bool top) {
    if (top) view.reset();
  };
  view->Navigate(server.Url("/r.html"));
  ASSERT_TRUE(PumpUntil([&] { return !view; }));
  PumpPending();
  EXPECT_EQ(server.Count("/next.html"), 0);
}

TEST_F(PlainPage, DeletingTheViewWhileItsPageIsOnTheWay) {
  Answer a;
  a.body = "late";
  a.holdBody = true;
  server.Set("/held.html", a);
  view->Navigate(server.Url("/held.html"));
  // The server holds the body once the request has arrived: the page is on its way.
  ASSERT_TRUE(PumpUntil([&] { return server.Count("/held.html") == 1; }));
  view.reset();
  server.Release();
  PumpPending();

  // And from inside DownloadBegin, before the request may have left.
  view = browser::PlainPageView::Create(parent.hwnd(), 0, 0, 600, 400);
  rec = std::make_unique<Recorder>(*view);
  rec->onDownload = [&] { view.reset(); };
  view->Navigate(server.Url("/held.html"));
  ASSERT_TRUE(PumpUntil([&] { return !view; }));
  PumpPending();
  // TearDown waits for the fetcher to let go of the abandoned transfer.
}

TEST_F(PlainPage, DeletingTheViewInsideTitleChangeNewWindowOrContextMenu) {
  server.Page("/t.html", "<title>t</title><iframe src='f.html'></iframe>");
  rec->onTitle = [&](const std::wstring&) { view.reset(); };
  view->Navigate(server.Url("/t.html"));
  ASSERT_TRUE(PumpUntil([&] { return !view; }));
  PumpPending();
  EXPECT_EQ(server.Count("/f.html"), 0);
  EXPECT_EQ(rec->Count(L"DC "), 0);

  server.Page("/n.html", "<a href='p.html' target=_blank>p</a>");
  view = browser::PlainPageView::Create(parent.hwnd(), 0, 0, 600, 400);
  rec = std::make_unique<Recorder>(*view);
  view->Navigate(server.Url("/n.html"));
  ASSERT_TRUE(WaitTop());
  rec->onNewWindow = [&](const std::wstring&, bool&) { view.reset(); };
  Click(0);
  ASSERT_TRUE(PumpUntil([&] { return !view; }));

  view = browser::PlainPageView::Create(parent.hwnd(), 0, 0, 600, 400);
  rec = std::make_unique<Recorder>(*view);
  rec->onContextMenu = [&](bool&) { view.reset(); };
  ::PostMessageW(view->hWnd(), WM_CONTEXTMENU, 0, MAKELPARAM(50, 50));
  ASSERT_TRUE(PumpUntil([&] { return !view; }));
  PumpPending();
  HWND menu = ::FindWindowW(L"#32768", nullptr);
  EXPECT_FALSE(menu && ::IsWindowVisible(menu));
}

TEST_F(PlainPage, RootStyleRoundTripAndANewDocumentStartsAfresh) {
  EXPECT_EQ(view->RootStyle(L"overflow"), L"");
  server.Page("/s1.html", "<html style='color: red'><body>s</body></html>");
  server.Page("/s2.html", "<body>t</body>");
  view->Navigate(server.Url("/s1.html"));
  ASSERT_TRUE(WaitTop());
  EXPECT_EQ(view->RootStyle(L"color"), L"red");
  view->SetRootStyle(L"overflow", L"hidden");
  EXPECT_EQ(view->RootStyle(L"overflow"), L"hidden");
  EXPECT_EQ(view->RootStyle(L"color"), L"red");
  view->Navigate(server.Url("/s2.html"));
  ASSERT_TRUE(WaitTop(2));
  EXPECT_EQ(view->RootStyle(L"overflow"), L"");
}

TEST_F(PlainPage, LongPageScrollsUnlessOverflowIsHidden) {
  std::string body = "<body>";
  for (int i = 0; i < 200; ++i) body += "<p>row " + std::to_string(i) + "</p>";
  server.Page("/long.html", body);
  view->Navigate(server.Url("/long.html"));
  ASSERT_TRUE(WaitTop());
  auto hasBar = [&] { return (::GetWindowLongPtrW(view->hWnd(), GWL_STYLE) & WS_VSCROLL) != 0; };
  EXPECT_TRUE(hasBar());
  ::SendMessageW(view->hWnd(), WM_VSCROLL, SB_PAGEDOWN, 0);
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_POS;
  ::GetScrollInfo(view->hWnd(), SB_VERT, &si);
  EXPECT_GT(si.nPos, 0);
  view->SetRootStyle(L"overflow", L"hidden");
  EXPECT_FALSE(hasBar());
  ::SendMessageW(view->hWnd(), WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_FALSE(hasBar());
}

TEST_F(PlainPage, RefreshReloadsWithoutBeforeNavigate2) {
  server.Page("/again.html", "<title>again</title>");
  view->Navigate(server.Url("/again.html"));
  ASSERT_TRUE(WaitTop());
  view->Refresh();
  ASSERT_TRUE(WaitTop(2));
  EXPECT_EQ(server.Count("/again.html"), 2);
  EXPECT_EQ(rec->Count(L"BN "), 1);
}

TEST_F(PlainPage, AboutBlankIsAnEmptyDocument) {
  view->Navigate(L"about:blank");
  ASSERT_TRUE(WaitTop());
  EXPECT_EQ(rec->lines, (std::vector<std::wstring>{L"BN about:blank", L"DC about:blank top"}));
  EXPECT_EQ(view->RootInnerHtml(), L"");
  EXPECT_EQ(view->DocumentUrl(), L"about:blank");
}

TEST_F(PlainPage, RightButtonRaisesContextMenuAndShowFalseShowsNone) {
  server.Page("/cm.html", "<p>text</p>");
  view->Navigate(server.Url("/cm.html"));
  ASSERT_TRUE(WaitTop());
  rec->onContextMenu = [&](bool& show) { show = false; };
  ::PostMessageW(view->hWnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 20));
  ::PostMessageW(view->hWnd(), WM_RBUTTONUP, 0, MAKELPARAM(20, 20));
  ASSERT_TRUE(PumpUntil([&] { return rec->Count(L"CM") == 1; }));
  PumpPending();
  HWND menu = ::FindWindowW(L"#32768", nullptr);
  EXPECT_FALSE(menu && ::IsWindowVisible(menu));
}

TEST_F(PlainPage, ContextMenuLeftToShowOffersRefresh) {
  server.Page("/cm.html", "<p>text</p>");
  view->Navigate(server.Url("/cm.html"));
  ASSERT_TRUE(WaitTop());
  // While the menu is up, a timer finds it, reads its item and chooses it.
  g_menuItem.clear();
  g_menuChosen = false;
  UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &ChooseFirstMenuItem);
  ::PostMessageW(view->hWnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view->hWnd()), MAKELPARAM(100, 100));
  bool reloaded = WaitTop(2);
  ::KillTimer(nullptr, timer);
  if (!reloaded) ::EndMenu();
  EXPECT_EQ(g_menuItem, L"刷新");
  EXPECT_TRUE(reloaded);
  EXPECT_EQ(server.Count("/cm.html"), 2);
}

TEST_F(PlainPage, DrawsTitleTextAndBlueLinksOnWhite) {
  server.Page("/draw.html", "<title>Title</title><p>\xE4\xB8\xAD\xE6\x96\x87 text <a href='x.html'>link</a></p>");
  view->Navigate(server.Url("/draw.html"));
  ASSERT_TRUE(WaitTop());
  RECT client{};
  ::GetClientRect(view->hWnd(), &client);
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(dc, bmp);
  ::SendMessageW(view->hWnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  RECT link{};
  ASSERT_TRUE(view->LinkRect(0, link));
  int blue = 0, dark = 0, other = 0;
  for (int y = 0; y < client.bottom; ++y) {
    for (int x = 0; x < client.right; ++x) {
      COLORREF c = ::GetPixel(dc, x, y);
      if (c == RGB(255, 255, 255)) continue;
      bool inLink = x >= link.left && x < link.right && y >= link.top && y < link.bottom;
      if (inLink && GetBValue(c) > 150 && GetRValue(c) < 100) ++blue;
      else if (!inLink && GetRValue(c) < 100 && GetGValue(c) < 100 && GetBValue(c) < 100) ++dark;
      else if (!inLink) ++other;
    }
  }
  EXPECT_EQ(::GetPixel(dc, client.right - 2, client.bottom - 2), RGB(255, 255, 255));
  EXPECT_GT(blue, 20) << "the link is drawn in blue";
  EXPECT_GT(dark, 100) << "the title and the text are drawn in black";
  // The Chinese characters left of the link are drawn too (before "text").
  int chinese = 0;
  for (int y = link.top; y < link.bottom; ++y) {
    for (int x = 8; x < 8 + 28; ++x) chinese += ::GetPixel(dc, x, y) != RGB(255, 255, 255);
  }
  EXPECT_GT(chinese, 10);
  ::SelectObject(dc, old);
  ::DeleteObject(bmp);
  ::DeleteDC(dc);
}

}  // namespace
