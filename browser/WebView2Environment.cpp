#include "browser/WebView2Environment.h"

#include <memory>

#include "browser/WebView2Callback.h"
#include "browser/WebView2Loader.h"
#include "common/PublicData.h"
#include "win/ComPtr.h"
#include "win/Messages.h"

namespace browser {

namespace {

// What the runtime takes for an answer; every wait here is bounded by it.
constexpr DWORD kEnvironmentTimeoutMs = 20000;

struct Wait {
  bool done = false;
  HRESULT result = E_FAIL;
};

struct EnvironmentState {
  bool asked = false;
  bool started = false;
  std::wstring text;  // the version, or why there is none
  win::ComPtr<ICoreWebView2Environment> environment;
};

EnvironmentState& State() {
  static EnvironmentState state;
  return state;
}

std::wstring HexCode(HRESULT hr) {
  wchar_t text[16];
  ::wsprintfW(text, L"0x%08X", static_cast<unsigned>(hr));
  return text;
}

// %LOCALAPPDATA%\<GameName>\WebView2, made when missing; empty when it cannot be.
std::wstring UserDataFolder() {
  wchar_t base[MAX_PATH];
  const DWORD length = ::GetEnvironmentVariableW(L"LOCALAPPDATA", base, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::wstring folder = std::wstring(base) + L'\\' + common::GameName;
  ::CreateDirectoryW(folder.c_str(), nullptr);
  folder += L"\\WebView2";
  if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return {};
  return folder;
}

bool Start(std::wstring& text) {
  WebView2Runtime runtime;
  if (!LoadWebView2Runtime(WebView2RuntimeFolder(), runtime, text)) return false;
  const std::wstring profile = UserDataFolder();
  if (profile.empty()) {
    text = L"the WebView2 profile folder under %LOCALAPPDATA% cannot be made";
    return false;
  }
  HRESULT result = E_FAIL;
  for (int attempt = 1;; ++attempt) {
    // Shared with the handler: an answer after the wait gave up finds it still there.
    auto wait = std::make_shared<Wait>();
    auto handler = MakeWebView2Callback<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler, HRESULT,
                                        ICoreWebView2Environment*>(
        IID_ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler,
        [wait](HRESULT hr, ICoreWebView2Environment* environment) {
          if (wait->done) return;  // an answer after the wait gave up changes nothing
          wait->done = true;
          wait->result = SUCCEEDED(hr) && !environment ? E_POINTER : hr;
          if (SUCCEEDED(wait->result)) {
            environment->AddRef();
            State().environment = win::ComPtr<ICoreWebView2Environment>::Attach(environment);
          }
        });
    result = runtime.create(true, 0, profile.c_str(), nullptr, handler.get());
    if (SUCCEEDED(result)) {
      if (!PumpMessagesUntil(wait->done, kEnvironmentTimeoutMs)) {
        wait->done = true;
        text = L"the WebView2 environment did not start: no answer";
        return false;
      }
      result = wait->result;
    }
    if (SUCCEEDED(result)) break;
    if (!IsWebView2RetryError(result) || attempt == kWebView2Attempts) {
      text = L"the WebView2 environment did not start: " + HexCode(result);
      return false;
    }
    bool never = false;
    PumpMessagesUntil(never, kWebView2RetryDelayMs);
  }
  text = runtime.version;
  LPWSTR version = nullptr;
  if (SUCCEEDED(State().environment->get_BrowserVersionString(&version)) && version) {
    if (*version) text = version;
    ::CoTaskMemFree(version);
  }
  return true;
}

}  // namespace

bool PumpMessagesUntil(const bool& done, DWORD timeoutMs) {
  const DWORD start = ::GetTickCount();
  while (!done) {
    const DWORD spent = ::GetTickCount() - start;
    if (spent >= timeoutMs) return false;
    if (::MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - spent, QS_ALLINPUT) == WAIT_OBJECT_0 &&
        !win::DispatchPendingMessages()) {
      return done;
    }
  }
  return true;
}

bool StartWebView2Environment(std::wstring& text) {
  EnvironmentState& state = State();
  if (!state.asked) {
    state.asked = true;
    state.started = Start(state.text);
  }
  text = state.text;
  return state.started;
}

ICoreWebView2Environment* WebView2EnvironmentObject() { return State().environment.get(); }

}  // namespace browser
