// The window message hook services on real windows: routing before and after a
// window's own procedure, the tables and their limits, answers that reach the
// sender, mouse-leave tracking, hooks that end by themselves or from inside
// their own handlers, and windows of another process.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hooks/CSubclass.h"
#include "hooks/ErrorLog.h"
#include "hooks/HookLink.h"
#include "hooks/cFormSubclass.h"
#include "tests/win/HookProbes.h"
#include "win/UniqueHandle.h"

using hooks::ALL_MESSAGES;
using hooks::CSubclass;
using hooks::cFormSubclass;
using hooks::MSG_AFTER;
using hooks::MSG_BEFORE;
using hooks::MSG_BEFORE_AND_AFTER;

namespace {

// --- Windows with a procedure of their own ----------------------------------

constexpr UINT kAnswer = WM_APP + 1;  // the window's own procedure answers 5
constexpr UINT kEcho = WM_APP + 2;    // ... answers wParam + lParam
constexpr UINT kPlain = WM_APP + 3;   // ... answers 0
constexpr wchar_t kClass[] = L"VelmoraHooksTest";
constexpr char kAnsiClass[] = "VelmoraHooksTestA";

struct OwnCall {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};
// The application messages that reached a window's own procedure, in order.
std::vector<OwnCall> g_own;

LRESULT CALLBACK OwnProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg >= WM_APP && msg < 0xC000) {
    g_own.push_back({hwnd, msg, wParam, lParam});
    if (msg == kAnswer) return 5;
    if (msg == kEcho) return static_cast<LRESULT>(wParam + lParam);
    return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK OwnProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kAnswer) return 5;
  return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

void RegisterClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &OwnProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = kClass;
  ::RegisterClassExW(&wc);
  WNDCLASSEXA wca{};
  wca.cbSize = sizeof wca;
  wca.lpfnWndProc = &OwnProcA;
  wca.hInstance = ::GetModuleHandleW(nullptr);
  wca.lpszClassName = kAnsiClass;
  ::RegisterClassExA(&wca);
}

win::UniqueHwnd MakeWindow(DWORD style = WS_POPUP, DWORD exStyle = 0, int x = 0, int y = 0, int w = 100,
                           int h = 100) {
  RegisterClasses();
  return win::UniqueHwnd(::CreateWindowExW(exStyle, kClass, L"hooked", style, x, y, w, h, nullptr, nullptr,
                                           ::GetModuleHandleW(nullptr), nullptr));
}

win::UniqueHwnd MakeAnsiWindow() {
  RegisterClasses();
  return win::UniqueHwnd(::CreateWindowExA(0, kAnsiClass, "ansi", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                           ::GetModuleHandleW(nullptr), nullptr));
}

WNDPROC ProcOf(HWND hwnd) { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC)); }

int OwnCalls(UINT msg) {
  int n = 0;
  for (const OwnCall& c : g_own) n += c.msg == msg;
  return n;
}

// --- Pumping, bounded --------------------------------------------------------

void PumpOnce() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

void PumpFor(DWORD ms) {
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < ms) {
    PumpOnce();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  PumpOnce();
}

bool PumpUntil(const std::function<bool()>& done, DWORD maxMs) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > maxMs) return false;
    PumpOnce();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

// --- The lines the hook service logs -----------------------------------------

class LogCapture {
 public:
  LogCapture() {
    hooks::detail::ErrorLogProbe::Watch([this](std::wstring_view line) { lines.emplace_back(line); });
  }
  ~LogCapture() { hooks::detail::ErrorLogProbe::Watch(nullptr); }
  std::vector<std::wstring> lines;
};

using Lines = std::vector<std::wstring>;

// --- What a CSubclass owner sees ----------------------------------------------

struct Seen {
  bool bBefore;
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT lReturn;
  LONG_PTR lParamUser;
};

using Action = std::function<void(const Seen&, bool& bHandled, LRESULT& lReturn, LONG_PTR& lParamUser)>;

class Owner {
 public:
  explicit Owner(CSubclass& subclass) {
    subclass.WindowProc.Bind([this](bool bBefore, bool& bHandled, LRESULT& lReturn, HWND hwnd, UINT msg,
                                    WPARAM wParam, LPARAM lParam, LONG_PTR& lParamUser) {
      Seen s{bBefore, hwnd, msg, wParam, lParam, lReturn, lParamUser};
      seen.push_back(s);
      if (act) act(s, bHandled, lReturn, lParamUser);
    });
  }
  int Count(UINT msg, bool bBefore) const {
    int n = 0;
    for (const Seen& s : seen) n += s.msg == msg && s.bBefore == bBefore;
    return n;
  }
  int Count(UINT msg) const { return Count(msg, true) + Count(msg, false); }
  std::vector<Seen> seen;
  Action act;
};

class HookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_own.clear();
    liveAtStart_ = hooks::detail::HookLinkProbe::Live();
  }
  void TearDown() override { g_own.clear(); }
  std::size_t NewHooks() const { return hooks::detail::HookLinkProbe::Live() - liveAtStart_; }

 private:
  std::size_t liveAtStart_ = 0;
};

// --- A window of another process ------------------------------------------------

std::wstring ToolPath(const wchar_t* name) {
  wchar_t buffer[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  std::wstring path = buffer;
  path.resize(path.find_last_of(L'\\') + 1);
  return path + name;
}

class Process {
 public:
  explicit Process(std::wstring commandLine) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring exe = ToolPath(L"hookpeer.exe");
    std::wstring line = L"\"" + exe + L"\" " + commandLine;
    if (::CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
      process_.reset(pi.hProcess);
      ::CloseHandle(pi.hThread);
    }
  }
  ~Process() {
    if (process_ && ::WaitForSingleObject(process_.get(), 5000) != WAIT_OBJECT_0) {
      ::TerminateProcess(process_.get(), 1);
    }
  }
  bool started() const { return static_cast<bool>(process_); }
  // Waits for the end while this thread's windows keep answering messages.
  bool WaitPumping(DWORD maxMs, DWORD& exitCode) {
    const DWORD start = ::GetTickCount();
    HANDLE h = process_.get();
    while (::GetTickCount() - start < maxMs) {
      DWORD r = ::MsgWaitForMultipleObjects(1, &h, FALSE, 20, QS_ALLINPUT | QS_SENDMESSAGE);
      if (r == WAIT_OBJECT_0) return ::GetExitCodeProcess(h, &exitCode) != FALSE;
      PumpOnce();
    }
    return false;
  }

 private:
  win::UniqueKernelHandle process_;
};

