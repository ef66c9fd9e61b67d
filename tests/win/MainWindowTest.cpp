// The main window in this process: its tabs (one per address, letter case
// ignored, titles as captions), its layout on odd sizes, and what a long run
// of pages opened through the DDE topic and closed by their glyphs leaves behind.
#include <gtest/gtest.h>
#include <windows.h>
#include <audiopolicy.h>
#include <ddeml.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>

#include "mainwindow/CYFNotifyIcon.h"
#include "mainwindow/DdeTopic.h"
#include "mainwindow/HiddenSound.h"
#include "mainwindow/ModMsg.h"
#include "mainwindow/MsgFrm.h"
#include "mainwindow/WebMainFrm.h"
#include "tabstrip/CTabItem.h"
#include "tests/win/PlainPageTestServer.h"
#include "tests/win/ProcessMemory.h"
#include "tests/win/MainWindowProbe.h"
#include "win/ComPtr.h"

namespace {

using pagetest::PumpPending;
using pagetest::PumpUntil;

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.ok());
    server.Page("/one.html", "<title>第一服</title><p>码头</p>");
    server.Page("/two.html", "<p>no title here</p>");
    server.Page("/blank-title.html", "<title></title><p>x</p>");
  }
  void TearDown() override {
    if (main().IsLoaded()) {
      main().m_bExit = true;
      main().Unload();
    }
    PumpPending();
  }
  static mainwindow::WebMainFrm& main() { return frm::WebMainFrm(); }
  static tabstrip::CTabItems& tabs() { return mainwindow::WebMainFrmProbe::TabStrip(main())->TabItems(); }
  static std::wstring Caption(int i) { return tabs().Item(i)->Caption(); }

  pagetest::TestHttpServer server;
};

TEST_F(MainWindow, OneTabPerAddressWhateverTheLetterCaseAndEachTabShowsItsPagesTitle) {
  const std::wstring one = server.Url("/one.html");
  main().Load();
  EXPECT_TRUE(mainwindow::WebMainFrmProbe::BlankPageShown(main())) << "before any tab";
  main().SetURL(one);
  ASSERT_EQ(tabs().Count(), 1);
  EXPECT_FALSE(main().Visible()) << "SetURL leaves a loaded window hidden";
  EXPECT_FALSE(mainwindow::WebMainFrmProbe::BlankPageShown(main())) << "the first tab hides the blank page for good";
  EXPECT_EQ(Caption(0), L"Game" + one) << "the key until the page has a title";
  ASSERT_TRUE(PumpUntil([&] { return Caption(0) == L"第一服"; }));

  main().SetURL(server.Url("/two.html"));
  ASSERT_EQ(tabs().Count(), 2);
  EXPECT_EQ(mainwindow::WebMainFrmProbe::TabStrip(main())->Selected(), 1);
  ASSERT_TRUE(PumpUntil([&] { return server.Count("/two.html") == 1; }));
  // The control names a document by its address until it has a title: a
  // page without one shows its address.
  EXPECT_TRUE(PumpUntil([&] { return Caption(1) == server.Url("/two.html"); })) << "a page without a title";

  std::wstring shouted = one;
  for (wchar_t& c : shouted) c = static_cast<wchar_t>(::towupper(c));
  for (const std::wstring& again : {one, shouted}) {
    main().SetURL(again);
    EXPECT_EQ(tabs().Count(), 2);
    EXPECT_EQ(mainwindow::WebMainFrmProbe::TabStrip(main())->Selected(), 0);
  }
  PumpPending();
  EXPECT_EQ(server.Count("/one.html"), 1) << "selecting a tab does not load its page again";

  main().SetURL(server.Url("/blank-title.html"));
  ASSERT_TRUE(PumpUntil([&] { return tabs().Count() == 3 && Caption(2).empty(); }));
}

