#include "browser/SystemWebView.h"

#include <exdisp.h>
#include <exdispid.h>
#include <mshtmhst.h>
#include <mshtml.h>
#include <ocidl.h>
#include <ole2.h>
#include <oleauto.h>

#include <utility>

#include "browser/WebView2Script.h"
#include "forms/DeleteLater.h"
#include "forms/Program.h"
#include "forms/WindowBase.h"
#include "win/Automation.h"
#include "win/ComPtr.h"
#include "win/KeyRouting.h"

namespace browser {

namespace {

// The property of the host's window that leads a key to its control.
constexpr wchar_t kHostProperty[] = L"VelmoraPageHost";

bool RoutePageKey(MSG& msg);

template <typename T>
bool SameObject(T* a, IUnknown* b) {
  if (!a || !b) return false;
  win::ComPtr<IUnknown> ua, ub;
  a->QueryInterface(IID_IUnknown, ua.put_void());
  b->QueryInterface(IID_IUnknown, ub.put_void());
  return ua && ua.get() == ub.get();
}

}  // namespace

// ---------------------------------------------------------------------------

class SystemWebView::Host final : public IOleClientSite, public IOleInPlaceSite, public IDocHostUIHandler {
 public:
  explicit Host(SystemWebView* view) : view_(view), frame_(*this) {}

  bool Create(HWND parent, int x, int y, int width, int height);
  // Releases the control; when the control is inside a call, once the call has returned.
  void Shutdown();
  HWND window() const { return window_ ? window_->window() : nullptr; }
  win::ComPtr<IWebBrowser2> browser() const { return browser_; }
  void Resized();
  // Offers a key message to the control's own key handling: true when it took it.
  bool TranslateKey(MSG& msg);

  // Keeps the host alive and the control in place while the control runs code of ours or we run its.
  class Busy {
   public:
    explicit Busy(Host& h) : host_(h) {
      host_.AddRef();
      ++host_.busy_;
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;
    ~Busy() {
      if (--host_.busy_ == 0 && host_.shutdownPending_) host_.FinishShutdownSoon();
      host_.Release();
    }

   private:
    Host& host_;
  };