class PeerWindow {
 public:
  PeerWindow() : title_(L"hookpeer-" + std::to_wstring(::GetCurrentProcessId())), process_(L"window " + title_) {
    const DWORD start = ::GetTickCount();
    while (process_.started() && !hwnd_ && ::GetTickCount() - start < 10000) {
      hwnd_ = ::FindWindowW(L"VelmoraHookPeer", title_.c_str());
      if (!hwnd_) ::Sleep(20);
    }
  }
  ~PeerWindow() {
    if (hwnd_) ::PostMessageW(hwnd_, WM_CLOSE, 0, 0);
  }
  HWND hwnd() const { return hwnd_; }
  // The peer's own answers: 5, and whether its procedure is still its own.
  LRESULT Answer() const {
    DWORD_PTR r = 0;
    ::SendMessageTimeoutW(hwnd_, kAnswer, 0, 0, SMTO_NORMAL, 5000, &r);
    return static_cast<LRESULT>(r);
  }
  bool ProcedureIsItsOwn() const {
    DWORD_PTR r = 0;
    ::SendMessageTimeoutW(hwnd_, WM_APP + 2, 0, 0, SMTO_NORMAL, 5000, &r);
    return r == 1;
  }

 private:
  std::wstring title_;
  Process process_;
  HWND hwnd_ = nullptr;
};

std::wstring Hex(ULONG_PTR value) {
  wchar_t buffer[20];
  std::swprintf(buffer, 20, L"%lx", static_cast<unsigned long>(value));
  return buffer;
}

}  // namespace

// ============================================================================
// CSubclass: hooking and refusing
// ============================================================================

using CSubclassHook = HookTest;

TEST_F(CSubclassHook, AnInvalidHandleIsRefusedWithOneLogLine) {
  LogCapture log;
  CSubclass subclass;
  HWND gone;
  {
    auto w = MakeWindow();
    gone = w.get();
  }
  EXPECT_FALSE(subclass.ssc_Subclass(gone));
  EXPECT_FALSE(subclass.ssc_Subclass(nullptr));
  EXPECT_EQ(log.lines, (Lines{L"CSubclass.ssc_Subclass: Invalid window handle",
                              L"CSubclass.ssc_Subclass: Invalid window handle"}));
  EXPECT_EQ(NewHooks(), 0u);
}

TEST_F(CSubclassHook, AWindowOfAnotherProcessIsRefusedAndLeftUntouched) {
  PeerWindow peer;
  ASSERT_NE(peer.hwnd(), nullptr) << "hookpeer.exe did not show its window";
  ASSERT_TRUE(peer.ProcedureIsItsOwn());
  LogCapture log;
  {
    CSubclass subclass;
    EXPECT_FALSE(subclass.ssc_Subclass(peer.hwnd()));
    EXPECT_EQ(log.lines, (Lines{L"CSubclass.ssc_Subclass: Window handle belongs to another process"}));
    // Not registered: the registry was never made.
    subclass.ssc_AddMsg(peer.hwnd(), kAnswer, MSG_BEFORE);
    EXPECT_EQ(log.lines.back(), L"CSubclass.ssc_AddMsg: Thunk hasn't been initialized");
  }
  EXPECT_TRUE(peer.ProcedureIsItsOwn());
  EXPECT_EQ(peer.Answer(), 5);
  EXPECT_EQ(NewHooks(), 0u);
}

TEST_F(CSubclassHook, HookingTheSameWindowTwiceIsRefusedAndTheFirstHookKeepsWorking) {
  LogCapture log;
  auto w = MakeWindow();
  CSubclass subclass;
  Owner owner(subclass);
  ASSERT_TRUE(subclass.ssc_Subclass(w.get(), 11));
  WNDPROC hooked = ProcOf(w.get());
  EXPECT_FALSE(subclass.ssc_Subclass(w.get(), 22));
  EXPECT_EQ(log.lines, (Lines{L"CSubclass.ssc_Subclass: Window handle is already subclassed"}));
  EXPECT_EQ(ProcOf(w.get()), hooked);
  EXPECT_EQ(NewHooks(), 1u);

  subclass.ssc_AddMsg(w.get(), kAnswer, MSG_BEFORE);
  EXPECT_EQ(::SendMessageW(w.get(), kAnswer, 0, 0), 5);
  ASSERT_EQ(owner.Count(kAnswer), 1);  // delivered once: there is one hook
  EXPECT_EQ(owner.seen.back().lParamUser, 11);
  EXPECT_EQ(OwnCalls(kAnswer), 1);
}

TEST_F(CSubclassHook, AnOrdinalOtherThanTheEventsIsRefused) {
  LogCapture log;
  auto w = MakeWindow();
  WNDPROC own = ProcOf(w.get());
  CSubclass subclass;
  EXPECT_FALSE(subclass.ssc_Subclass(w.get(), 0, 2));
  EXPECT_EQ(log.lines, (Lines{L"CSubclass.ssc_Subclass: Callback method not found"}));
  EXPECT_EQ(ProcOf(w.get()), own);
}

TEST_F(CSubclassHook, NothingIsRoutedUntilAMessageIsAdded) {
  auto w = MakeWindow();
  CSubclass subclass;
  Owner owner(subclass);
  ASSERT_TRUE(subclass.ssc_Subclass(w.get()));
  EXPECT_EQ(::SendMessageW(w.get(), kAnswer, 0, 0), 5);
  ::SetWindowTextW(w.get(), L"x");
  EXPECT_TRUE(owner.seen.empty());
  EXPECT_EQ(OwnCalls(kAnswer), 1);
}