TEST_F(MainWindow, ANarrowWindowKeepsItsStripWidthAndAMinimisedOneItsLayout) {
  main().SetURL(server.Url("/one.html"));
  HWND hwnd = main().hWnd();
  const RECT wide = mainwindow::WebMainFrmProbe::TabStrip(main())->Bounds();
  ::SetWindowPos(hwnd, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
  PumpPending();
  const RECT narrow = mainwindow::WebMainFrmProbe::TabStrip(main())->Bounds();
  EXPECT_EQ(narrow.right - narrow.left, wide.right - wide.left);
  // The later steps still ran: the page container follows the new size
  // (60 twips, 4 pixels, each side and below; from the strip's height down).
  HWND container = mainwindow::WebMainFrmProbe::TabStrip(main())->hContainerWnd();
  RECT page{};
  ::GetWindowRect(container, &page);
  ::MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&page), 2);
  EXPECT_EQ(page.left, 4);
  EXPECT_EQ(page.top, 32);
  EXPECT_EQ(page.right, 396);
  EXPECT_EQ(page.bottom, 296);
  HRGN region = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(::GetWindowRgn(hwnd, region), ERROR);
  RECT box{};
  ::GetRgnBox(region, &box);
  EXPECT_EQ(box.right, 400);
  EXPECT_EQ(box.bottom, 300);
  EXPECT_FALSE(::PtInRegion(region, 0, 0)) << "the corners are rounded";

  ::ShowWindow(hwnd, SW_SHOWMINNOACTIVE);
  PumpPending();
  ::GetWindowRgn(hwnd, region);
  ::GetRgnBox(region, &box);
  EXPECT_EQ(box.right, 400) << "a minimised window keeps its region";
  RECT kept{};
  ::GetWindowRect(container, &kept);
  EXPECT_EQ(kept.right - kept.left, 392);
  ::DeleteObject(region);
}

BOOL CALLBACK CountOne(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

BOOL CALLBACK CountWithChildren(HWND hwnd, LPARAM count) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if (pid != ::GetCurrentProcessId()) return TRUE;
  ++*reinterpret_cast<int*>(count);
  ::EnumChildWindows(hwnd, &CountOne, count);
  return TRUE;
}

int WindowsOfThisProcess() {
  int count = 0;
  ::EnumWindows(&CountWithChildren, reinterpret_cast<LPARAM>(&count));
  return count;
}

