#include "tests/webview2/Environment.h"

#include "tests/webview2/CallbackQueue.h"
#include "tests/webview2/Controller.h"
#include "tests/webview2/EventArgs.h"
#include "tests/webview2/Log.h"

namespace fakewebview2 {

namespace {

constexpr char kInterface[] = "ICoreWebView2Environment";

CreationCounter& ControllersAsked() {
  static CreationCounter counter;
  return counter;
}

void Answer(const win::ComPtr<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler>& handler, HRESULT error,
            ICoreWebView2Controller* controller, unsigned view) {
  LogLine("callback", "ICoreWebView2CreateCoreWebView2ControllerCompletedHandler", view)
      .Hresult("errorCode", error)
      .Object("createdController", controller);
  handler->Invoke(error, controller);
}

}  // namespace

#define FAKE_CALL(method)                      \
  LogLine line("call", method, 0, kInterface); \
  if (const HRESULT usable = Usable(); FAILED(usable)) return line.Result(usable)

win::ComPtr<Environment> Environment::Create(std::shared_ptr<const Profile> profile, std::wstring version) {
  return win::ComPtr<Environment>::Attach(new Environment(std::move(profile), std::move(version)));
}

Environment::Environment(std::shared_ptr<const Profile> profile, std::wstring version)
    : ComObject(::GetCurrentThreadId()), profile_(std::move(profile)), version_(std::move(version)) {}

HRESULT Environment::CreateCoreWebView2Controller(HWND parentWindow,
                                                  ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) {
  FAKE_CALL("CreateCoreWebView2Controller");
  line.Number("parentWindow", static_cast<long long>(reinterpret_cast<UINT_PTR>(parentWindow)))
      .Object("handler", handler);
  if (!handler) return line.Result(E_POINTER);
  if (!::IsWindow(parentWindow)) return line.Result(E_INVALIDARG);
  line.Result(S_OK);
  const unsigned asked = ControllersAsked().Next(profile_->knobs.controller);
  handler->AddRef();
  auto held = win::ComPtr<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler>::Attach(handler);
  AddRef();
  auto self = win::ComPtr<Environment>::Attach(this);
  CallbackQueue::ForThisThread().Post([self, held, parentWindow, asked] {
    const Failure& failure = self->profile_->knobs.controller;
    if (failure.Applies(asked)) return Answer(held, failure.error, nullptr, 0);
    // The parent went away before the controller was made.
    if (!::IsWindow(parentWindow)) return Answer(held, E_ABORT, nullptr, 0);
    win::ComPtr<Controller> made = Controller::Create(self->Thread(), self->profile_, parentWindow);
    if (!made) return Answer(held, E_FAIL, nullptr, 0);
    Answer(held, S_OK, made.get(), made->Number());
  });
  return S_OK;
}

HRESULT Environment::CreateWebResourceResponse(IStream*, int, LPCWSTR, LPCWSTR,
                                               ICoreWebView2WebResourceResponse** response) {
  if (response) *response = nullptr;
  LogLine line("call", "CreateWebResourceResponse", 0, kInterface);
  line.Flag("implemented", false);
  return line.Result(E_NOTIMPL);
}

HRESULT Environment::get_BrowserVersionString(LPWSTR* versionInfo) {
  FAKE_CALL("get_BrowserVersionString");
  line.Text("versionInfo", version_);
  if (version_.empty()) return line.Result(E_FAIL);
  return line.Result(CopyForHost(version_, versionInfo));
}

HRESULT Environment::add_NewBrowserVersionAvailable(ICoreWebView2NewBrowserVersionAvailableEventHandler* eventHandler,
                                                    EventRegistrationToken* token) {
  FAKE_CALL("add_NewBrowserVersionAvailable");
  const HRESULT hr = neverRaised_.Add(reinterpret_cast<IUnknown*>(eventHandler), token);
  if (SUCCEEDED(hr)) line.Number("token", token->value);
  return line.Result(hr);
}

HRESULT Environment::remove_NewBrowserVersionAvailable(EventRegistrationToken token) {
  FAKE_CALL("remove_NewBrowserVersionAvailable");
  line.Number("token", token.value);
  return line.Result(neverRaised_.Remove(token));
}

}  // namespace fakewebview2