TEST_F(CSubclassHook, TheUnicodeFlagIsAnsweredForUnicodeAndAnsiWindows) {
  auto wide = MakeWindow();
  auto ansi = MakeAnsiWindow();
  ASSERT_TRUE(ansi);
  CSubclass subclass;
  bool wideUnicode = true, ansiUnicode = true, notAsked = false;
  ASSERT_TRUE(subclass.ssc_Subclass(wide.get(), 0, 1, true, &wideUnicode));
  ASSERT_TRUE(subclass.ssc_Subclass(ansi.get(), 0, 1, true, &ansiUnicode));
  EXPECT_TRUE(wideUnicode);
  EXPECT_FALSE(ansiUnicode);
  auto other = MakeWindow();
  ASSERT_TRUE(subclass.ssc_Subclass(other.get(), 0, 1, true, &notAsked));
  EXPECT_FALSE(notAsked);
  // The ANSI window's own procedure still answers through the hook.
  Owner owner(subclass);
  subclass.ssc_AddMsg(ansi.get(), kAnswer, MSG_AFTER);
  EXPECT_EQ(::SendMessageW(ansi.get(), kAnswer, 0, 0), 5);
  EXPECT_EQ(owner.Count(kAnswer, false), 1);
}

TEST_F(CSubclassHook, TextPassesThroughTheHookWithoutNarrowing) {
  auto w = MakeWindow();
  CSubclass subclass;
  Owner owner(subclass);
  ASSERT_TRUE(subclass.ssc_Subclass(w.get()));
  subclass.ssc_AddMsg(w.get(), WM_SETTEXT, MSG_BEFORE);
  const std::wstring caption = L"\u5ba2\u6237\u7aef Velmora";  // 客户端
  ASSERT_TRUE(::SetWindowTextW(w.get(), caption.c_str()));
  wchar_t back[64] = {};
  ::GetWindowTextW(w.get(), back, 64);
  EXPECT_EQ(std::wstring(back), caption);
  ASSERT_EQ(owner.Count(WM_SETTEXT, true), 1);
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(owner.seen[0].lParam)), caption);
}

// ============================================================================
// CSubclass: the tables
// ============================================================================

using CSubclassTables = HookTest;

TEST_F(CSubclassTables, AThirtyThirdMessageIsRefusedWithTheOverflowTextAndTheThirtyTwoStay) {
  LogCapture log;
  auto w = MakeWindow();
  CSubclass subclass;
  Owner owner(subclass);
  ASSERT_TRUE(subclass.ssc_Subclass(w.get()));
  for (UINT i = 0; i < 32; ++i) subclass.ssc_AddMsg(w.get(), WM_APP + 100 + i, MSG_BEFORE);
  EXPECT_TRUE(log.lines.empty());
  subclass.ssc_AddMsg(w.get(), WM_APP + 200, MSG_BEFORE);
  EXPECT_EQ(log.lines, (Lines{L"CSubclass.zAddMsg: Message table overflow. Either increase the value of Const "
                              L"MSG_ENTRIES or use ALL_MESSAGES instead of specific message values"}));
  for (UINT i = 0; i < 32; ++i) ::SendMessageW(w.get(), WM_APP + 100 + i, 0, 0);
  ::SendMessageW(w.get(), WM_APP + 200, 0, 0);
  for (UINT i = 0; i < 32; ++i) EXPECT_EQ(owner.Count(WM_APP + 100 + i, true), 1) << i;
  EXPECT_EQ(owner.Count(WM_APP + 200), 0);
  // The after table is a table of its own, still empty.
  subclass.ssc_AddMsg(w.get(), WM_APP + 200, MSG_AFTER);
  EXPECT_EQ(log.lines.size(), 1u);
}

TEST_F(CSubclassTables, AllMessagesIsAcceptedInAFullTable) {
  LogCapture log;
  auto w = MakeWindow();
  CSubclass subclass;
  Owner owner(subclass);
  ASSERT_TRUE(subclass.ssc_Subclass(w.get()));
  for (UINT i = 0; i < 32; ++i) subclass.ssc_AddMsg(w.get(), WM_APP + 100 + i, MSG_AFTER);
  subclass.ssc_AddMsg(w.get(), ALL_MESSAGES, MSG_AFTER);
  EXPECT_TRUE(log.lines.empty());
  ::SendMessageW(w.get(), WM_APP + 300, 0, 0);
  ::SendMessageW(w.get(), kAnswer, 0, 0);
  EXPECT_EQ(owner.Count(WM_APP + 300, false), 1);
  EXPECT_EQ(owner.Count(kAnswer, false), 1);
}

TEST_F(CSubclassTables, AddingAMessageTwiceChangesNothing) {
  auto w = MakeWindow();
  CSubclass subclass;
  Owner owner(subclass);
  ASSERT_TRUE(subclass.ssc_Subclass(w.get()));
  subclass.ssc_AddMsg(w.get(), kPlain, MSG_BEFORE);
  subclass.ssc_AddMsg(w.get(), kAnswer, MSG_BEFORE);
  subclass.ssc_DelMsg(w.get(), MSG_BEFORE, kPlain);
  subclass.ssc_AddMsg(w.get(), kAnswer, MSG_BEFORE);  // a free slot lies before it
  ::SendMessageW(w.get(), kAnswer, 0, 0);
  EXPECT_EQ(owner.Count(kAnswer), 1);
  // One delete takes it out: it was never entered twice.
  subclass.ssc_DelMsg(w.get(), MSG_BEFORE, kAnswer);
  ::SendMessageW(w.get(), kAnswer, 0, 0);
  EXPECT_EQ(owner.Count(kAnswer), 1);
}

TEST_F(CSubclassTables, ADeletedSlotIsReusedByTheNextMessage) {
  LogCapture log;
  auto w = MakeWindow();
  CSubclass subclass;
  Owner owner(subclass);
  ASSERT_TRUE(subclass.ssc_Subclass(w.get()));
  for (UINT i = 0; i < 32; ++i) subclass.ssc_AddMsg(w.get(), WM_APP + 100 + i, MSG_BEFORE);
  subclass.ssc_DelMsg(w.get(), MSG_BEFORE, WM_APP + 105);
  subclass.ssc_AddMsg(w.get(), WM_APP + 200, MSG_BEFORE);
  EXPECT_TRUE(log.lines.empty());  // the freed slot took it
  ::SendMessageW(w.get(), WM_APP + 105, 0, 0);
  ::SendMessageW(w.get(), WM_APP + 200, 0, 0);
  EXPECT_EQ(owner.Count(WM_APP + 105), 0);
  EXPECT_EQ(owner.Count(WM_APP + 200, true), 1);
  subclass.ssc_AddMsg(w.get(), WM_APP + 201, MSG_BEFORE);
  EXPECT_EQ(log.lines.size(), 1u);  // full again
}