  void OnEvent(bool firstGeneration, DISPID id, DISPPARAMS* params);

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite)) {
      *out = static_cast<IOleClientSite*>(this);
    } else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceSite)) {
      *out = static_cast<IOleInPlaceSite*>(this);
    } else if (IsEqualIID(riid, IID_IDocHostUIHandler)) {
      *out = static_cast<IDocHostUIHandler*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  // IOleClientSite
  HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(WINBOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow / IOleInPlaceSite
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override {
    if (!hwnd) return E_POINTER;
    *hwnd = window();
    return *hwnd ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(WINBOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return window() ? S_OK : S_FALSE; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                             LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
    if (frame) {
      *frame = &frame_;
      frame_.AddRef();
    }
    if (doc) *doc = nullptr;
    RECT rc{};
    if (window()) ::GetClientRect(window(), &rc);
    if (pos) *pos = rc;
    if (clip) *clip = rc;
    if (info) {
      info->fMDIApp = FALSE;
      info->hwndFrame = window() ? ::GetAncestor(window(), GA_ROOT) : nullptr;
      info->haccel = nullptr;
      info->cAccelEntries = 0;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(WINBOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT pos) override {
    if (inPlace_ && pos) inPlace_->SetObjectRects(pos, pos);
    return S_OK;
  }

  // IDocHostUIHandler
  HRESULT STDMETHODCALLTYPE ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override;
  HRESULT STDMETHODCALLTYPE GetHostInfo(DOCHOSTUIINFO* info) override {
    if (!info) return E_POINTER;
    info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                                   IOleInPlaceUIWindow*) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE HideUI() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE UpdateUI() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(WINBOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnDocWindowActivate(WINBOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(WINBOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, WINBOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE GetOptionKeyPath(LPOLESTR* key, DWORD) override {
    if (key) *key = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget*, IDropTarget** target) override {
    if (target) *target = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetExternal(IDispatch** dispatch) override {
    if (dispatch) *dispatch = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override {
    if (out) *out = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE FilterDataObject(IDataObject*, IDataObject** out) override {
    if (out) *out = nullptr;
    return S_FALSE;
  }

 private:
  ~Host() = default;

  // The in-place frame: a separate object that shares the host's lifetime.
  class Frame final : public IOleInPlaceFrame {
   public:
    explicit Frame(Host& host) : host_(host) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
      if (!out) return E_POINTER;
      *out = nullptr;
      if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleWindow) ||
          IsEqualIID(riid, IID_IOleInPlaceUIWindow) || IsEqualIID(riid, IID_IOleInPlaceFrame)) {
        *out = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        return S_OK;
      }
      return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return host_.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return host_.Release(); }
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override {
      if (!hwnd) return E_POINTER;
      *hwnd = host_.window() ? ::GetAncestor(host_.window(), GA_ROOT) : nullptr;
      return *hwnd ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(WINBOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) override {
      host_.activeObject_.reset();
      if (active && !host_.shutDown_) {
        active->AddRef();
        host_.activeObject_ = win::ComPtr<IOleInPlaceActiveObject>::Attach(active);
      }
      return S_OK;
    }
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(WINBOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

   private:
    Host& host_;
  };

  // One event set of the control, passed on to the host.
  class Sink final : public IDispatch {
   public:
    Sink(Host* host, REFIID events, bool firstGeneration)
        : host_(host), events_(events), firstGeneration_(firstGeneration) {}
    void Detach() { host_ = nullptr; }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
      if (!out) return E_POINTER;
      *out = nullptr;
      if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, events_)) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
      }
      return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
      ULONG left = --refs_;
      if (left == 0) delete this;
      return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
      if (count) *count = 0;
      return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
      if (info) *info = nullptr;
      return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
      if (Host* host = host_) host->OnEvent(firstGeneration_, id, params);
      return S_OK;
    }

   private:
    ~Sink() = default;
    ULONG refs_ = 1;
    Host* host_;
    IID events_;
    bool firstGeneration_;
  };

  class Window final : public forms::WindowBase {
   public:
    explicit Window(Host& host) : host_(host) {}
    bool Create(HWND parent, int x, int y, int width, int height) {
      return CreateWindowFor(L"VelmoraBrowserHost", 0, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                             x, y, width, height, parent);
    }

   protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
      switch (msg) {
        case WM_SIZE: host_.Resized(); break;
        case WM_ERASEBKGND: return 1;
        case WM_DESTROY: host_.WindowDestroyed(); break;
        default: break;
      }
      return DefaultProc(msg, wParam, lParam);
    }

   private:
    Host& host_;
  };

  bool Connect(REFIID events, bool firstGeneration, win::ComPtr<IConnectionPoint>& point, DWORD& cookie,
               Sink*& sink);
  void WindowDestroyed();
  void FinishShutdownSoon();
  void FinishShutdown();

  ULONG refs_ = 1;
  SystemWebView* view_;
  Frame frame_;
  std::unique_ptr<Window> window_;
  win::ComPtr<IOleObject> ole_;
  win::ComPtr<IWebBrowser2> browser_;
  win::ComPtr<IOleInPlaceObject> inPlace_;
  win::ComPtr<IOleInPlaceActiveObject> activeObject_;
  win::ComPtr<IConnectionPoint> events2_;
  win::ComPtr<IConnectionPoint> events1_;
  DWORD cookie2_ = 0;
  DWORD cookie1_ = 0;
  Sink* sink2_ = nullptr;
  Sink* sink1_ = nullptr;
  int busy_ = 0;
  bool shutdownPending_ = false;
  bool finishPosted_ = false;
  // A new-window request that NewWindow3 has dealt with: the first-generation
  // NewWindow of the same request opens nothing more.
  bool newWindowHandled_ = false;
  bool shutDown_ = false;
  bool windowGone_ = false;
};

bool SystemWebView::Host::Create(HWND parent, int x, int y, int width, int height) {
  window_ = std::make_unique<Window>(*this);
  if (!window_->Create(parent, x, y, width, height)) return false;
  ::SetPropW(window(), kHostProperty, this);
  win::SetKeyRouter(&RoutePageKey);
  if (FAILED(::CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, ole_.put_void()))) {
    return false;
  }
  if (FAILED(ole_->SetClientSite(static_cast<IOleClientSite*>(this)))) return false;
  ::OleSetContainedObject(ole_.get(), TRUE);
  RECT rc{};
  ::GetClientRect(window(), &rc);
  if (FAILED(ole_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(this), 0, window(), &rc))) {
    return false;
  }
  browser_ = ole_.query<IWebBrowser2>(IID_IWebBrowser2);
  inPlace_ = ole_.query<IOleInPlaceObject>(IID_IOleInPlaceObject);
  if (!browser_) return false;
  if (inPlace_) inPlace_->SetObjectRects(&rc, &rc);
  // The control names its active object when it becomes active in the
  // interface (SetActiveObject); until then keys go to the object it is.
  if (!activeObject_) activeObject_ = ole_.query<IOleInPlaceActiveObject>(IID_IOleInPlaceActiveObject);
  if (!Connect(DIID_DWebBrowserEvents2, false, events2_, cookie2_, sink2_)) return false;
  // The first-generation set brings NewWindow only; a control without it still navigates.
  if (!Connect(DIID_DWebBrowserEvents, true, events1_, cookie1_, sink1_)) {
    forms::Program::Log(L"page view: the browser control has no DWebBrowserEvents; NewWindow will not be raised");
  }
  return true;
}

bool SystemWebView::Host::Connect(REFIID events, bool firstGeneration, win::ComPtr<IConnectionPoint>& point,
                                  DWORD& cookie, Sink*& sink) {
  auto container = ole_.query<IConnectionPointContainer>(IID_IConnectionPointContainer);
  if (!container || FAILED(container->FindConnectionPoint(events, point.put()))) return false;
  sink = new Sink(this, events, firstGeneration);
  if (FAILED(point->Advise(sink, &cookie))) {
    sink->Detach();
    sink->Release();
    sink = nullptr;
    point.reset();
    return false;
  }
  return true;
}

void SystemWebView::Host::Resized() {
  if (!inPlace_ || !window()) return;
  RECT rc{};
  ::GetClientRect(window(), &rc);
  inPlace_->SetObjectRects(&rc, &rc);
}

void SystemWebView::Host::Shutdown() {
  view_ = nullptr;
  if (shutDown_) return;
  if (busy_ > 0) {
    shutdownPending_ = true;
    return;
  }
  FinishShutdown();
}

bool SystemWebView::Host::TranslateKey(MSG& msg) {
  if (shutDown_ || !activeObject_) return false;
  // A window that a modal box has disabled takes no keys, nor does its page.
  if (!::IsWindowEnabled(::GetAncestor(window(), GA_ROOT))) return false;
  Busy busy(*this);
  win::ComPtr<IOleInPlaceActiveObject> active = activeObject_;
  return active->TranslateAccelerator(&msg) == S_OK;
}

void SystemWebView::Host::WindowDestroyed() {
  // The holder's window went first (a form unloading): the control goes with it.
  windowGone_ = true;
  ::RemovePropW(window(), kHostProperty);
  if (shutDown_) return;
  if (busy_ > 0) {
    // Inside a call of the control's (its event unloading the form): its
    // window waits, hidden, on the program's own until the control is closed.
    HWND control = nullptr;
    if (inPlace_ && SUCCEEDED(inPlace_->GetWindow(&control)) && control && ::IsChild(window(), control)) {
      ::ShowWindow(control, SW_HIDE);
      ::SetParent(control, forms::Program::HiddenOwner());
    }
    shutdownPending_ = true;
    return;
  }
  FinishShutdown();
}

void SystemWebView::Host::FinishShutdownSoon() {
  // The control is released only once the call that asked for it has gone
  // back to the control: from the message loop, never from inside its event.
  if (finishPosted_ || shutDown_) return;
  finishPosted_ = true;
  AddRef();
  forms::RunLater([this] {
    finishPosted_ = false;
    if (busy_ == 0 && shutdownPending_) FinishShutdown();
    Release();
  });
}

void SystemWebView::Host::FinishShutdown() {
  if (shutDown_) return;
  shutDown_ = true;
  shutdownPending_ = false;
  AddRef();  // the releases below may drop the control's references to us
  if (events2_) events2_->Unadvise(cookie2_);
  if (events1_) events1_->Unadvise(cookie1_);
  events2_.reset();
  events1_.reset();
  for (Sink** sink : {&sink2_, &sink1_}) {
    if (*sink) {
      (*sink)->Detach();
      (*sink)->Release();
      *sink = nullptr;
    }
  }
  activeObject_.reset();
  if (inPlace_) inPlace_->InPlaceDeactivate();
  inPlace_.reset();
  browser_.reset();
  if (ole_) {
    ole_->Close(OLECLOSE_NOSAVE);
    ole_->SetClientSite(nullptr);
    ole_.reset();
  }
  // A window being destroyed already is left to finish; its object goes with the host.
  if (!windowGone_) {
    if (window_ && window_->window()) ::DestroyWindow(window_->window());
    window_.reset();
  }
  Release();
}

void SystemWebView::Host::OnEvent(bool firstGeneration, DISPID id, DISPPARAMS* params) {
  if (!view_ || shutDown_) return;
  Busy busy(*this);
  const UINT count = params ? params->cArgs : 0;
  VARIANT* args = params ? params->rgvarg : nullptr;  // the last argument first
  forms::RunHandler(L"browser control event", [&] {
    SystemWebView* view = view_;
    if (firstGeneration) {
      if (id == DISPID_NEWWINDOW && count >= 6) {
        bool processed = win::VariantBool(args[0]);
        if (std::exchange(newWindowHandled_, false)) {
          processed = true;
        } else {
          std::wstring address = win::VariantText(args[5]);
          view->NewWindow(address, processed);
        }
        win::SetVariantBool(args[0], processed);
      }
      return;
    }
    switch (id) {
      case DISPID_BEFORENAVIGATE2:
        if (count >= 7) {
          std::wstring address = win::VariantText(args[5]);
          bool cancel = win::VariantBool(args[0]);
          view->BeforeNavigate2(address, cancel);
          win::SetVariantBool(args[0], cancel);
        }
        break;
      case DISPID_DOCUMENTCOMPLETE:
        if (count >= 2) {
          IDispatch* frame = args[1].vt == VT_DISPATCH ? args[1].pdispVal : nullptr;
          std::wstring address = win::VariantText(args[0]);
          view->DocumentComplete(address, SameObject(browser_.get(), frame));
        }
        break;
      case DISPID_NAVIGATEERROR:
        if (count >= 5) {
          IDispatch* frame = args[4].vt == VT_DISPATCH ? args[4].pdispVal : nullptr;
          std::wstring address = win::VariantText(args[3]);
          bool cancel = win::VariantBool(args[0]);
          view->NavigateError(address, win::VariantLong(args[1]), SameObject(browser_.get(), frame), cancel);
          win::SetVariantBool(args[0], cancel);
        }
        break;
      case DISPID_NEWWINDOW2:
        // A new request; it brings no address: NewWindow3 or, from an older
        // control, the first-generation NewWindow will.
        newWindowHandled_ = false;
        break;
      case DISPID_NEWWINDOW3:
        if (count >= 5) {
          std::wstring address = win::VariantText(args[0]);
          bool cancel = win::VariantBool(args[3]);
          view->NewWindow(address, cancel);
          win::SetVariantBool(args[3], cancel);
          newWindowHandled_ = cancel;
        }
        break;
      case DISPID_DOWNLOADBEGIN:
        view->DownloadBegin();
        break;
      case DISPID_TITLECHANGE:
        if (count >= 1) view->TitleChange(win::VariantText(args[0]));
        break;
      default:
        break;
    }
  });
}

namespace {

bool RoutePageKey(MSG& msg) {
  // The window with the focus, or one of its parents, may be a page view's.
  for (HWND w = msg.hwnd; w; w = ::GetParent(w)) {
    if (auto* host = static_cast<SystemWebView::Host*>(::GetPropW(w, kHostProperty))) return host->TranslateKey(msg);
    if (!(::GetWindowLongW(w, GWL_STYLE) & WS_CHILD)) break;
  }
  return false;
}

}  // namespace

HRESULT SystemWebView::Host::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) {
  if (!view_ || shutDown_) return S_OK;
  Busy busy(*this);
  bool show = true;
  forms::RunHandler(L"browser control context menu", [&] { view_->ContextMenu(show); });
  // S_OK: the host has dealt with it (no menu); S_FALSE: the control shows its own.
  return show ? S_FALSE : S_OK;
}

// ---------------------------------------------------------------------------

std::unique_ptr<SystemWebView> SystemWebView::Create(HWND parent, int x, int y, int width, int height) {
  std::unique_ptr<SystemWebView> view(new SystemWebView());
  view->host_ = new Host(view.get());
  if (!view->host_->Create(parent, x, y, width, height)) return nullptr;  // the destructor releases what was made
  return view;
}

SystemWebView::~SystemWebView() {
  if (Host* host = std::exchange(host_, nullptr)) {
    host->Shutdown();
    host->Release();
  }
}

HWND SystemWebView::hWnd() const { return host_ ? host_->window() : nullptr; }

void SystemWebView::Move(int x, int y, int width, int height) {
  if (HWND hwnd = hWnd()) ::MoveWindow(hwnd, x, y, width, height, TRUE);
}

void SystemWebView::Navigate(const std::wstring& url) {
  // The control raises BeforeNavigate2 from inside Navigate; a handler may
  // destroy this object, so nothing of it is touched after the call.
  Host& host = *host_;
  Host::Busy busy(host);
  if (auto browser = host.browser()) {
    win::Bstr address(url);
    win::Variant empty1, empty2, empty3, empty4;
    browser->Navigate(address.get(), empty1.get(), empty2.get(), empty3.get(), empty4.get());
  }
}

void SystemWebView::Refresh() {
  Host& host = *host_;
  Host::Busy busy(host);
  if (auto browser = host.browser()) browser->Refresh();
}

void SystemWebView::SetSilent(bool silent) {
  Host::Busy busy(*host_);
  if (auto browser = host_->browser()) browser->put_Silent(silent ? VARIANT_TRUE : VARIANT_FALSE);
}

bool SystemWebView::Silent() const {
  Host::Busy busy(*host_);
  VARIANT_BOOL silent = VARIANT_FALSE;
  if (auto browser = host_->browser()) browser->get_Silent(&silent);
  return silent != VARIANT_FALSE;
}

std::wstring SystemWebView::DocumentUrl() const {
  Host::Busy busy(*host_);
  win::Bstr address;
  if (auto browser = host_->browser()) browser->get_LocationURL(address.put());
  return address.str();
}

namespace {

win::ComPtr<IHTMLElement> RootElement(const win::ComPtr<IWebBrowser2>& browser) {
  win::ComPtr<IDispatch> document;
  if (!browser || FAILED(browser->get_Document(document.put())) || !document) return {};
  auto doc3 = document.query<IHTMLDocument3>(IID_IHTMLDocument3);
  win::ComPtr<IHTMLElement> root;
  if (doc3) doc3->get_documentElement(root.put());
  return root;
}

win::ComPtr<IHTMLStyle> RootElementStyle(const win::ComPtr<IWebBrowser2>& browser) {
  win::ComPtr<IHTMLStyle> style;
  if (auto root = RootElement(browser)) root->get_style(style.put());
  return style;
}

}  // namespace

std::wstring SystemWebView::RootInnerHtml() const {
  Host::Busy busy(*host_);
  win::Bstr html;
  if (auto root = RootElement(host_->browser())) root->get_innerHTML(html.put());
  return html.str();
}

void SystemWebView::SetRootStyle(std::wstring_view property, std::wstring_view value) {
  Host::Busy busy(*host_);
  if (auto style = RootElementStyle(host_->browser())) {
    win::Bstr name(StyleName(property));
    win::Variant text(value);
    style->setAttribute(name.get(), *text, 0);
  }
}

std::wstring SystemWebView::RootStyle(std::wstring_view property) const {
  Host::Busy busy(*host_);
  std::wstring text;
  if (auto style = RootElementStyle(host_->browser())) {
    win::Bstr name(StyleName(property));
    win::Variant value;
    if (SUCCEEDED(style->getAttribute(name.get(), 0, value.get()))) text = win::VariantText(*value);
  }
  return text;
}

}  // namespace browser
