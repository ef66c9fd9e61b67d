// What every object of the fake runtime shares: a reference count with
// QueryInterface for IUnknown and its one interface, and the runtime's rules
// for calls: only from the thread that made the environment, and nothing but
// ERROR_INVALID_STATE once the object has been closed.
#pragma once

#include <windows.h>

#include <atomic>

namespace fakewebview2 {

template <typename Derived, typename Interface, const IID& Iid>
class ComObject : public Interface {
 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, Iid)) return E_NOINTERFACE;
    *out = static_cast<Interface*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete static_cast<Derived*>(this);
    return left;
  }

  // S_OK when a call may go on now.
  HRESULT Usable() const {
    if (::GetCurrentThreadId() != thread_) return RPC_E_WRONG_THREAD;
    if (closed_) return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
    return S_OK;
  }
  DWORD Thread() const { return thread_; }
  bool Closed() const { return closed_; }

 protected:
  // Made with one reference, owned by the maker (win::ComPtr::Attach).
  explicit ComObject(DWORD thread) : thread_(thread) {}
  ~ComObject() = default;
  void MarkClosed() { closed_ = true; }

 private:
  std::atomic<ULONG> references_{1};
  const DWORD thread_;
  bool closed_ = false;
};

}  // namespace fakewebview2