TEST_F(CSubclassTables, DeletingTakesOnlyIntegersAndAllMessagesEmptiesBothTables) {
  auto w = MakeWindow();
  CSubclass subclass;
  Owner owner(subclass);
  ASSERT_TRUE(subclass.ssc_Subclass(w.get()));
  subclass.ssc_AddMsg(w.get(), kAnswer, MSG_BEFORE);
  subclass.ssc_AddMsg(w.get(), kEcho, MSG_BEFORE);
  subclass.ssc_AddMsg(w.get(), kPlain, MSG_BEFORE_AND_AFTER);
  subclass.ssc_AddMsg(w.get(), WM_SETTEXT, MSG_BEFORE);
  // A 64-bit number and a floating value are not message numbers: skipped.
  // A signed 16-bit number is widened with its sign, as -1 must be.
  subclass.ssc_DelMsg(w.get(), MSG_BEFORE, std::int64_t{kAnswer}, 2.5, static_cast<std::uint16_t>(kEcho),
                      static_cast<std::int16_t>(WM_SETTEXT));
  ::SendMessageW(w.get(), kAnswer, 0, 0);
  ::SendMessageW(w.get(), kEcho, 0, 0);
  ::SetWindowTextW(w.get(), L"t");
  EXPECT_EQ(owner.Count(kAnswer), 1);
  EXPECT_EQ(owner.Count(kEcho), 0);
  EXPECT_EQ(owner.Count(WM_SETTEXT), 0);
  // -1 as an 8-bit number is ALL_MESSAGES.
  subclass.ssc_DelMsg(w.get(), MSG_BEFORE_AND_AFTER, static_cast<std::int8_t>(-1));
  owner.seen.clear();
  ::SendMessageW(w.get(), kAnswer, 0, 0);
  ::SendMessageW(w.get(), kPlain, 0, 0);
  EXPECT_TRUE(owner.seen.empty());
}

// ============================================================================
// CSubclass: routing
// ============================================================================

using CSubclassRouting = HookTest;

TEST_F(CSubclassRouting, BeforeRoutedMessagesArriveWithTheirValuesBeforeTheOwnProcedure) {
  auto w = MakeWindow();
  CSubclass subclass;
  Owner owner(subclass);
  ASSERT_TRUE(subclass.ssc_Subclass(w.get(), 0x5151));
  subclass.ssc_AddMsg(w.get(), kEcho, MSG_BEFORE);
  std::size_t ownCallsWhenRaised = 99;
  owner.act = [&](const Seen&, bool&, LRESULT&, LONG_PTR&) { ownCallsWhenRaised = g_own.size(); };
  EXPECT_EQ(::SendMessageW(w.get(), kEcho, 3, 4), 7);
  ASSERT_EQ(owner.seen.size(), 1u);
  const Seen& s = owner.seen[0];
  EXPECT_TRUE(s.bBefore);
  EXPECT_EQ(s.hwnd, w.get());
  EXPECT_EQ(s.msg, kEcho);
  EXPECT_EQ(s.wParam, 3u);
  EXPECT_EQ(s.lParam, 4);
  EXPECT_EQ(s.lReturn, 0);
  EXPECT_EQ(s.lParamUser, 0x5151);
  EXPECT_EQ(ownCallsWhenRaised, 0u);
  EXPECT_EQ(OwnCalls(kEcho), 1);
}

TEST_F(CSubclassRouting, HandledBeforeNeverReachesTheOwnProcedureAndIsNotAfterRouted) {
  auto w = MakeWindow();
  CSubclass subclass;
  Owner owner(subclass);
  ASSERT_TRUE(subclass.ssc_Subclass(w.get()));
  subclass.ssc_AddMsg(w.get(), kAnswer, MSG_BEFORE_AND_AFTER);
  owner.act = [](const Seen& s, bool& bHandled, LRESULT& lReturn, LONG_PTR&) {
    if (s.bBefore) {
      bHandled = true;
      lReturn = 77;
    }
  };
  EXPECT_EQ(::SendMessageW(w.get(), kAnswer, 0, 0), 77);
  EXPECT_EQ(OwnCalls(kAnswer), 0);
  EXPECT_EQ(owner.Count(kAnswer, true), 1);
  EXPECT_EQ(owner.Count(kAnswer, false), 0);
}


TEST_F(CSubclassRouting, AfterRoutedMessagesCarryTheOwnAnswerAndAChangedAnswerReachesTheSender) {
  auto w = MakeWindow();
  CSubclass subclass;
  Owner owner(subclass);
  ASSERT_TRUE(subclass.ssc_Subclass(w.get()));
  subclass.ssc_AddMsg(w.get(), kAnswer, MSG_AFTER);
  std::size_t ownCallsWhenRaised = 0;
  owner.act = [&](const Seen&, bool&, LRESULT& lReturn, LONG_PTR&) {
    ownCallsWhenRaised = g_own.size();
    lReturn = 9;
  };
  EXPECT_EQ(::SendMessageW(w.get(), kAnswer, 0, 0), 9);
  ASSERT_EQ(owner.seen.size(), 1u);
  EXPECT_FALSE(owner.seen[0].bBefore);
  EXPECT_EQ(owner.seen[0].lReturn, 5);
  EXPECT_EQ(ownCallsWhenRaised, 1u);
}

TEST_F(CSubclassRouting, AChangedAfterAnswerReachesASenderInAnotherProcess) {
  auto w = MakeWindow();
  CSubclass subclass;
  Owner owner(subclass);
  ASSERT_TRUE(subclass.ssc_Subclass(w.get()));
  subclass.ssc_AddMsg(w.get(), kAnswer, MSG_AFTER);
  owner.act = [](const Seen&, bool&, LRESULT& lReturn, LONG_PTR&) { lReturn += 4; };
  Process sender(L"send " + Hex(reinterpret_cast<ULONG_PTR>(w.get())) + L" " + Hex(kAnswer) + L" 0 0");
  ASSERT_TRUE(sender.started());
  DWORD exitCode = 0;
  ASSERT_TRUE(sender.WaitPumping(15000, exitCode));
  EXPECT_EQ(exitCode, 9u);
  EXPECT_EQ(owner.Count(kAnswer, false), 1);
}

