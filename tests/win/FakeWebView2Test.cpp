// The tests' fake WebView2 runtime (tests/webview2) held to the runtime's
// rules, driven through our own declarations of its interfaces by a host of
// the test's own: callbacks only from the message loop, calls only from the
// thread that made it, the Cancel and Handled answers, the scripts it runs.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

#include "browser/WebView2Api.h"
#include "tests/win/PlainPageTestServer.h"
#include "win/ComPtr.h"
#include "win/Text.h"

using pagetest::ParentWindow;
using pagetest::PumpUntil;
using pagetest::TestHttpServer;

namespace {

// A handler of any of the runtime's handler interfaces, calling a function.
template <typename Interface, typename... Args>
class Callback final : public Interface {
 public:
  explicit Callback(std::function<void(Args...)> fn) : fn_(std::move(fn)) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = this;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE Invoke(Args... args) override {
    fn_(args...);
    return S_OK;
  }

 private:
  std::function<void(Args...)> fn_;
  ULONG references_ = 1;
};

template <typename Interface, typename... Args, typename Fn>
win::ComPtr<Interface> Make(Fn fn) {
  return win::ComPtr<Interface>::Attach(new Callback<Interface, Args...>(std::function<void(Args...)>(fn)));
}

std::wstring Take(LPWSTR text) {
  std::wstring copy = text ? text : L"";
  ::CoTaskMemFree(text);
  return copy;
}

std::wstring TempFile(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + name;
}

class FakeWebView2 : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.ok());
    logPath = TempFile(L"velmora-fake-webview2-test.log");
    ::DeleteFileW(logPath.c_str());
    ::SetEnvironmentVariableW(L"VELMORA_TEST_WEBVIEW2_LOG", logPath.c_str());
    HMODULE dll = ::LoadLibraryW(VELMORA_FAKE_WEBVIEW2_DLL);
    ASSERT_TRUE(dll);
    create = reinterpret_cast<CreateWebViewEnvironmentWithOptionsInternalFn>(
        reinterpret_cast<void*>(::GetProcAddress(dll, "CreateWebViewEnvironmentWithOptionsInternal")));
    ASSERT_TRUE(create);

    bool inCall = true, calledInCall = false;
    auto environmentDone = Make<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler, HRESULT,
                                ICoreWebView2Environment*>([&](HRESULT hr, ICoreWebView2Environment* made) {
      calledInCall |= inCall;
      if (SUCCEEDED(hr) && made) {
        made->AddRef();
        environment = win::ComPtr<ICoreWebView2Environment>::Attach(made);
      }
    });
    ASSERT_EQ(S_OK, create(true, 0, TempFile(L"velmora-fake-webview2-profile").c_str(), nullptr,
                           environmentDone.get()));
    inCall = false;
    ASSERT_TRUE(PumpUntil([&] { return bool(environment); }));

    inCall = true;
    auto controllerDone = Make<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler, HRESULT,
                               ICoreWebView2Controller*>([&](HRESULT hr, ICoreWebView2Controller* made) {
      calledInCall |= inCall;
      if (SUCCEEDED(hr) && made) {
        made->AddRef();
        controller = win::ComPtr<ICoreWebView2Controller>::Attach(made);
      }
    });
    ASSERT_EQ(S_OK, environment->CreateCoreWebView2Controller(parent.hwnd(), controllerDone.get()));
    inCall = false;
    ASSERT_TRUE(PumpUntil([&] { return bool(controller); }));
    EXPECT_FALSE(calledInCall);
    ASSERT_EQ(S_OK, controller->put_Bounds(RECT{0, 0, 600, 400}));
    ASSERT_EQ(S_OK, controller->get_CoreWebView2(view.put()));

    EventRegistrationToken token{};
    view->add_NavigationStarting(Make<ICoreWebView2NavigationStartingEventHandler, ICoreWebView2*,
                                      ICoreWebView2NavigationStartingEventArgs*>(
                                     [&](ICoreWebView2*, ICoreWebView2NavigationStartingEventArgs* args) {
                                       UINT64 id = 0;
                                       args->get_NavigationId(&id);
                                       events.push_back("start " + std::to_string(id));
                                       if (cancelNext) args->put_Cancel(TRUE);
                                     })
                                     .get(),
                                 &token);
    view->add_NavigationCompleted(Make<ICoreWebView2NavigationCompletedEventHandler, ICoreWebView2*,
                                       ICoreWebView2NavigationCompletedEventArgs*>(
                                      [&](ICoreWebView2*, ICoreWebView2NavigationCompletedEventArgs* args) {
                                        UINT64 id = 0;
                                        BOOL success = FALSE;
                                        COREWEBVIEW2_WEB_ERROR_STATUS status{};
                                        args->get_NavigationId(&id);
                                        args->get_IsSuccess(&success);
                                        args->get_WebErrorStatus(&status);
                                        events.push_back("done " + std::to_string(id) + (success ? " ok" : " failed ") +
                                                         (success ? "" : std::to_string(status)));
                                        ++completed;
                                      })
                                      .get(),
                                  &token);
    view->add_DocumentTitleChanged(Make<ICoreWebView2DocumentTitleChangedEventHandler, ICoreWebView2*, IUnknown*>(
                                       [&](ICoreWebView2* sender, IUnknown*) {
                                         LPWSTR title = nullptr;
                                         sender->get_DocumentTitle(&title);
                                         events.push_back("title " + win::ToUtf8(Take(title)));
                                       })
                                       .get(),
                                   &token);
  }
  void TearDown() override {
    if (controller) controller->Close();
    ::SetEnvironmentVariableW(L"VELMORA_TEST_WEBVIEW2_LOG", nullptr);
  }

  bool NavigateAndWait(const std::wstring& uri) {
    const int before = completed;
    return view->Navigate(uri.c_str()) == S_OK && PumpUntil([&] { return completed > before; });
  }
  std::wstring Run(const wchar_t* script) {
    std::wstring result;
    bool done = false;
    view->ExecuteScript(script, Make<ICoreWebView2ExecuteScriptCompletedHandler, HRESULT, LPCWSTR>(
                                    [&](HRESULT, LPCWSTR json) {
                                      result = json ? json : L"";
                                      done = true;
                                    })
                                    .get());
    EXPECT_FALSE(done) << "answered inside the call";
    EXPECT_TRUE(PumpUntil([&] { return done; }));
    return result;
  }
  std::string Log() const {
    std::ifstream in(std::string(logPath.begin(), logPath.end()));
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  CreateWebViewEnvironmentWithOptionsInternalFn create = nullptr;
  TestHttpServer server;
  ParentWindow parent;
  std::wstring logPath;
  win::ComPtr<ICoreWebView2Environment> environment;
  win::ComPtr<ICoreWebView2Controller> controller;
  win::ComPtr<ICoreWebView2> view;
  std::vector<std::string> events;
  int completed = 0;
  bool cancelNext = false;
};

