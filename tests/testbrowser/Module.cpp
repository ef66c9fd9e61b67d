// VelmoraTestBrowser.dll: an in-process server of one class, CLSID_WebBrowser.
#include <windows.h>
#include <exdisp.h>

#include <atomic>

#include "tests/testbrowser/Control.h"
#include "tests/testbrowser/Log.h"
#include "tests/testbrowser/Module.h"

namespace testbrowser {

namespace {

std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

class ClassFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) return E_NOINTERFACE;
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  // One static factory: its references only keep the server loaded.
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++g_locks); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--g_locks); }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return Control::Create(riid, out);
  }
  HRESULT STDMETHODCALLTYPE LockServer(WINBOOL lock) override {
    if (lock) {
      ++g_locks;
    } else {
      --g_locks;
    }
    return S_OK;
  }
};

ClassFactory g_factory;

}  // namespace

void ObjectCreated() {
  // The page fetcher and the view's window class outlive every object (a
  // window procedure and WinINet callbacks of this DLL stay registered): once
  // a control has been made, the DLL stays for the rest of the process.
  static const bool pinned = [] {
    HMODULE self = nullptr;
    return ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                                reinterpret_cast<LPCWSTR>(&ObjectCreated), &self) != FALSE;
  }();
  (void)pinned;
  ++g_objects;
}

void ObjectDestroyed() { --g_objects; }

}  // namespace testbrowser

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
  testbrowser::LogLine line("call", "DllGetClassObject", 0);
  line.Guid("clsid", clsid).Guid("iid", riid);
  if (!out) return line.Result(E_POINTER);
  *out = nullptr;
  if (!IsEqualCLSID(clsid, CLSID_WebBrowser)) return line.Result(CLASS_E_CLASSNOTAVAILABLE);
  return line.Result(testbrowser::g_factory.QueryInterface(riid, out));
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  const bool idle = testbrowser::g_objects == 0 && testbrowser::g_locks == 0;
  return testbrowser::LogLine("call", "DllCanUnloadNow", 0).Result(idle ? S_OK : S_FALSE);
}