TEST_F(CSubclassRouting, TheUserValueIsTheHandlersAndSurvivesForLaterMessages) {
  auto w = MakeWindow();
  CSubclass subclass;
  Owner owner(subclass);
  ASSERT_TRUE(subclass.ssc_Subclass(w.get(), 77));
  subclass.ssc_AddMsg(w.get(), kPlain, MSG_BEFORE);
  EXPECT_EQ(subclass.zGet_lParamUser(w.get()), 77);
  owner.act = [](const Seen&, bool&, LRESULT&, LONG_PTR& lParamUser) { ++lParamUser; };
  ::SendMessageW(w.get(), kPlain, 0, 0);
  ::SendMessageW(w.get(), kPlain, 0, 0);
  ASSERT_EQ(owner.seen.size(), 2u);
  EXPECT_EQ(owner.seen[0].lParamUser, 77);
  EXPECT_EQ(owner.seen[1].lParamUser, 78);
  EXPECT_EQ(subclass.zGet_lParamUser(w.get()), 79);
  subclass.zSet_lParamUser(w.get(), -5);
  ::SendMessageW(w.get(), kPlain, 0, 0);
  EXPECT_EQ(owner.seen[2].lParamUser, -5);
}

TEST_F(CSubclassRouting, CallOrigWndProcRunsTheOwnProcedureAroundTheHook) {
  LogCapture log;
  auto w = MakeWindow();
  CSubclass subclass;
  Owner owner(subclass);
  ASSERT_TRUE(subclass.ssc_Subclass(w.get()));
  subclass.ssc_AddMsg(w.get(), ALL_MESSAGES, MSG_BEFORE);
  owner.act = [](const Seen&, bool& bHandled, LRESULT& lReturn, LONG_PTR&) {
    bHandled = true;
    lReturn = 1;
  };
  EXPECT_EQ(::SendMessageW(w.get(), kEcho, 20, 3), 1);
  EXPECT_EQ(OwnCalls(kEcho), 0);
  EXPECT_EQ(subclass.ssc_CallOrigWndProc(w.get(), kEcho, 20, 3), 23);
  EXPECT_EQ(OwnCalls(kEcho), 1);
  EXPECT_EQ(owner.Count(kEcho), 1);  // the direct call does not pass through the hook
  // From inside a handler: answer with the own procedure's result, doubled.
  owner.act = [&](const Seen& s, bool& bHandled, LRESULT& lReturn, LONG_PTR&) {
    if (s.msg != kEcho) return;
    lReturn = 2 * subclass.ssc_CallOrigWndProc(s.hwnd, s.msg, s.wParam, s.lParam);
    bHandled = true;
  };
  EXPECT_EQ(::SendMessageW(w.get(), kEcho, 20, 3), 46);
  EXPECT_TRUE(log.lines.empty());
  auto unhooked = MakeWindow();
  EXPECT_EQ(subclass.ssc_CallOrigWndProc(unhooked.get(), kAnswer, 0, 0), 0);
  EXPECT_EQ(log.lines, (Lines{L"CSubclass.ssc_CallOrigWndProc: Thunk type for  does not exist"}));
}


// ============================================================================
// CSubclass: ending hooks
// ============================================================================

using CSubclassEnd = HookTest;

TEST_F(CSubclassEnd, UnhookingGivesTheWindowBackItsProcedure) {
  LogCapture log;
  auto w = MakeWindow();
  WNDPROC own = ProcOf(w.get());
  CSubclass subclass;
  Owner owner(subclass);
  ASSERT_TRUE(subclass.ssc_Subclass(w.get()));
  subclass.ssc_AddMsg(w.get(), ALL_MESSAGES, MSG_BEFORE_AND_AFTER);
  EXPECT_NE(ProcOf(w.get()), own);
  subclass.ssc_UnSubclass(w.get());
  EXPECT_EQ(ProcOf(w.get()), own);
  EXPECT_EQ(NewHooks(), 0u);
  owner.seen.clear();
  EXPECT_EQ(::SendMessageW(w.get(), kAnswer, 0, 0), 5);
  EXPECT_TRUE(owner.seen.empty());
  // Unhooking again, or a window never hooked, is passed over silently.
  subclass.ssc_UnSubclass(w.get());
  auto other = MakeWindow();
  ASSERT_TRUE(subclass.ssc_Subclass(other.get()));
  subclass.ssc_UnSubclass(w.get());
  EXPECT_TRUE(log.lines.empty());
  // The window can be hooked again.
  EXPECT_TRUE(subclass.ssc_Subclass(w.get()));
}

TEST_F(CSubclassEnd, UnhookingFromInsideAHandlerReleasesOnlyAfterTheMessageReturns) {
  auto w = MakeWindow();
  WNDPROC own = ProcOf(w.get());
  CSubclass subclass;
  Owner owner(subclass);
  ASSERT_TRUE(subclass.ssc_Subclass(w.get()));
  subclass.ssc_AddMsg(w.get(), ALL_MESSAGES, MSG_BEFORE_AND_AFTER);
  bool stillInstalled = false;
  std::size_t hooksInside = 0;
  LRESULT nested = 0;
  owner.act = [&](const Seen& s, bool&, LRESULT&, LONG_PTR&) {
    if (s.msg != kPlain || !s.bBefore) return;
    subclass.ssc_UnSubclass(s.hwnd);
    stillInstalled = ProcOf(s.hwnd) != own;
    hooksInside = NewHooks();
    nested = ::SendMessageW(s.hwnd, kAnswer, 0, 0);  // passes straight through now
  };
  ::SendMessageW(w.get(), kPlain, 0, 0);
  EXPECT_TRUE(stillInstalled);
  EXPECT_EQ(hooksInside, 1u);
  EXPECT_EQ(nested, 5);
  EXPECT_EQ(owner.Count(kAnswer), 0);
  EXPECT_EQ(owner.Count(kPlain, false), 0);  // the tables were emptied
  EXPECT_EQ(OwnCalls(kPlain), 1);            // not handled: the own procedure ran
  EXPECT_EQ(ProcOf(w.get()), own);
  EXPECT_EQ(NewHooks(), 0u);
}

