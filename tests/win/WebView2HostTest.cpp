// The WebView2 host against the tests' fake runtime (tests/webview2), loaded
// as the client loads it: named by this prefix's HKCU ClientState key. Each
// test runs in a process of its own, so each starts the one environment anew.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "browser/WebView2Environment.h"
#include "browser/WebView2Loader.h"
#include "browser/WebView2View.h"
#include "tests/win/PlainPageTestServer.h"

using pagetest::PumpUntil;
using pagetest::Recorder;

namespace {

constexpr wchar_t kClientState[] =
    L"SOFTWARE\\Microsoft\\EdgeUpdate\\ClientState\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}";
constexpr wchar_t kVersion[] = L"120.0.2210.91";
#if defined(__x86_64__)
constexpr wchar_t kArch[] = L"x64";
#else
constexpr wchar_t kArch[] = L"x86";
#endif

std::wstring Backslashed(std::wstring path) {
  for (wchar_t& c : path) c = c == L'/' ? L'\\' : c;
  return path;
}

class WebView2Host : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    base_ = std::wstring(temp) + L"velmora-webview2-host-" + std::to_wstring(::GetCurrentProcessId());
    folder_ = base_ + L"\\" + kVersion;
    dll_ = folder_ + L"\\EBWebView\\" + kArch + L"\\EmbeddedBrowserWebView.dll";
    for (const std::wstring& dir : {base_, folder_, folder_ + L"\\EBWebView", folder_ + L"\\EBWebView\\" + kArch}) {
      ::CreateDirectoryW(dir.c_str(), nullptr);
    }
    ASSERT_TRUE(::CopyFileW(Backslashed(VELMORA_FAKE_WEBVIEW2_DLL).c_str(), dll_.c_str(), FALSE));
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kClientState, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY,
                                nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExW(key, L"EBWebView", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder_.c_str()),
                     static_cast<DWORD>((folder_.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
    log_ = base_ + L"\\calls.log";
    ::SetEnvironmentVariableW(L"VELMORA_TEST_WEBVIEW2_LOG", log_.c_str());
    ASSERT_TRUE(server.ok());
  }
  void TearDown() override {
    view.reset();
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kClientState, 0, KEY_SET_VALUE | KEY_WOW64_32KEY, &key) == ERROR_SUCCESS) {
      ::RegDeleteValueW(key, L"EBWebView");
      ::RegCloseKey(key);
    }
  }

  void Start() {
    std::wstring text;
    ASSERT_TRUE(browser::StartWebView2Environment(text)) << std::string(text.begin(), text.end());
    view = browser::WebView2View::Create(parent.hwnd(), 0, 0, 600, 400);
    ASSERT_TRUE(view);
    rec = std::make_unique<Recorder>(*view);
  }

  // The fake's log: one JSON object a line.
  std::vector<std::string> Log() const {
    std::ifstream in(std::string(log_.begin(), log_.end()));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  int Count(const std::string& part, const std::string& also = "") const {
    int n = 0;
    for (const std::string& line : Log()) n += line.find(part) != std::string::npos && line.find(also) != std::string::npos;
    return n;
  }

  std::wstring base_, folder_, dll_, log_;
  pagetest::TestHttpServer server;
  pagetest::ParentWindow parent;
  std::unique_ptr<browser::WebView2View> view;
  std::unique_ptr<Recorder> rec;
};

TEST_F(WebView2Host, NavigationsBeforeTheControllerAreMadeInOrderAndEveryCallIsOnThisThread) {
  server.Page("/first.html", "<html><body>first</body></html>");
  server.Page("/second.html", "<html><head><title>Second</title></head><body><p>second page</p></body></html>");
  Start();
  view->Navigate(server.Url("/first.html"));
  view->Navigate(server.Url("/second.html"));
  ASSERT_TRUE(PumpUntil([&] { return rec->Has(L"DC " + server.Url("/second.html") + L" top"); }));
  EXPECT_NE(view->RootInnerHtml().find(L"second page"), std::wstring::npos) << "read before DocumentComplete";
  EXPECT_TRUE(rec->Has(L"TC Second"));

  const std::vector<std::string> log = Log();
  int controller = -1, first = -1, second = -1, lines = 0;
  const std::string thread = "\"thread\":" + std::to_string(::GetCurrentThreadId());
  for (int i = 0; i < static_cast<int>(log.size()); ++i) {
    const std::string& line = log[i];
    if (line.find("\"thread\"") == std::string::npos) continue;
    ++lines;
    EXPECT_NE(line.find(thread), std::string::npos) << "not on the user-interface thread: " << line;
    if (controller < 0 && line.find("\"callback\"") != std::string::npos && line.find("ControllerCompleted") != std::string::npos) controller = i;
    if (line.find("\"call\":\"Navigate\"") != std::string::npos) {
      (line.find("first.html") != std::string::npos ? first : second) = i;
    }
  }
  EXPECT_GT(lines, 10);
  EXPECT_LT(controller, first) << "no navigation before the controller";
  EXPECT_GE(controller, 0);
  EXPECT_LT(first, second);
}

TEST_F(WebView2Host, AProcessFailureReloadsThePageOnceAndASecondWithinAMinuteDoesNot) {
  ::SetEnvironmentVariableW(L"VELMORA_TEST_WEBVIEW2_PROCESS_FAILED", L"1:2");
  server.Page("/game.html", "<html><body>game</body></html>");
  Start();
  view->Navigate(server.Url("/game.html"));
  ASSERT_TRUE(PumpUntil([&] { return Count("\"callback\"", "ProcessFailed") == 2; }, 15000));
  PumpUntil([] { return false; }, 1000);
  EXPECT_EQ(Count("\"call\":\"Reload\""), 1);
  EXPECT_EQ(server.Count("/game.html"), 2);
  EXPECT_EQ(rec->CountTop(), 2);
}

TEST_F(WebView2Host, TheRuntimeIsLoadedByItsFullPathOnly) {
  // A folder named like a version but relative: a search order would find the
  // copy beside the current folder; the loader must not look.
  wchar_t previous[MAX_PATH];
  ::GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(::SetCurrentDirectoryW(base_.c_str()));
  browser::WebView2Runtime runtime;
  std::wstring reason;
  EXPECT_FALSE(browser::LoadWebView2Runtime(kVersion, runtime, reason));
  EXPECT_FALSE(::GetModuleHandleW(L"EmbeddedBrowserWebView.dll"));
  ::SetCurrentDirectoryW(previous);

  ASSERT_TRUE(browser::LoadWebView2Runtime(browser::WebView2RuntimeFolder(), runtime, reason));
  EXPECT_TRUE(runtime.create);
  EXPECT_EQ(runtime.version, kVersion);
  HMODULE module = ::GetModuleHandleW(L"EmbeddedBrowserWebView.dll");
  ASSERT_TRUE(module);
  wchar_t loaded[MAX_PATH];
  ::GetModuleFileNameW(module, loaded, MAX_PATH);
  EXPECT_EQ(::lstrcmpiW(loaded, dll_.c_str()), 0);
}

}  // namespace
