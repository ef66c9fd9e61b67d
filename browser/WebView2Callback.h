// One COM handler object for one WebView2 completion or event: IUnknown and
// its Invoke, which calls the lambda it was made with.
#pragma once

#include <unknwn.h>

#include <type_traits>
#include <utility>

#include "win/ComPtr.h"

namespace browser {

template <typename I, typename F, typename... A>
class WebView2Callback final : public I {
 public:
  WebView2Callback(const IID& iid, F f) : iid_(iid), f_(std::move(f)) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, iid_)) return E_NOINTERFACE;
    *out = static_cast<I*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE Invoke(A... args) override {
    f_(args...);
    return S_OK;
  }

 private:
  ~WebView2Callback() = default;
  ULONG refs_ = 1;
  IID iid_;
  F f_;
};

// The handler `I` whose Invoke takes `A...`, running `f`.
template <typename I, typename... A, typename F>
win::ComPtr<I> MakeWebView2Callback(const IID& iid, F&& f) {
  return win::ComPtr<I>::Attach(new WebView2Callback<I, std::decay_t<F>, A...>(iid, std::forward<F>(f)));
}

}  // namespace browser