TEST_F(CSubclassEnd, DestroyingAHookedWindowReleasesItsRecordWithoutTheOwner) {
  LogCapture log;
  auto keep = MakeWindow();
  auto w = MakeWindow();
  HWND gone = w.get();
  CSubclass subclass;
  Owner owner(subclass);
  ASSERT_TRUE(subclass.ssc_Subclass(keep.get()));
  ASSERT_TRUE(subclass.ssc_Subclass(gone, 3));
  subclass.ssc_AddMsg(gone, ALL_MESSAGES, MSG_BEFORE_AND_AFTER);
  ASSERT_EQ(NewHooks(), 2u);
  std::size_t hooksDuringLastMessage = 0;
  owner.act = [&](const Seen& s, bool&, LRESULT&, LONG_PTR&) {
    if (s.msg == WM_NCDESTROY) hooksDuringLastMessage = NewHooks();
  };
  w.reset();
  EXPECT_EQ(hooksDuringLastMessage, 2u);
  EXPECT_EQ(NewHooks(), 1u);
  EXPECT_EQ(owner.Count(WM_NCDESTROY, true), 1);
  EXPECT_EQ(owner.Count(WM_NCDESTROY, false), 1);
  EXPECT_EQ(owner.seen.back().msg, static_cast<UINT>(WM_NCDESTROY));
  // The registry has forgotten it.
  EXPECT_EQ(subclass.zGet_lParamUser(gone), 0);
  EXPECT_EQ(log.lines, (Lines{L"CSubclass.zGet_lParamUser: Thunk type for  does not exist"}));
  // The other window is still routed.
  subclass.ssc_AddMsg(keep.get(), kAnswer, MSG_AFTER);
  ::SendMessageW(keep.get(), kAnswer, 0, 0);
  EXPECT_EQ(owner.Count(kAnswer, false), 1);
}

TEST_F(CSubclassEnd, DestroyingTheWindowFromInsideItsOwnHandlerIsSafe) {
  auto w = MakeWindow();
  HWND h = w.release();
  CSubclass subclass;
  Owner owner(subclass);
  ASSERT_TRUE(subclass.ssc_Subclass(h));
  subclass.ssc_AddMsg(h, ALL_MESSAGES, MSG_BEFORE_AND_AFTER);
  std::size_t hooksAfterDestroy = 0;
  owner.act = [&](const Seen& s, bool& bHandled, LRESULT& lReturn, LONG_PTR&) {
    if (s.msg == kPlain && s.bBefore) {
      ::DestroyWindow(s.hwnd);
      hooksAfterDestroy = NewHooks();
      bHandled = true;
      lReturn = 12;
    }
  };
  EXPECT_EQ(::SendMessageW(h, kPlain, 0, 0), 12);
  EXPECT_FALSE(::IsWindow(h));
  EXPECT_EQ(hooksAfterDestroy, 1u);  // kept while the click-like message was inside
  EXPECT_EQ(NewHooks(), 0u);
}

TEST_F(CSubclassEnd, TheOwnerEndingInsideItsOwnHandlerIsSafe) {
  auto w = MakeWindow();
  WNDPROC own = ProcOf(w.get());
  auto subclass = std::make_unique<CSubclass>();
  ASSERT_TRUE(subclass->ssc_Subclass(w.get()));
  subclass->ssc_AddMsg(w.get(), ALL_MESSAGES, MSG_BEFORE_AND_AFTER);
  int raised = 0;
  subclass->WindowProc.Bind([&](bool, bool&, LRESULT&, HWND, UINT msg, WPARAM, LPARAM, LONG_PTR&) {
    ++raised;
    if (msg == kPlain) subclass.reset();
  });
  ::SendMessageW(w.get(), kPlain, 0, 0);
  EXPECT_EQ(raised, 1);
  EXPECT_EQ(OwnCalls(kPlain), 1);
  EXPECT_EQ(ProcOf(w.get()), own);
  EXPECT_EQ(NewHooks(), 0u);
}

TEST_F(CSubclassEnd, TerminateAndTheObjectsEndUnhookEveryWindow) {
  LogCapture log;
  auto a = MakeWindow();
  auto b = MakeWindow();
  WNDPROC own = ProcOf(a.get());
  {
    CSubclass subclass;
    ASSERT_TRUE(subclass.ssc_Subclass(a.get()));
    ASSERT_TRUE(subclass.ssc_Subclass(b.get()));
    subclass.ssc_Terminate();
    EXPECT_EQ(ProcOf(a.get()), own);
    EXPECT_EQ(ProcOf(b.get()), own);
    EXPECT_EQ(NewHooks(), 0u);
    // The registry is gone with them.
    subclass.ssc_AddMsg(a.get(), kAnswer, MSG_BEFORE);
    EXPECT_EQ(log.lines, (Lines{L"CSubclass.ssc_AddMsg: Thunk hasn't been initialized"}));
    ASSERT_TRUE(subclass.ssc_Subclass(a.get()));
    ASSERT_TRUE(subclass.ssc_Subclass(b.get()));
    EXPECT_EQ(NewHooks(), 2u);
  }
  EXPECT_EQ(ProcOf(a.get()), own);
  EXPECT_EQ(ProcOf(b.get()), own);
  EXPECT_EQ(NewHooks(), 0u);
}

TEST_F(CSubclassEnd, OperationsBeforeAnyHookAndOnAnEmptyRegistry) {
  LogCapture log;
  auto w = MakeWindow();
  CSubclass subclass;
  subclass.ssc_AddMsg(w.get(), kAnswer, MSG_BEFORE);
  subclass.ssc_UnSubclass(w.get());
  EXPECT_EQ(subclass.zGet_lParamUser(w.get()), 0);
  EXPECT_EQ(log.lines, (Lines{L"CSubclass.ssc_AddMsg: Thunk hasn't been initialized",
                              L"CSubclass.ssc_UnSubclass: Thunk hasn't been initialized",
                              L"CSubclass.zGet_lParamUser: Thunk hasn't been initialized"}));
  log.lines.clear();
  ASSERT_TRUE(subclass.ssc_Subclass(w.get()));
  subclass.ssc_UnSubclass(w.get());
  // The registry exists and is empty: nothing happens, nothing is logged.
  subclass.ssc_AddMsg(w.get(), kAnswer, MSG_BEFORE);
  subclass.ssc_DelMsg(w.get(), MSG_BEFORE, kAnswer);
  subclass.zSet_lParamUser(w.get(), 4);
  EXPECT_EQ(subclass.ssc_CallOrigWndProc(w.get(), kAnswer, 0, 0), 0);
  EXPECT_TRUE(log.lines.empty());
}

