// ICoreWebView2Settings: every setting TRUE until the host says otherwise, as
// the runtime has them. The view reads AreDefaultContextMenusEnabled (the page
// engine's menu) and IsBuiltInErrorPageEnabled (its error page); the others
// are only kept.
#pragma once

#include "browser/WebView2Api.h"
#include "tests/webview2/ComObject.h"
#include "win/ComPtr.h"

namespace fakewebview2 {

class Settings final : public ComObject<Settings, ICoreWebView2Settings, IID_ICoreWebView2Settings> {
 public:
  static win::ComPtr<Settings> Create(DWORD thread, unsigned view);

  bool ContextMenus() const { return values_[kContextMenus]; }
  bool BuiltInErrorPage() const { return values_[kBuiltInErrorPage]; }
  void Close() { MarkClosed(); }

  HRESULT STDMETHODCALLTYPE get_IsScriptEnabled(BOOL* isScriptEnabled) override;
  HRESULT STDMETHODCALLTYPE put_IsScriptEnabled(BOOL isScriptEnabled) override;
  HRESULT STDMETHODCALLTYPE get_IsWebMessageEnabled(BOOL* isWebMessageEnabled) override;
  HRESULT STDMETHODCALLTYPE put_IsWebMessageEnabled(BOOL isWebMessageEnabled) override;
  HRESULT STDMETHODCALLTYPE get_AreDefaultScriptDialogsEnabled(BOOL* areDefaultScriptDialogsEnabled) override;
  HRESULT STDMETHODCALLTYPE put_AreDefaultScriptDialogsEnabled(BOOL areDefaultScriptDialogsEnabled) override;
  HRESULT STDMETHODCALLTYPE get_IsStatusBarEnabled(BOOL* isStatusBarEnabled) override;
  HRESULT STDMETHODCALLTYPE put_IsStatusBarEnabled(BOOL isStatusBarEnabled) override;
  HRESULT STDMETHODCALLTYPE get_AreDevToolsEnabled(BOOL* areDevToolsEnabled) override;
  HRESULT STDMETHODCALLTYPE put_AreDevToolsEnabled(BOOL areDevToolsEnabled) override;
  HRESULT STDMETHODCALLTYPE get_AreDefaultContextMenusEnabled(BOOL* enabled) override;
  HRESULT STDMETHODCALLTYPE put_AreDefaultContextMenusEnabled(BOOL enabled) override;
  HRESULT STDMETHODCALLTYPE get_AreHostObjectsAllowed(BOOL* allowed) override;
  HRESULT STDMETHODCALLTYPE put_AreHostObjectsAllowed(BOOL allowed) override;
  HRESULT STDMETHODCALLTYPE get_IsZoomControlEnabled(BOOL* enabled) override;
  HRESULT STDMETHODCALLTYPE put_IsZoomControlEnabled(BOOL enabled) override;
  HRESULT STDMETHODCALLTYPE get_IsBuiltInErrorPageEnabled(BOOL* enabled) override;
  HRESULT STDMETHODCALLTYPE put_IsBuiltInErrorPageEnabled(BOOL enabled) override;

 private:
  friend ComObject;
  enum Index {
    kScript, kWebMessage, kScriptDialogs, kStatusBar, kDevTools, kContextMenus, kHostObjects, kZoomControl,
    kBuiltInErrorPage, kCount
  };
  Settings(DWORD thread, unsigned view) : ComObject(thread), view_(view) {}
  ~Settings() = default;
  HRESULT Get(Index index, const char* method, BOOL* value);
  HRESULT Put(Index index, const char* method, const char* name, BOOL value);

  unsigned view_;
  bool values_[kCount] = {true, true, true, true, true, true, true, true, true};
};

}  // namespace fakewebview2
