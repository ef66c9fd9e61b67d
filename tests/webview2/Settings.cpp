#include "tests/webview2/Settings.h"

#include "tests/webview2/Log.h"

namespace fakewebview2 {

namespace {
constexpr char kInterface[] = "ICoreWebView2Settings";
}  // namespace

win::ComPtr<Settings> Settings::Create(DWORD thread, unsigned view) {
  return win::ComPtr<Settings>::Attach(new Settings(thread, view));
}

HRESULT Settings::Get(Index index, const char* method, BOOL* value) {
  LogLine line("call", method, view_, kInterface);
  if (const HRESULT hr = Usable(); FAILED(hr)) return line.Result(hr);
  if (!value) return line.Result(E_POINTER);
  *value = values_[index] ? TRUE : FALSE;
  line.Flag("value", values_[index]);
  return line.Result(S_OK);
}

HRESULT Settings::Put(Index index, const char* method, const char* name, BOOL value) {
  LogLine line("call", method, view_, kInterface);
  line.Flag(name, value != FALSE);
  if (const HRESULT hr = Usable(); FAILED(hr)) return line.Result(hr);
  values_[index] = value != FALSE;
  return line.Result(S_OK);
}

HRESULT Settings::get_IsScriptEnabled(BOOL* v) { return Get(kScript, "get_IsScriptEnabled", v); }
HRESULT Settings::put_IsScriptEnabled(BOOL v) { return Put(kScript, "put_IsScriptEnabled", "isScriptEnabled", v); }
HRESULT Settings::get_IsWebMessageEnabled(BOOL* v) { return Get(kWebMessage, "get_IsWebMessageEnabled", v); }
HRESULT Settings::put_IsWebMessageEnabled(BOOL v) {
  return Put(kWebMessage, "put_IsWebMessageEnabled", "isWebMessageEnabled", v);
}
HRESULT Settings::get_AreDefaultScriptDialogsEnabled(BOOL* v) {
  return Get(kScriptDialogs, "get_AreDefaultScriptDialogsEnabled", v);
}
HRESULT Settings::put_AreDefaultScriptDialogsEnabled(BOOL v) {
  return Put(kScriptDialogs, "put_AreDefaultScriptDialogsEnabled", "areDefaultScriptDialogsEnabled", v);
}
HRESULT Settings::get_IsStatusBarEnabled(BOOL* v) { return Get(kStatusBar, "get_IsStatusBarEnabled", v); }
HRESULT Settings::put_IsStatusBarEnabled(BOOL v) {
  return Put(kStatusBar, "put_IsStatusBarEnabled", "isStatusBarEnabled", v);
}
HRESULT Settings::get_AreDevToolsEnabled(BOOL* v) { return Get(kDevTools, "get_AreDevToolsEnabled", v); }
HRESULT Settings::put_AreDevToolsEnabled(BOOL v) {
  return Put(kDevTools, "put_AreDevToolsEnabled", "areDevToolsEnabled", v);
}
HRESULT Settings::get_AreDefaultContextMenusEnabled(BOOL* v) {
  return Get(kContextMenus, "get_AreDefaultContextMenusEnabled", v);
}
HRESULT Settings::put_AreDefaultContextMenusEnabled(BOOL v) {
  return Put(kContextMenus, "put_AreDefaultContextMenusEnabled", "enabled", v);
}
HRESULT Settings::get_AreHostObjectsAllowed(BOOL* v) { return Get(kHostObjects, "get_AreHostObjectsAllowed", v); }
HRESULT Settings::put_AreHostObjectsAllowed(BOOL v) {
  return Put(kHostObjects, "put_AreHostObjectsAllowed", "allowed", v);
}
HRESULT Settings::get_IsZoomControlEnabled(BOOL* v) { return Get(kZoomControl, "get_IsZoomControlEnabled", v); }
HRESULT Settings::put_IsZoomControlEnabled(BOOL v) {
  return Put(kZoomControl, "put_IsZoomControlEnabled", "enabled", v);
}
HRESULT Settings::get_IsBuiltInErrorPageEnabled(BOOL* v) {
  return Get(kBuiltInErrorPage, "get_IsBuiltInErrorPageEnabled", v);
}
HRESULT Settings::put_IsBuiltInErrorPageEnabled(BOOL v) {
  return Put(kBuiltInErrorPage, "put_IsBuiltInErrorPageEnabled", "enabled", v);
}

}  // namespace fakewebview2