TEST_F(CSubclassEnd, UnhookingUnderAnotherHookKeepsThatHookWorking) {
  auto w = MakeWindow();
  WNDPROC own = ProcOf(w.get());
  CSubclass subclass;
  Owner owner(subclass);
  ASSERT_TRUE(subclass.ssc_Subclass(w.get()));
  subclass.ssc_AddMsg(w.get(), ALL_MESSAGES, MSG_BEFORE);
  WNDPROC ours = ProcOf(w.get());

  // Someone else hooks the window over ours, the plain way.
  static WNDPROC s_under = nullptr;
  static int s_foreignCalls = 0;
  s_foreignCalls = 0;
  struct Foreign {
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
      if (m == kAnswer) ++s_foreignCalls;
      return ::CallWindowProcW(s_under, h, m, wp, lp);
    }
  };
  s_under = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(w.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Foreign::Proc)));
  ASSERT_EQ(s_under, ours);

  subclass.ssc_UnSubclass(w.get());
  // Ours cannot leave without cutting the other one out: it stays, passing through.
  EXPECT_EQ(ProcOf(w.get()), &Foreign::Proc);
  EXPECT_EQ(NewHooks(), 1u);
  owner.seen.clear();
  EXPECT_EQ(::SendMessageW(w.get(), kAnswer, 0, 0), 5);
  EXPECT_EQ(s_foreignCalls, 1);
  EXPECT_EQ(OwnCalls(kAnswer), 1);
  EXPECT_TRUE(owner.seen.empty());

  // The other hook leaves; after the next message ours leaves too.
  ::SetWindowLongPtrW(w.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_under));
  EXPECT_EQ(::SendMessageW(w.get(), kAnswer, 0, 0), 5);
  EXPECT_EQ(ProcOf(w.get()), own);
  EXPECT_EQ(NewHooks(), 0u);
}

TEST_F(CSubclassEnd, AHookLeftUnderAnotherIsReleasedWithTheWindow) {
  auto w = MakeWindow();
  CSubclass subclass;
  ASSERT_TRUE(subclass.ssc_Subclass(w.get()));
  static WNDPROC s_under = nullptr;
  struct Foreign {
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
      return ::CallWindowProcW(s_under, h, m, wp, lp);
    }
  };
  s_under = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(w.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Foreign::Proc)));
  subclass.ssc_UnSubclass(w.get());
  EXPECT_EQ(NewHooks(), 1u);
  w.reset();
  EXPECT_EQ(NewHooks(), 0u);
}

// ============================================================================
// CSubclass: mouse-leave tracking
// ============================================================================

using CSubclassMouse = HookTest;

TEST_F(CSubclassMouse, EachTrackingRequestGivesExactlyOneMouseLeave) {
  auto w = MakeWindow(WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST, 200, 200, 200, 200);
  ASSERT_TRUE(w);
  CSubclass subclass;
  Owner owner(subclass);
  ASSERT_TRUE(subclass.ssc_Subclass(w.get()));
  subclass.ssc_AddMsg(w.get(), WM_MOUSEMOVE, MSG_BEFORE);
  subclass.ssc_AddMsg(w.get(), WM_MOUSELEAVE, MSG_BEFORE);
  PumpFor(300);
  auto leaves = [&] { return owner.Count(WM_MOUSELEAVE); };
  auto moveInside = [&](int x, int y) {
    const int moves = owner.Count(WM_MOUSEMOVE);
    ::SetCursorPos(x, y);
    return PumpUntil([&] { return owner.Count(WM_MOUSEMOVE) > moves; }, 3000);
  };

  ASSERT_TRUE(moveInside(300, 300)) << "no WM_MOUSEMOVE after moving the pointer into the window";
  POINT p{};
  ::GetCursorPos(&p);
  ASSERT_EQ(::WindowFromPoint(p), w.get());
  EXPECT_EQ(leaves(), 0);

  subclass.TrackMouseTracking(w.get());
  ::SetCursorPos(800, 650);
  EXPECT_TRUE(PumpUntil([&] { return leaves() >= 1; }, 3000));
  PumpFor(800);
  EXPECT_EQ(leaves(), 1);

  // In and out again without a request: nothing.
  ASSERT_TRUE(moveInside(310, 320));
  ::SetCursorPos(820, 660);
  PumpFor(800);
  EXPECT_EQ(leaves(), 1);

  // A new request covers the next leave, once.
  ASSERT_TRUE(moveInside(330, 340));
  subclass.TrackMouseTracking(w.get());
  ::SetCursorPos(840, 670);
  EXPECT_TRUE(PumpUntil([&] { return leaves() >= 2; }, 3000));
  PumpFor(800);
  EXPECT_EQ(leaves(), 2);
}

// ============================================================================
// cFormSubclass
// ============================================================================