HDDEDATA CALLBACK IgnoreDde(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

// Sends `text` as a DDE execute on the main window's topic from a thread of
// its own, as an ANSI client, and serves the conversation until it ends:
// 0 accepted, 3 not processed, 1 no conversation.
DWORD SendThroughDde(const std::string& text) {
  std::atomic<DWORD> code{99};
  std::atomic<bool> done{false};
  std::thread client([&] {
    DWORD instance = 0;
    if (::DdeInitializeA(&instance, &IgnoreDde, APPCMD_CLIENTONLY, 0) == DMLERR_NO_ERROR) {
      HSZ service = ::DdeCreateStringHandleA(instance, "Velmora", CP_WINANSI);
      HSZ topic = ::DdeCreateStringHandleA(instance, "OrvaneDDE", CP_WINANSI);
      HCONV conv = ::DdeConnect(instance, service, topic, nullptr);
      code = 1;
      if (conv) {
        std::string data = text;
        DWORD result = 0;
        code = ::DdeClientTransaction(reinterpret_cast<BYTE*>(data.data()), static_cast<DWORD>(data.size() + 1), conv,
                                      nullptr, 0, XTYP_EXECUTE, 20000, &result)
                   ? 0
                   : 3;
        ::DdeDisconnect(conv);
      }
      ::DdeFreeStringHandle(instance, service);
      ::DdeFreeStringHandle(instance, topic);
      ::DdeUninitialize(instance);
    }
    done = true;
  });
  PumpUntil([&] { return done.load(); }, 30000);
  client.join();
  return code;
}

TEST_F(MainWindow, TwoHundredPagesOpenedThroughDdeAndClosedByTheirGlyphsLeaveNothingBehind) {
  main().SetURL(server.Url("/one.html"));
  tabstrip::uTab& strip = *mainwindow::WebMainFrmProbe::TabStrip(main());
  const std::string two = "http://127.0.0.1:" + std::to_string(server.port()) + "/two.html";
  auto cycle = [&] {
    ASSERT_EQ(SendThroughDde(two), 0u);
    ASSERT_EQ(tabs().Count(), 2);
    // The second tab's glyph: tabs 200 wide with 5 between, the glyph 20 from the right.
    const int x = 10 + 205 + 200 - 20 + 6, y = 7 + 6;
    ::SendMessageW(strip.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    ::SendMessageW(strip.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::SendMessageW(strip.hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    PumpPending(2);
    ASSERT_EQ(tabs().Count(), 1);
  };
  for (int i = 0; i < 5; ++i) cycle();
  const testmemory::Footprint before = testmemory::MeasureFootprint();
  const int windows = WindowsOfThisProcess();
  for (int i = 0; i < 200 && !HasFatalFailure(); ++i) cycle();
  PumpPending();
  testmemory::ExpectNoGrowthSince(before);
  EXPECT_EQ(WindowsOfThisProcess(), windows);
}

TEST_F(MainWindow, AnExecuteStringThatIsNoAddressIsRefusedAndOpensNothing) {
  main().SetURL(server.Url("/one.html"));
  EXPECT_EQ(SendThroughDde("   "), 3u);
  EXPECT_EQ(tabs().Count(), 1);
}

TEST_F(MainWindow, TheMenuNamesTheVersionAndTheStripsTooltipFollowsTheHoveredTab) {
  main().SetURL(server.Url("/one.html"));
  wchar_t caption[64] = {};
  ::GetMenuStringW(mainwindow::WebMainFrmProbe::AppMenu(main()), mainwindow::kMenuVersion, caption, 64, MF_BYCOMMAND);
  EXPECT_EQ(std::wstring(caption), std::wstring(L"版本号:") + VELMORA_VERSION_TEXT);
  ASSERT_TRUE(PumpUntil([&] { return Caption(0) == L"第一服"; }));
  HWND strip = mainwindow::WebMainFrmProbe::TabStrip(main())->hWnd();
  ::SendMessageW(strip, WM_MOUSEMOVE, 0, MAKELPARAM(60, 13));
  EXPECT_EQ(mainwindow::WebMainFrmProbe::TabTooltip(main()), L"第一服");
  ::SendMessageW(strip, WM_MOUSEMOVE, 0, MAKELPARAM(300, 13));
  EXPECT_EQ(mainwindow::WebMainFrmProbe::TabTooltip(main()), L"") << "empty strip space clears it";
}

bool Muted(ISimpleAudioVolume* volume);

TEST_F(MainWindow, OnlyWebPagesOpenThroughDdeRebuiltAndNoMoreThanSixtyFourTabs) {
  main().SetURL(server.Url("/one.html"));
  for (const char* refused : {"file:///c:/windows/win.ini", "\\\\127.0.0.1\\share\\x.html", "javascript:alert(1)",
                              "about:blank", "app://exitgame"}) {
    EXPECT_EQ(SendThroughDde(refused), 3u) << refused;
  }
  EXPECT_EQ(tabs().Count(), 1);
  const std::string two = "http://127.0.0.1:" + std::to_string(server.port()) + "/two.html";
  ASSERT_EQ(SendThroughDde(two + "?a b"), 0u);
  EXPECT_NE(tabs().FindItem(L"Game" + server.Url("/two.html?a%20b")), tabstrip::kNoTab) << "the address rebuilt";
  EXPECT_EQ(tabs().FindItem(L"Game" + server.Url("/two.html?a b")), tabstrip::kNoTab);
  for (int i = tabs().Count(); i < mainwindow::WebMainFrm::kMaxTabs && !HasFatalFailure(); ++i)
    ASSERT_EQ(SendThroughDde(two + "?n=" + std::to_string(i)), 0u);
  ASSERT_EQ(tabs().Count(), 64);
  EXPECT_EQ(SendThroughDde(two + "?n=one-more"), 3u);
  EXPECT_EQ(tabs().Count(), 64) << "refused, and no tab closed for it";
  ASSERT_EQ(SendThroughDde(two + "?n=5"), 0u) << "an open tab is still selected";
  EXPECT_EQ(tabs().Count(), 64);
  EXPECT_EQ(mainwindow::WebMainFrmProbe::TabStrip(main())->Selected(), 5);
}

TEST_F(MainWindow, ADdeExecuteRestoresAMinimisedWindowButLeavesOneHiddenByTheBossKeyHiddenAndSilent) {
  main().SetURL(server.Url("/one.html"));
  main().Show();
  HWND hwnd = main().hWnd();
  HRESULT failure = S_OK;
  win::ComPtr<ISimpleAudioVolume> sound = mainwindow::SoundSession(&failure);
  ASSERT_TRUE(sound) << "no playback device (" << std::hex << failure << ")";
  ASSERT_EQ(sound->SetMute(FALSE, nullptr), S_OK);
  const auto f10 = [&] { ::SendMessageW(hwnd, WM_HOTKEY, mainwindow::kHotKeyId, MAKELPARAM(0, VK_F10)); };
  const std::string base = "http://127.0.0.1:" + std::to_string(server.port());
  f10();
  ASSERT_EQ(SendThroughDde(base + "/two.html"), 0u);
  PumpPending();
  EXPECT_FALSE(::IsWindowVisible(hwnd));
  EXPECT_TRUE(Muted(sound.get()));
  EXPECT_EQ(tabs().Count(), 2);
  f10();
  EXPECT_TRUE(::IsWindowVisible(hwnd));
  EXPECT_EQ(mainwindow::WebMainFrmProbe::TabStrip(main())->Selected(), 1) << "the new tab is there";
  ::ShowWindow(hwnd, SW_MINIMIZE);
  ASSERT_EQ(SendThroughDde(base + "/one.html?again"), 0u);
  PumpPending();
  EXPECT_FALSE(::IsIconic(hwnd)) << "the normal state";
  EXPECT_TRUE(::IsWindowVisible(hwnd));
  EXPECT_FALSE(Muted(sound.get()));
}

TEST_F(MainWindow, TheStripAndTheTitleSkinStoreTheirDesignProperties) {
  main().Load();
  forms::PropertyBag strip, skin;
  mainwindow::WebMainFrmProbe::TabStrip(main())->WriteProperties(strip);
  mainwindow::WebMainFrmProbe::TitleSkin(main())->WriteProperties(skin);
  EXPECT_EQ(strip.ReadInt(L"TabStyle", -1), 1);
  EXPECT_EQ(strip.ReadInt(L"TabLeftSize", -1), 10);
  EXPECT_EQ(strip.ReadInt(L"TabRightSize", -1), 17) << "250 twips: no tab under the link buttons";
  EXPECT_EQ(skin.ReadString(L"BackColor", L""), std::to_wstring(RGB(222, 222, 222)));
  EXPECT_TRUE(skin.ReadBool(L"HasLogo", false));
}

TEST_F(MainWindow, TheFillButtonsValueFollowsTheWindowThroughClicksAndDoubleClicks) {
  main().SetURL(server.Url("/one.html"));
  main().Show();
  controls::iButton& fill = *mainwindow::WebMainFrmProbe::FillButton(main());
  const controls::cSetStyle& frame = *mainwindow::WebMainFrmProbe::Frame(main());
  ASSERT_TRUE(frame.Maximised());
  ASSERT_TRUE(fill.Value());
  // The button moves with the window's right edge: the pointer follows it.
  const auto send = [&](UINT msg, WPARAM keys) {
    RECT rc{};
    ::GetWindowRect(fill.hWnd(), &rc);
    ::SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    ::SendMessageW(fill.hWnd(), msg, keys, MAKELPARAM(5, 5));
    PumpPending(2);
  };
  const auto click = [&] {
    send(WM_LBUTTONDOWN, MK_LBUTTON);
    send(WM_LBUTTONUP, 0);
  };
  const auto doubleClick = [&] {
    click();
    send(WM_LBUTTONDBLCLK, MK_LBUTTON);
    send(WM_LBUTTONUP, 0);
  };
  doubleClick();
  EXPECT_FALSE(frame.Maximised()) << "one Click";
  EXPECT_EQ(fill.Value(), frame.Maximised());
  click();
  EXPECT_TRUE(frame.Maximised());
  EXPECT_EQ(fill.Value(), frame.Maximised());
  doubleClick();
  doubleClick();
  EXPECT_TRUE(frame.Maximised());
  EXPECT_EQ(fill.Value(), frame.Maximised());
}

int g_step = 0;
int g_questions = 0;
LRESULT g_logOffAnswer = -1;

BOOL CALLBACK CountQuestion(HWND hwnd, LPARAM count) {
  RECT rc{};
  ::GetWindowRect(hwnd, &rc);
  if (::IsWindowVisible(hwnd) && rc.right - rc.left == 242) ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int OpenQuestions() {
  int count = 0;
  ::EnumThreadWindows(::GetCurrentThreadId(), &CountQuestion, reinterpret_cast<LPARAM>(&count));
  return count;
}

// Runs inside the question's own message loop.
void CALLBACK WhileTheQuestionIsOpen(HWND, UINT, UINT_PTR timer, DWORD) {
  if (++g_step == 2) {
    ::PostMessageW(frm::WebMainFrm().hWnd(), WM_CLOSE, 0, 0);  // the tray menu's exit, the taskbar's close...
  } else if (g_step == 4) {
    g_questions = OpenQuestions();
    // A log-off meanwhile waits for the open question's answer: refused, and no second box.
    g_logOffAnswer = ::SendMessageW(frm::WebMainFrm().hWnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    g_questions = std::max(g_questions, OpenQuestions());
    ::KillTimer(nullptr, timer);
    frm::MsgFrm().Unload();  // closed by no answer: the flag stays as it was
  }
}

TEST_F(MainWindow, ACloseRequestOrLogOffWhileTheQuestionIsOpenJoinsItAndAConfirmedLeaveAsksNothing) {
  main().SetURL(server.Url("/one.html"));
  main().Show();
  ::SetTimer(nullptr, 0, 100, &WhileTheQuestionIsOpen);
  EXPECT_FALSE(main().Unload());
  EXPECT_EQ(g_questions, 1);
  EXPECT_EQ(g_logOffAnswer, FALSE);
  EXPECT_TRUE(main().IsLoaded());
  EXPECT_EQ(tabs().Count(), 1);
  main().m_bExit = true;
  EXPECT_TRUE(main().Unload());
  EXPECT_EQ(OpenQuestions(), 0);
}

bool Muted(ISimpleAudioVolume* volume) {
  BOOL muted = FALSE;
  EXPECT_EQ(volume->GetMute(&muted), S_OK);
  return muted != FALSE;
}

TEST_F(MainWindow, TheBossKeyMutesTheGamesSoundWhileHiddenAndKeepsAMuteOfThePlayersOwn) {
  main().SetURL(server.Url("/one.html"));
  main().Show();
  HWND hwnd = main().hWnd();
  // The session the client works on. (Under Wine each lookup of the
  // process's default session makes a new one: a second lookup would not see it.)
  HRESULT failure = S_OK;
  win::ComPtr<ISimpleAudioVolume> sound = mainwindow::SoundSession(&failure);
  ASSERT_TRUE(sound) << "no playback device (" << std::hex << failure << "); the Wine set-up gives ALSA a null one";
  ASSERT_EQ(sound->SetMute(FALSE, nullptr), S_OK);
  const auto f10 = [&] { ::SendMessageW(hwnd, WM_HOTKEY, mainwindow::kHotKeyId, MAKELPARAM(0, VK_F10)); };
  const auto trayClick = [&] {
    ::SendMessageW(hwnd, mainwindow::CYFNotifyIcon::kCallbackMessage, mainwindow::CYFNotifyIcon::kIconId,
                   WM_LBUTTONUP);
  };

  f10();
  EXPECT_FALSE(::IsWindowVisible(hwnd));
  EXPECT_TRUE(Muted(sound.get())) << "hidden by F10";
  f10();
  EXPECT_TRUE(::IsWindowVisible(hwnd));
  EXPECT_FALSE(Muted(sound.get())) << "shown by F10";
  trayClick();
  EXPECT_TRUE(Muted(sound.get())) << "hidden by the tray icon";
  trayClick();
  EXPECT_FALSE(Muted(sound.get())) << "shown by the tray icon";

  // Muted by the player before the hide: still muted after the show.
  ASSERT_EQ(sound->SetMute(TRUE, nullptr), S_OK);
  f10();
  EXPECT_TRUE(Muted(sound.get()));
  f10();
  EXPECT_TRUE(::IsWindowVisible(hwnd));
  EXPECT_TRUE(Muted(sound.get())) << "the player's own mute is kept";
  ASSERT_EQ(sound->SetMute(FALSE, nullptr), S_OK);

  // A window unloaded while the boss key hides it gives the sound back.
  f10();
  EXPECT_TRUE(Muted(sound.get()));
  main().m_bExit = true;
  EXPECT_TRUE(main().Unload());
  EXPECT_FALSE(Muted(sound.get()));
}

}  // namespace