TEST_F(FakeWebView2, NavigatesInTheRuntimesOrderFromTheMessageLoopOnly) {
  server.Page("/a.html", "<html><head><title>Page A</title></head><body><p>a</p></body></html>");
  ASSERT_EQ(S_OK, view->Navigate(server.Url("/a.html").c_str()));
  EXPECT_TRUE(events.empty()) << "a handler called inside Navigate";
  ASSERT_TRUE(PumpUntil([&] { return completed == 1; }));
  ASSERT_EQ(3u, events.size());
  const std::string id = events[0].substr(6);
  EXPECT_EQ("start " + id, events[0]);
  EXPECT_EQ("title Page A", events[1]);
  EXPECT_EQ("done " + id + " ok", events[2]);
  EXPECT_EQ(L"\"<head><title>Page A</title></head><body><p>a</p></body>\"",
            Run(L"document.documentElement.innerHTML"));
}

TEST_F(FakeWebView2, RefusesOtherThreadsUnknownTokensAndCallsAfterClose) {
  HRESULT fromThere = S_OK;
  std::thread([&] { fromThere = view->Navigate(L"about:blank"); }).join();
  EXPECT_EQ(RPC_E_WRONG_THREAD, fromThere);
  EXPECT_EQ(E_INVALIDARG, view->remove_NavigationStarting(EventRegistrationToken{987654}));
  ASSERT_EQ(S_OK, controller->Close());
  EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INVALID_STATE), view->Navigate(L"about:blank"));
  EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INVALID_STATE), controller->put_IsVisible(FALSE));
}

TEST_F(FakeWebView2, ACancelledNavigationKeepsThePage) {
  server.Page("/a.html", "<html><head><title>A</title></head><body>a</body></html>");
  server.Page("/b.html", "<html><head><title>B</title></head><body>b</body></html>");
  ASSERT_TRUE(NavigateAndWait(server.Url("/a.html")));
  cancelNext = true;
  ASSERT_TRUE(NavigateAndWait(server.Url("/b.html")));
  EXPECT_EQ("failed 14", events.back().substr(events.back().find(" failed") + 1));
  EXPECT_EQ(0, server.Count("/b.html"));
  LPWSTR source = nullptr;
  view->get_Source(&source);
  EXPECT_EQ(server.Url("/a.html"), Take(source));
  EXPECT_NE(std::string::npos, Log().find("\"call\":\"put_Cancel\",\"interface\":"));
}