namespace {

struct FormSeen {
  bool bBefore;
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

}  // namespace

using cFormSubclassTest = HookTest;

TEST_F(cFormSubclassTest, EveryMessageGoesToMsgComeBeforeTheOwnProcedure) {
  auto w = MakeWindow();
  cFormSubclass subclass;
  std::vector<FormSeen> seen;
  std::size_t ownCallsWhenRaised = 99;
  subclass.MsgCome.Bind([&](bool bBefore, bool&, LRESULT& lReturn, HWND& hwnd, UINT& msg, WPARAM& w, LPARAM& l) {
    seen.push_back({bBefore, hwnd, msg, w, l});
    EXPECT_EQ(lReturn, 0);
    if (msg == kEcho) ownCallsWhenRaised = g_own.size();
  });
  EXPECT_TRUE(subclass.AddWindowMsgs(w.get()));
  EXPECT_EQ(::SendMessageW(w.get(), kEcho, 1, 2), 3);
  ::SendMessageW(w.get(), WM_APP + 400, 0, 0);
  ::SetWindowTextW(w.get(), L"t");
  EXPECT_EQ(ownCallsWhenRaised, 0u);
  int echo = 0, other = 0, setText = 0;
  for (const FormSeen& s : seen) {
    EXPECT_TRUE(s.bBefore);
    echo += s.msg == kEcho;
    other += s.msg == WM_APP + 400;
    setText += s.msg == WM_SETTEXT;
  }
  EXPECT_EQ(echo, 1);
  EXPECT_EQ(other, 1);
  EXPECT_EQ(setText, 1);
}

TEST_F(cFormSubclassTest, ChangedHandleMessageAndParametersAreWhatTheOwnProcedureReceives) {
  auto w = MakeWindow();
  auto target = MakeWindow();
  cFormSubclass subclass;
  subclass.MsgCome.Bind([&](bool, bool&, LRESULT&, HWND& hwnd, UINT& msg, WPARAM& wParam, LPARAM& lParam) {
    if (msg != kPlain) return;
    hwnd = target.get();
    msg = kEcho;
    wParam = 30;
    lParam = 12;
  });
  ASSERT_TRUE(subclass.AddWindowMsgs(w.get()));
  EXPECT_EQ(::SendMessageW(w.get(), kPlain, 1, 1), 42);
  ASSERT_EQ(g_own.size(), 1u);
  EXPECT_EQ(g_own[0].hwnd, target.get());
  EXPECT_EQ(g_own[0].msg, kEcho);
  EXPECT_EQ(g_own[0].wParam, 30u);
  EXPECT_EQ(g_own[0].lParam, 12);
}

TEST_F(cFormSubclassTest, HandledAnswersWithoutTheOwnProcedure) {
  auto w = MakeWindow();
  cFormSubclass subclass;
  subclass.MsgCome.Bind([](bool, bool& bHandled, LRESULT& lReturn, HWND&, UINT& msg, WPARAM&, LPARAM&) {
    if (msg == kAnswer) {
      bHandled = true;
      lReturn = 31;
    }
  });
  ASSERT_TRUE(subclass.AddWindowMsgs(w.get()));
  EXPECT_EQ(::SendMessageW(w.get(), kAnswer, 0, 0), 31);
  EXPECT_EQ(OwnCalls(kAnswer), 0);
  EXPECT_EQ(::SendMessageW(w.get(), kEcho, 2, 2), 4);
}

TEST_F(cFormSubclassTest, HookingAWindowTwiceChainsTwoHooks) {
  auto w = MakeWindow();
  cFormSubclass subclass;
  std::vector<WPARAM> order;
  subclass.MsgCome.Bind([&](bool, bool&, LRESULT&, HWND&, UINT& msg, WPARAM& wParam, LPARAM&) {
    if (msg != kEcho) return;
    order.push_back(wParam);
    wParam += 10;  // each hook passes on what it changed
  });
  ASSERT_TRUE(subclass.AddWindowMsgs(w.get()));
  ASSERT_TRUE(subclass.AddWindowMsgs(w.get()));
  EXPECT_EQ(NewHooks(), 2u);
  EXPECT_EQ(::SendMessageW(w.get(), kEcho, 1, 0), 21);
  EXPECT_EQ(order, (std::vector<WPARAM>{1, 11}));
  EXPECT_EQ(OwnCalls(kEcho), 1);
}

TEST_F(cFormSubclassTest, DeleteWindowMsgAnswersFalseAndTheObjectsEndUnhooks) {
  auto w = MakeWindow();
  WNDPROC own = ProcOf(w.get());
  {
    cFormSubclass subclass;
    int raised = 0;
    subclass.MsgCome.Bind([&](bool, bool&, LRESULT&, HWND&, UINT& msg, WPARAM&, LPARAM&) { raised += msg == kAnswer; });
    ASSERT_TRUE(subclass.AddWindowMsgs(w.get()));
    ASSERT_TRUE(subclass.AddWindowMsgs(w.get()));
    EXPECT_FALSE(subclass.DeleteWindowMsg(w.get()));
    ::SendMessageW(w.get(), kAnswer, 0, 0);
    EXPECT_EQ(raised, 2);
    EXPECT_NE(ProcOf(w.get()), own);
  }
  EXPECT_EQ(ProcOf(w.get()), own);
  EXPECT_EQ(NewHooks(), 0u);
  EXPECT_EQ(::SendMessageW(w.get(), kAnswer, 0, 0), 5);
}

TEST_F(cFormSubclassTest, TheObjectEndingInsideMsgComeIsSafe) {
  auto w = MakeWindow();
  WNDPROC own = ProcOf(w.get());
  auto subclass = std::make_unique<cFormSubclass>();
  subclass->MsgCome.Bind([&](bool, bool&, LRESULT&, HWND&, UINT& msg, WPARAM&, LPARAM&) {
    if (msg == kEcho) subclass.reset();
  });
  ASSERT_TRUE(subclass->AddWindowMsgs(w.get()));
  EXPECT_EQ(::SendMessageW(w.get(), kEcho, 4, 5), 9);
  EXPECT_EQ(OwnCalls(kEcho), 1);
  EXPECT_EQ(ProcOf(w.get()), own);
  EXPECT_EQ(NewHooks(), 0u);
}

TEST_F(cFormSubclassTest, ADestroyedWindowsHookEndsByItselfAndItsEntryIsTakenAgain) {
  auto w = MakeWindow();
  auto next = MakeWindow();
  cFormSubclass subclass;
  int lastMessages = 0;
  subclass.MsgCome.Bind([&](bool, bool&, LRESULT&, HWND&, UINT& msg, WPARAM&, LPARAM&) {
    lastMessages += msg == WM_NCDESTROY;
  });
  ASSERT_TRUE(subclass.AddWindowMsgs(w.get()));
  w.reset();
  EXPECT_EQ(lastMessages, 1);
  EXPECT_EQ(NewHooks(), 0u);
  ASSERT_TRUE(subclass.AddWindowMsgs(next.get()));
  EXPECT_EQ(::SendMessageW(next.get(), kAnswer, 0, 0), 5);
  EXPECT_EQ(NewHooks(), 1u);
}


TEST_F(cFormSubclassTest, AWindowThatCannotBeHookedKeepsNothing) {
  PeerWindow peer;
  ASSERT_NE(peer.hwnd(), nullptr) << "hookpeer.exe did not show its window";
  cFormSubclass subclass;
  EXPECT_FALSE(subclass.AddWindowMsgs(peer.hwnd()));
  EXPECT_FALSE(subclass.AddWindowMsgs(nullptr));
  EXPECT_EQ(NewHooks(), 0u);
  EXPECT_TRUE(peer.ProcedureIsItsOwn());
  EXPECT_EQ(peer.Answer(), 5);
}
