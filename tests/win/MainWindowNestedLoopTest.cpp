// The game closed while the program menu's update check runs a nested loop
// inside it: waiting for a host that never answers, or showing its answer.
// The host is played on the update port of the test build.
#include <gtest/gtest.h>
#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "common/PublicData.h"
#include "forms/Program.h"
#include "mainwindow/WebMainFrm.h"
#include "tests/win/MainWindowProbe.h"
#include "tests/win/PlainPageTestServer.h"
#include "win/Text.h"

namespace {

using pagetest::PumpPending;

unsigned short UpdatePort() {
  const std::wstring url = common::UpdateUrl();
  const std::size_t colon = url.find(L':', url.find(L"//") + 2);
  return static_cast<unsigned short>(std::stoi(url.substr(colon + 1)));
}

// The update host: takes connections and, when given an answer, sends it
// whole to each request; without one it says nothing at all.
class UpdateHost {
 public:
  explicit UpdateHost(std::string answer = {}) : answer_(std::move(answer)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(UpdatePort());
    const BOOL reuse = TRUE;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof reuse);
    ok_ = ::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 && ::listen(listener_, 4) == 0;
    if (ok_ && !answer_.empty()) thread_ = std::thread([this] { Serve(); });
  }
  ~UpdateHost() {
    ::closesocket(listener_);  // ends the accept
    if (thread_.joinable()) thread_.join();
  }
  bool ok() const { return ok_; }

 private:
  void Serve() {
    for (;;) {
      SOCKET client = ::accept(listener_, nullptr, nullptr);
      if (client == INVALID_SOCKET) return;
      char request[2048];
      ::recv(client, request, sizeof request, 0);
      const std::string reply = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
                                std::to_string(answer_.size()) + "\r\nConnection: close\r\n\r\n" + answer_;
      ::send(client, reply.data(), static_cast<int>(reply.size()), 0);
      ::shutdown(client, SD_SEND);
      ::closesocket(client);
    }
  }

  std::string answer_;
  SOCKET listener_ = INVALID_SOCKET;
  bool ok_ = false;
  std::thread thread_;
};

struct Seen {
  DWORD closedAt = 0;
  HWND boxOwner = nullptr;
  bool mainEnabled = true;
  int boxesLeftOver = 0;
};
Seen g_seen;

mainwindow::WebMainFrm& Main() { return frm::WebMainFrm(); }

// The player leaves: the question answered yes.
void CALLBACK CloseTheGame(HWND, UINT, UINT_PTR timer, DWORD) {
  ::KillTimer(nullptr, timer);
  if (HWND box = ::FindWindowW(nullptr, L"提示")) {
    g_seen.boxOwner = ::GetWindow(box, GW_OWNER);
    g_seen.mainEnabled = ::IsWindowEnabled(Main().hWnd()) != FALSE;
  }
  Main().m_bExit = true;
  Main().Unload();
  g_seen.closedAt = ::GetTickCount();
}

// Should a box outlive the game, the test must still end.
void CALLBACK DismissLeftOvers(HWND, UINT, UINT_PTR, DWORD) {
  if (HWND box = ::FindWindowW(nullptr, L"提示")) {
    ++g_seen.boxesLeftOver;
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
}

class MainWindowNestedLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pages.ok());
    pages.Page("/one.html", "<title>one</title>");
    g_seen = {};
    Main().SetURL(pages.Url("/one.html"));
    Main().Show();
  }
  void TearDown() override {
    ::KillTimer(nullptr, leftOvers_);
    if (Main().IsLoaded()) {
      Main().m_bExit = true;
      Main().Unload();
    }
    PumpPending();
  }
  // The menu's update command, run as the menu's click runs it: inside a handler.
  void ChooseUpdate(UINT closeAfterMs) {
    leftOvers_ = ::SetTimer(nullptr, 0, 6000, &DismissLeftOvers);
    ::SetTimer(nullptr, 0, closeAfterMs, &CloseTheGame);
    forms::RunHandler(L"the program menu's click",
                      [] { mainwindow::WebMainFrmProbe::Command(Main(), mainwindow::kMenuUpdate); });
    returnedAt = ::GetTickCount();
  }

  pagetest::TestHttpServer pages;
  DWORD returnedAt = 0;
  UINT_PTR leftOvers_ = 0;
};

TEST_F(MainWindowNestedLoop, ClosedWhileTheUpdateHostSaysNothingTheCheckEndsAtOnceAndAsksNothing) {
  UpdateHost silent;
  ASSERT_TRUE(silent.ok());
  ChooseUpdate(800);
  ASSERT_NE(g_seen.closedAt, 0u) << "closed during the download";
  EXPECT_FALSE(Main().IsLoaded());
  EXPECT_LT(returnedAt - g_seen.closedAt, 3000u) << "the download waited for its 15 s bound";
  EXPECT_EQ(g_seen.boxesLeftOver, 0) << "a box for a game that is gone";
}

TEST_F(MainWindowNestedLoop, TheAnswerIsModalToTheGameWindowAndGoesWithItWhenTheGameCloses) {
  UpdateHost answering("version=" + win::ToUtf8(VELMORA_VERSION_TEXT) + "\r\n");
  ASSERT_TRUE(answering.ok());
  const HWND main = Main().hWnd();
  ChooseUpdate(1500);
  ASSERT_NE(g_seen.closedAt, 0u);
  EXPECT_EQ(g_seen.boxOwner, main) << "owned by the game window";
  EXPECT_FALSE(g_seen.mainEnabled) << "modal to it";
  EXPECT_FALSE(Main().IsLoaded());
  EXPECT_LT(returnedAt - g_seen.closedAt, 3000u);
  EXPECT_EQ(g_seen.boxesLeftOver, 0) << "the box went with its owner";
}

}  // namespace