TEST_F(FakeWebView2, OpensAWindowOfItsOwnOnlyWhenTheHostDoesNotHandleIt) {
  server.Page("/popup.html", "<html><body><script>window.open('http://127.0.0.1:1/other')</script></body></html>");
  bool handle = true;
  int requests = 0;
  EventRegistrationToken token{};
  view->add_NewWindowRequested(Make<ICoreWebView2NewWindowRequestedEventHandler, ICoreWebView2*,
                                    ICoreWebView2NewWindowRequestedEventArgs*>(
                                   [&](ICoreWebView2*, ICoreWebView2NewWindowRequestedEventArgs* args) {
                                     ++requests;
                                     if (handle) args->put_Handled(TRUE);
                                   })
                                   .get(),
                               &token);
  ASSERT_TRUE(NavigateAndWait(server.Url("/popup.html")));
  ASSERT_TRUE(PumpUntil([&] { return requests == 1; }));
  EXPECT_EQ(std::string::npos, Log().find("own_window"));
  handle = false;
  ASSERT_TRUE(NavigateAndWait(server.Url("/popup.html")));
  ASSERT_TRUE(PumpUntil([&] { return requests == 2; }));
  EXPECT_NE(std::string::npos, Log().find("\"event\":\"own_window\",\"uri\":\"http://127.0.0.1:1/other\""));
}

TEST_F(FakeWebView2, AnswersTheScriptsItKnowsAndNullOtherwise) {
  server.Page("/s.html", "<html style=\"overflow: auto\"><body>s</body></html>");
  ASSERT_TRUE(NavigateAndWait(server.Url("/s.html")));
  EXPECT_EQ(L"\"auto\"", Run(L"document.documentElement.style.overflow"));
  EXPECT_EQ(L"\"red\"", Run(L"document.documentElement.style.overflowX = \"hidden\"; "
                            L"document.documentElement.style.backgroundColor = 'red'"));
  EXPECT_EQ(L"\"hidden\"", Run(L"document.documentElement.style.overflowX"));
  EXPECT_EQ(L"null", Run(L"alert(1)"));
}

TEST_F(FakeWebView2, ReportsFailedPagesWithTheRuntimesStatuses) {
  pagetest::Answer missing;
  missing.status = "404 Not Found";
  missing.body = "<html><body>gone</body></html>";
  server.Set("/missing.html", missing);
  ASSERT_TRUE(NavigateAndWait(server.Url("/missing.html")));
  EXPECT_EQ(" failed 0", events.back().substr(events.back().find(" failed")));
  const std::wstring nobody = L"http://127.0.0.1:" + std::to_wstring(TestHttpServer::UnusedPort()) + L"/";
  ASSERT_TRUE(NavigateAndWait(nobody));
  EXPECT_EQ(" failed 12", events.back().substr(events.back().find(" failed")));
}

TEST_F(FakeWebView2, F5ReloadsUnlessAnAcceleratorHandlerTakesIt) {
  server.Page("/k.html", "<html><body>k</body></html>");
  ASSERT_TRUE(NavigateAndWait(server.Url("/k.html")));
  HWND page = ::GetWindow(::GetWindow(parent.hwnd(), GW_CHILD), GW_CHILD);
  ASSERT_TRUE(page);
  ::PostMessageW(page, WM_KEYDOWN, VK_F5, 0);
  ASSERT_TRUE(PumpUntil([&] { return completed == 2; }));
  EXPECT_EQ(2, server.Count("/k.html"));

  UINT key = 0;
  EventRegistrationToken token{};
  controller->add_AcceleratorKeyPressed(
      Make<ICoreWebView2AcceleratorKeyPressedEventHandler, ICoreWebView2Controller*,
           ICoreWebView2AcceleratorKeyPressedEventArgs*>(
          [&](ICoreWebView2Controller*, ICoreWebView2AcceleratorKeyPressedEventArgs* args) {
            args->get_VirtualKey(&key);
            args->put_Handled(TRUE);
          })
          .get(),
      &token);
  ::PostMessageW(page, WM_KEYDOWN, VK_F5, 0);
  ASSERT_TRUE(PumpUntil([&] { return key == VK_F5; }));
  pagetest::PumpPending();
  const std::string log = Log();
  ASSERT_NE(std::string::npos, log.find("browser_key_reload"));
  EXPECT_EQ(log.find("browser_key_reload"), log.rfind("browser_key_reload"));  // the first F5's only
}

TEST_F(FakeWebView2, FailsTheFirstEnvironmentsAsAsked) {
  ::SetEnvironmentVariableW(L"VELMORA_TEST_WEBVIEW2_ENVIRONMENT", L"0x8007139F:1");
  std::vector<HRESULT> answers;
  auto done = Make<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler, HRESULT, ICoreWebView2Environment*>(
      [&](HRESULT hr, ICoreWebView2Environment* made) { answers.push_back(made ? hr : hr | 1); });
  const std::wstring profile = TempFile(L"velmora-fake-webview2-profile");
  ASSERT_EQ(S_OK, create(true, 0, profile.c_str(), nullptr, done.get()));
  ASSERT_EQ(S_OK, create(true, 0, profile.c_str(), nullptr, done.get()));
  ::SetEnvironmentVariableW(L"VELMORA_TEST_WEBVIEW2_ENVIRONMENT", nullptr);
  ASSERT_TRUE(PumpUntil([&] { return answers.size() == 2; }));
  EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INVALID_STATE) | 1, answers[0]);  // and no environment
  EXPECT_EQ(S_OK, answers[1]);
}

}  // namespace
