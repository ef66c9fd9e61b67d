// The form life cycle and the program's lifetime on real windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/DeleteLater.h"
#include "forms/Form.h"
#include "forms/Program.h"

namespace {

std::vector<std::string> g_events;

class Probe : public forms::Form {
 public:
  explicit Probe(std::string name)
      : Form(forms::FormDesign{.caption = L"probe", .clientWidth = 120, .clientHeight = 80,
                               .showInTaskbar = false}),
        name_(std::move(name)) {}
  bool cancelQuery = false, cancelUnload = false;
  forms::UnloadMode lastMode = forms::UnloadMode::Code;
  std::function<void()> onUnload;
  std::function<void()> onQuery;
  bool resizeInLoad = false;
  int resizes = 0;

 protected:
  void Form_Initialize() override { g_events.push_back(name_ + ".Initialize"); }
  void Form_Load() override {
    g_events.push_back(name_ + ".Load");
    if (resizeInLoad) ::SetWindowPos(hWnd(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
  }
  void Form_Resize() override { ++resizes; }
  void Form_QueryUnload(bool& cancel, forms::UnloadMode mode) override {
    g_events.push_back(name_ + ".QueryUnload");
    lastMode = mode;
    if (onQuery) onQuery();
    cancel = cancelQuery;
  }
  void Form_Unload(bool& cancel) override {
    g_events.push_back(name_ + ".Unload");
    cancel = cancelUnload;
    if (!cancel && onUnload) onUnload();
  }

 private:
  std::string name_;
};

// Closes whatever probe form is open, the way the system's close command does.
void CALLBACK CloseProbes(HWND, UINT, UINT_PTR, DWORD) {
  for (HWND hwnd = ::FindWindowW(L"VelmoraForm", L"probe"); hwnd; hwnd = ::FindWindowW(L"VelmoraForm", L"probe"))
    ::SendMessageW(hwnd, WM_CLOSE, 0, 0);
}

class Forms : public testing::Test {
 protected:
  void SetUp() override { g_events.clear(); }
};

TEST_F(Forms, LoadIsIdempotentAndReadingTheWindowLoads) {
  Probe form("A");
  form.RunInitialize();
  form.RunInitialize();
  HWND hwnd = form.hWnd();
  ASSERT_TRUE(::IsWindow(hwnd));
  form.Load();
  EXPECT_EQ(form.hWnd(), hwnd);
  EXPECT_EQ(g_events, (std::vector<std::string>{"A.Initialize", "A.Load"}));
  EXPECT_FALSE(form.Visible());
  EXPECT_TRUE(form.Unload());
  EXPECT_FALSE(::IsWindow(hwnd));
}

TEST_F(Forms, AFormIsLaidOutOnceAfterLoadWhetherOrNotLoadResizedIt) {
  Probe plain("A");
  plain.Load();
  EXPECT_EQ(plain.resizes, 1) << "its controls exist only after the window's first size";
  Probe sized("B");
  sized.resizeInLoad = true;
  sized.Load();
  EXPECT_EQ(sized.resizes, 1) << "its own resize laid it out already";
}

// The main window's close question runs a modal loop inside its query-unload
// step; a close request that arrives meanwhile must not ask again.
TEST_F(Forms, AnUnloadRequestedWhileTheFormIsUnloadingJoinsIt) {
  Probe form("A");
  form.Load();
  form.cancelQuery = true;
  form.onQuery = [&] { form.Unload(forms::UnloadMode::ControlMenu); };
  EXPECT_FALSE(form.Unload());
  EXPECT_EQ(g_events, (std::vector<std::string>{"A.Load", "A.QueryUnload"}));
  EXPECT_TRUE(form.IsLoaded());
  form.onQuery = nullptr;
  form.cancelQuery = false;
}

TEST_F(Forms, EitherUnloadStepMayCancel) {
  Probe form("A");
  form.Load();
  const int loaded = forms::Program::LoadedFormCount();
  form.cancelQuery = true;
  EXPECT_FALSE(form.Unload());
  form.cancelQuery = false;
  form.cancelUnload = true;
  EXPECT_FALSE(form.Unload());
  EXPECT_TRUE(form.IsLoaded());
  EXPECT_EQ(forms::Program::LoadedFormCount(), loaded);
  form.cancelUnload = false;
  EXPECT_TRUE(form.Unload());
  EXPECT_EQ(forms::Program::LoadedFormCount(), loaded - 1);
  EXPECT_EQ(g_events, (std::vector<std::string>{"A.Load", "A.QueryUnload", "A.QueryUnload", "A.Unload",
                                                "A.QueryUnload", "A.Unload"}));
}

TEST_F(Forms, ClosingTheWindowUnloadsWithTheControlMenuMode) {
  Probe form("A");
  form.Load();
  ::SendMessageW(form.hWnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_EQ(form.lastMode, forms::UnloadMode::ControlMenu);
}

TEST_F(Forms, ALogOffIsAnsweredByTheQueryUnloadStepAndTheSessionsEndUnloadsWithoutAskingAgain) {
  Probe form("A");
  form.Load();
  form.cancelQuery = true;
  EXPECT_EQ(::SendMessageW(form.hWnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
  EXPECT_EQ(form.lastMode, forms::UnloadMode::AppWindows);
  ::SendMessageW(form.hWnd(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
  EXPECT_TRUE(form.IsLoaded()) << "the session goes on";
  form.cancelQuery = false;
  EXPECT_EQ(::SendMessageW(form.hWnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
  EXPECT_TRUE(form.IsLoaded()) << "asked only";
  ::SendMessageW(form.hWnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_EQ(g_events, (std::vector<std::string>{"A.Load", "A.QueryUnload", "A.QueryUnload", "A.Unload"}));
}

TEST_F(Forms, AnUnloadedFormLoadsAgainWithoutAnotherInitialize) {
  Probe form("A");
  form.RunInitialize();
  form.Load();
  form.Unload();
  form.Load();
  EXPECT_TRUE(form.IsLoaded());
  form.Unload();
  EXPECT_EQ(g_events, (std::vector<std::string>{"A.Initialize", "A.Load", "A.QueryUnload", "A.Unload", "A.Load",
                                                "A.QueryUnload", "A.Unload"}));
}

TEST_F(Forms, DestroyingAWindowFromOutsideUnloadsTheForm) {
  Probe form("A");
  form.Load();
  const int loaded = forms::Program::LoadedFormCount();
  ::DestroyWindow(form.hWnd());
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_EQ(forms::Program::LoadedFormCount(), loaded - 1);
}

TEST_F(Forms, TheProgramRunsUntilTheLastFormHasUnloaded) {
  // A hands over to B from inside its own unload (as the login screen hands
  // over to the main window): the program goes on until B is gone too.
  Probe a("A"), b("B");
  a.onUnload = [&] { b.Load(); };
  a.Load();
  ASSERT_EQ(forms::Program::LoadedFormCount(), 1);
  ::PostMessageW(a.hWnd(), WM_CLOSE, 0, 0);
  UINT_PTR timer = ::SetTimer(nullptr, 0, 200, &CloseProbes);
  EXPECT_EQ(forms::Program::Run(), 0);
  ::KillTimer(nullptr, timer);
  EXPECT_FALSE(a.IsLoaded());
  EXPECT_FALSE(b.IsLoaded());
  EXPECT_EQ(g_events, (std::vector<std::string>{"A.Load", "A.QueryUnload", "A.Unload", "B.Load", "B.QueryUnload",
                                                "B.Unload"}));
}

TEST_F(Forms, DeleteLaterWaitsForTheMessageLoop) {
  struct Tracked {
    bool* gone = nullptr;
    ~Tracked() { *gone = true; }
  };
  bool gone = false;
  auto tracked = std::make_unique<Tracked>();
  tracked->gone = &gone;
  forms::DeleteLater(std::move(tracked));
  EXPECT_FALSE(gone);
  MSG msg;
  for (int i = 0; i < 100 && !gone; ++i) {
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    ::Sleep(5);
  }
  EXPECT_TRUE(gone);
}

}  // namespace

TEST_F(Forms, WhatTheLastUnloadDeferredHasRunWhenTheProgramsLoopReturns) {
  struct Tracked {
    bool* gone = nullptr;
    ~Tracked() { *gone = true; }
  };
  bool gone = false;
  Probe form("F");
  form.Load();
  forms::RunWhenIdle([&] {
    auto tracked = std::make_unique<Tracked>();
    tracked->gone = &gone;
    forms::DeleteLater(std::move(tracked));
    form.Unload();
  });
  UINT_PTR timer = ::SetTimer(nullptr, 0, 2000, &CloseProbes);
  EXPECT_EQ(forms::Program::Run(), 0);
  ::KillTimer(nullptr, timer);
  EXPECT_TRUE(gone);
}

TEST_F(Forms, AnIdleActionWaitsUntilNothingIsQueued) {
  // The idle action is asked for first, yet runs after everything already
  // waiting, the queued actions and the window's own messages alike.
  Probe form("F");
  form.Load();
  forms::RunWhenIdle([&] {
    g_events.push_back("idle");
    form.Unload();
  });
  forms::RunLater([] { g_events.push_back("later"); });
  ::PostMessageW(form.hWnd(), WM_NULL, 0, 0);
  forms::RunLater([] { g_events.push_back("later again"); });
  UINT_PTR timer = ::SetTimer(nullptr, 0, 2000, &CloseProbes);  // should the idle action never run
  EXPECT_EQ(forms::Program::Run(), 0);
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(g_events, (std::vector<std::string>{"F.Load", "later", "later again", "idle", "F.QueryUnload", "F.Unload"}));
}
