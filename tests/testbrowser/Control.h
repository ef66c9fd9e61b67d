// The stand-in for the system browser control (CLSID_WebBrowser) that the
// tests register in Wine's prefix: the plain page engine (PlainPageView)
// behind the control's own interfaces, so that the client hosts it exactly as
// it hosts the system control. What the view raises becomes the control's
// events (DWebBrowserEvents2, and NewWindow of the first-generation
// DWebBrowserEvents), passed to each sink as the system control passes them.
//
// A host may release, close or deactivate the control, or destroy its own
// window, from inside any event: the control holds a reference to itself
// while it raises one, and after each raise goes on only while it is still
// active. Once closed it raises nothing and calls no site.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "GeneratedBases.h"
#include "tests/support/PlainPageView.h"
#include "tests/testbrowser/Log.h"
#include "win/ComPtr.h"

namespace testbrowser {

class Control;
class Document;
class Frame;

// VELMORA_TEST_BROWSER_REFUSE, read when a control is made: a comma-separated
// list of "DWebBrowserEvents" (no first-generation connection point) and
// "NewWindow3" (an older control that raises NewWindow2 and NewWindow only).
struct Options {
  bool refuseFirstGeneration = false;
  bool refuseNewWindow3 = false;
  std::wstring text;
  static Options FromEnvironment();
};

// One event set's connection point; part of the control, sharing its lifetime.
class ConnectionPoint final : public Unimplemented<IConnectionPoint> {
 public:
  ConnectionPoint(Control& control, REFIID events, const char* name) : control_(control), events_(events), name_(name) {}
  std::vector<win::ComPtr<IDispatch>> Sinks() const;
  void Clear() { sinks_.clear(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;

 private:
  Control& control_;
  IID events_;
  const char* name_;
  std::vector<std::pair<DWORD, win::ComPtr<IDispatch>>> sinks_;
  DWORD nextCookie_ = 1;
};

class Control final : public Unimplemented<IWebBrowser2>,
                      public Unimplemented<IOleObject>,
                      public Unimplemented<IOleInPlaceObject>,
                      public Unimplemented<IOleInPlaceActiveObject>,
                      public Unimplemented<IConnectionPointContainer> {
 public:
  static HRESULT Create(REFIID riid, void** out);

  unsigned number() const { return number_; }
  // The view while the control is active in place, else null.
  browser::PlainPageView* view() const { return view_.get(); }
  LogLine Call(const char* interfaceName, const char* method) const;
  LogLine SiteCall(const char* interfaceName, const char* method) const;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;

  // IWebBrowser, IWebBrowserApp, IWebBrowser2
  HRESULT STDMETHODCALLTYPE Navigate(BSTR url, VARIANT* flags, VARIANT* target, VARIANT* postData,
                                     VARIANT* headers) override;
  HRESULT STDMETHODCALLTYPE Navigate2(VARIANT* url, VARIANT* flags, VARIANT* target, VARIANT* postData,
                                      VARIANT* headers) override;
  HRESULT STDMETHODCALLTYPE Refresh() override;
  HRESULT STDMETHODCALLTYPE Refresh2(VARIANT* level) override;
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE get_Application(IDispatch** out) override;
  HRESULT STDMETHODCALLTYPE get_Document(IDispatch** out) override;
  HRESULT STDMETHODCALLTYPE get_TopLevelContainer(VARIANT_BOOL* out) override;
  HRESULT STDMETHODCALLTYPE get_Type(BSTR* out) override;
  HRESULT STDMETHODCALLTYPE get_LocationName(BSTR* out) override;
  HRESULT STDMETHODCALLTYPE get_LocationURL(BSTR* out) override;
  HRESULT STDMETHODCALLTYPE get_Busy(VARIANT_BOOL* out) override;
  HRESULT STDMETHODCALLTYPE get_HWND(SHANDLE_PTR* out) override;
  HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL* out) override;
  HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_Silent(VARIANT_BOOL* out) override;
  HRESULT STDMETHODCALLTYPE put_Silent(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_Offline(VARIANT_BOOL* out) override;
  HRESULT STDMETHODCALLTYPE put_Offline(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_ReadyState(READYSTATE* out) override;

  // IOleObject
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR app, LPCOLESTR object) override;
  HRESULT STDMETHODCALLTYPE Close(DWORD saveOption) override;
  HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG msg, IOleClientSite* site, LONG index, HWND parent,
                                   LPCRECT pos) override;
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override;
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override;

  // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override;
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
  HRESULT STDMETHODCALLTYPE UIDeactivate() override;
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT pos, LPCRECT clip) override;
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG msg) override;
  HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(WINBOOL activate) override;
  HRESULT STDMETHODCALLTYPE OnDocWindowActivate(WINBOOL activate) override;
  HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, WINBOOL frame) override;
  HRESULT STDMETHODCALLTYPE EnableModeless(WINBOOL enable) override;

  // IConnectionPointContainer
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

 private:
  Control();
  ~Control();

  IDispatch* self() { return static_cast<IWebBrowser2*>(this); }
  bool active() const { return !closed_; }
  HRESULT BeginNavigation(const wchar_t* method, const std::wstring& url, VARIANT* flags, VARIANT* target,
                          VARIANT* postData, VARIANT* headers);
  HRESULT ActivateInPlace(HWND parent, LPCRECT pos);
  void ActivateUI();
  void ReadAmbientProperties();
  void Shutdown();

  // Raises one event to every sink of a set; false when the control is no
  // longer active afterwards. With `answer` (a Cancel or Processed argument,
  // and the window a sink may give back) the line is written once the sinks
  // have run, with the answer, after a "raise" line before they run.
  bool Fire(ConnectionPoint& point, DISPID id, VARIANT* args, UINT count, LogLine& line,
            const VARIANT_BOOL* answer = nullptr, const char* answerName = "cancel", IDispatch* const* given = nullptr);

  // The view's events.
  void View_BeforeNavigate2(const std::wstring& url, bool& cancel);
  void View_DownloadBegin();
  void View_DocumentArrived(const std::wstring& url, bool topLevel);
  void View_TitleChange(const std::wstring& title);
  void View_DocumentComplete(const std::wstring& url, bool topLevel);
  void View_NavigateError(const std::wstring& url, long status, bool topLevel, bool& cancel);
  void View_NewWindow(const std::wstring& url, bool& processed);
  void View_ContextMenu(bool& show);
  void View_FocusReceived();
  void EndDownload();

  // The object events name for the frame the view's current event is about
  // (the control itself for the top document).
  IDispatch* EventObject();

  ULONG refs_ = 1;
  unsigned number_;
  Options options_;
  win::ComPtr<IOleClientSite> site_;
  win::ComPtr<IOleInPlaceSite> inPlaceSite_;
  win::ComPtr<IOleInPlaceFrame> frame_;
  win::ComPtr<IOleInPlaceUIWindow> uiWindow_;
  std::unique_ptr<browser::PlainPageView> view_;
  ConnectionPoint events2_;
  ConnectionPoint events1_;
  win::ComPtr<Document> document_;
  std::map<unsigned, win::ComPtr<Frame>> frames_;  // by the view's frame number
  std::wstring pendingUrl_;  // asked for before the control was active in place
  SIZEL extent_{};
  RECT pos_{};
  bool silent_ = false;
  bool offline_ = false;
  bool visible_ = true;
  bool uiActive_ = false;
  int downloads_ = 0;  // DownloadBegin raised, DownloadComplete not yet
  bool closed_ = false;
};

}  // namespace testbrowser
