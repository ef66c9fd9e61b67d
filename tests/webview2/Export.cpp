// EmbeddedBrowserWebView.dll, the tests' fake WebView2 runtime: the export a
// loader calls, which makes an environment and answers through the handler
// later, from the calling thread's message loop. The DLL pins itself: loaders
// free it as soon as the export returns, as the real runtime allows.
#include <windows.h>

#include <memory>
#include <string>

#include "browser/WebView2Api.h"
#include "forms/Program.h"
#include "tests/webview2/Cache.h"
#include "tests/webview2/CallbackQueue.h"
#include "tests/webview2/Environment.h"
#include "tests/webview2/Log.h"

namespace fakewebview2 {

namespace {

HMODULE ThisModule() {
  HMODULE self = nullptr;
  ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &self);
  return self;
}

void PinThisModule() {
  HMODULE self = nullptr;
  ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&PinThisModule), &self);
}

std::wstring ModuleFile(HMODULE module) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

// The runtime's version is its folder's name: <version>\EBWebView\<arch>\the DLL.
std::wstring VersionFromPath(const std::wstring& dll) {
  std::wstring parts[4];
  std::size_t end = dll.size();
  for (std::wstring& part : parts) {
    const std::size_t slash = dll.find_last_of(L"\\/", end == 0 ? 0 : end - 1);
    if (slash == std::wstring::npos) return {};
    part = dll.substr(slash + 1, end - slash - 1);
    end = slash;
  }
  return ::CompareStringOrdinal(parts[2].c_str(), -1, L"EBWebView", -1, TRUE) == CSTR_EQUAL ? parts[3]
                                                                                            : std::wstring();
}

// Without a folder the runtime uses "<program>.WebView2" beside the program.
std::wstring DefaultUserDataFolder() { return ModuleFile(nullptr) + L".WebView2"; }

CreationCounter& EnvironmentsAsked() {
  static CreationCounter counter;
  return counter;
}

void Answer(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler, HRESULT error,
            ICoreWebView2Environment* environment) {
  LogLine("callback", "ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler")
      .Hresult("errorCode", error)
      .Object("createdEnvironment", environment);
  handler->Invoke(error, environment);
}

}  // namespace

}  // namespace fakewebview2

extern "C" HRESULT STDMETHODCALLTYPE CreateWebViewEnvironmentWithOptionsInternal(
    bool checkRuntimeType, int runtimeType, PCWSTR userDataFolder, IUnknown* environmentOptions,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) {
  using namespace fakewebview2;
  LogLine line("call", "CreateWebViewEnvironmentWithOptionsInternal");
  line.Flag("checkRuntimeType", checkRuntimeType)
      .Number("runtimeType", runtimeType)
      .Text("userDataFolder", userDataFolder)
      .Object("environmentOptions", environmentOptions)
      .Object("handler", handler);
  auto profile = std::make_shared<Profile>();
  profile->knobs = Knobs::FromEnvironment();
  if (profile->knobs.exportError) return line.Result(*profile->knobs.exportError);
  if (!handler) return line.Result(E_POINTER);
  PinThisModule();
  // Windows of this DLL's own classes, apart from any other copy of the page engine in the process.
  forms::Program::Init(reinterpret_cast<HINSTANCE>(ThisModule()));

  profile->userDataFolder = userDataFolder && *userDataFolder ? userDataFolder : DefaultUserDataFolder();
  const bool existed = ::GetFileAttributesW(profile->userDataFolder.c_str()) != INVALID_FILE_ATTRIBUTES;
  if (!CreateFolderPath(profile->userDataFolder)) {
    return line.Result(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
  }
  if (!existed) LogLine("event", "user_data_folder_made").Text("userDataFolder", profile->userDataFolder);
  line.Result(S_OK);

  const unsigned asked = EnvironmentsAsked().Next(profile->knobs.environment);
  handler->AddRef();
  auto held = win::ComPtr<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>::Attach(handler);
  const std::wstring version = VersionFromPath(ModuleFile(ThisModule()));
  CallbackQueue::ForThisThread().Post([held, profile, asked, version] {
    if (profile->knobs.environment.Applies(asked)) return Answer(held.get(), profile->knobs.environment.error, nullptr);
    win::ComPtr<Environment> environment = Environment::Create(profile, version);
    Answer(held.get(), S_OK, environment.get());
  });
  return S_OK;
}

// Pinned, the DLL never unloads; the answer says so.
extern "C" HRESULT STDMETHODCALLTYPE DllCanUnloadNow() {
  return fakewebview2::LogLine("call", "DllCanUnloadNow").Result(S_FALSE);
}
