#include "tests/testbrowser/Control.h"

#include <exdispid.h>
#include <idispids.h>
#include <mshtmhst.h>
#include <olectl.h>

#include "tests/testbrowser/Document.h"
#include "tests/testbrowser/Module.h"
#include "win/Automation.h"

namespace testbrowser {

namespace {

// Keeps the control alive across a call into its host.
class Hold {
 public:
  explicit Hold(Control* control) : control_(control) { control_->AddRef(); }
  Hold(const Hold&) = delete;
  Hold& operator=(const Hold&) = delete;
  ~Hold() { control_->Release(); }

 private:
  Control* control_;
};

// A VARIANT argument of an event, owning what it holds.
class Arg {
 public:
  Arg() { ::VariantInit(&v_); }
  Arg(const Arg&) = delete;
  Arg& operator=(const Arg&) = delete;
  ~Arg() { ::VariantClear(&v_); }
  VARIANT& get() { return v_; }
  void Text(std::wstring_view text) {
    ::VariantClear(&v_);
    v_.vt = VT_BSTR;
    v_.bstrVal = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  }
  void Long(long value) {
    ::VariantClear(&v_);
    v_.vt = VT_I4;
    v_.lVal = value;
  }

 private:
  VARIANT v_;
};

VARIANT ByRef(VARIANT& target) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_VARIANT | VT_BYREF;
  v.pvarVal = &target;
  return v;
}

VARIANT BoolRef(VARIANT_BOOL& target) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_BOOL | VT_BYREF;
  v.pboolVal = &target;
  return v;
}

VARIANT Dispatch(IDispatch* object) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_DISPATCH;
  v.pdispVal = object;  // the caller's reference: sinks borrow it
  return v;
}

VARIANT DispatchRef(IDispatch*& target) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_DISPATCH | VT_BYREF;
  v.ppdispVal = &target;
  return v;
}

VARIANT Bstr(BSTR text) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = text;  // owned by the caller
  return v;
}

HRESULT GiveText(BSTR* out, std::wstring_view text) {
  if (!out) return E_POINTER;
  *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

const char* VerbName(LONG verb) {
  switch (verb) {
    case OLEIVERB_PRIMARY: return "PRIMARY";
    case OLEIVERB_SHOW: return "SHOW";
    case OLEIVERB_OPEN: return "OPEN";
    case OLEIVERB_HIDE: return "HIDE";
    case OLEIVERB_UIACTIVATE: return "UIACTIVATE";
    case OLEIVERB_INPLACEACTIVATE: return "INPLACEACTIVATE";
    case OLEIVERB_DISCARDUNDOSTATE: return "DISCARDUNDOSTATE";
    default: return "other";
  }
}

unsigned g_controls = 0;

}  // namespace

Options Options::FromEnvironment() {
  Options o;
  wchar_t value[256];
  const DWORD n = ::GetEnvironmentVariableW(L"VELMORA_TEST_BROWSER_REFUSE", value, 256);
  if (n == 0 || n >= 256) return o;
  o.text.assign(value, n);
  std::size_t start = 0;
  while (start <= o.text.size()) {
    std::size_t end = o.text.find(L',', start);
    if (end == std::wstring::npos) end = o.text.size();
    std::wstring item = o.text.substr(start, end - start);
    while (!item.empty() && item.front() == L' ') item.erase(0, 1);
    while (!item.empty() && item.back() == L' ') item.pop_back();
    if (item == L"DWebBrowserEvents") o.refuseFirstGeneration = true;
    if (item == L"NewWindow3") o.refuseNewWindow3 = true;
    start = end + 1;
  }
  return o;
}

// ---------------------------------------------------------------------------
// Connection points

std::vector<win::ComPtr<IDispatch>> ConnectionPoint::Sinks() const {
  std::vector<win::ComPtr<IDispatch>> sinks;
  for (const auto& s : sinks_) sinks.push_back(s.second);
  return sinks;
}

HRESULT ConnectionPoint::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IConnectionPoint)) {
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}

ULONG ConnectionPoint::AddRef() { return control_.AddRef(); }
ULONG ConnectionPoint::Release() { return control_.Release(); }

HRESULT ConnectionPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = events_;
  return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (!container) return E_POINTER;
  *container = static_cast<IConnectionPointContainer*>(&control_);
  (*container)->AddRef();
  return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  LogLine line = control_.Call("IConnectionPoint", "Advise");
  line.Ascii("events", name_);
  if (!sink || !cookie) return line.Result(E_POINTER);
  win::ComPtr<IDispatch> dispatch;
  if (FAILED(sink->QueryInterface(IID_IDispatch, dispatch.put_void())) || !dispatch) {
    return line.Result(CONNECT_E_CANNOTCONNECT);
  }
  *cookie = nextCookie_++;
  sinks_.emplace_back(*cookie, dispatch);
  line.Number("cookie", *cookie);
  return line.Result(S_OK);
}

HRESULT ConnectionPoint::Unadvise(DWORD cookie) {
  LogLine line = control_.Call("IConnectionPoint", "Unadvise");
  line.Ascii("events", name_).Number("cookie", cookie);
  for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
    if (it->first == cookie) {
      // The sink may be the last holder of its host: let it go after the line.
      win::ComPtr<IDispatch> sink = std::move(it->second);
      sinks_.erase(it);
      line.Result(S_OK);
      return S_OK;
    }
  }
  return line.Result(CONNECT_E_NOCONNECTION);
}

// ---------------------------------------------------------------------------
// Creation and identity

Control::Control()
    : number_(++g_controls),
      options_(Options::FromEnvironment()),
      events2_(*this, DIID_DWebBrowserEvents2, "DWebBrowserEvents2"),
      events1_(*this, DIID_DWebBrowserEvents, "DWebBrowserEvents") {
  ObjectCreated();
}

Control::~Control() {
  Shutdown();
  ObjectDestroyed();
}

HRESULT Control::Create(REFIID riid, void** out) {
  Control* control = new Control();
  control->Call("IClassFactory", "CreateInstance").Guid("iid", riid).Text("refuse", control->options_.text).Write();
  const HRESULT hr = control->QueryInterface(riid, out);
  control->Release();
  return hr;
}

LogLine Control::Call(const char* interfaceName, const char* method) const {
  return LogLine("call", method, number_, interfaceName);
}

LogLine Control::SiteCall(const char* interfaceName, const char* method) const {
  return LogLine("site", method, number_, interfaceName);
}

HRESULT Control::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IWebBrowser) ||
      IsEqualIID(riid, IID_IWebBrowserApp) || IsEqualIID(riid, IID_IWebBrowser2)) {
    *out = self();
  } else if (IsEqualIID(riid, IID_IOleObject)) {
    *out = static_cast<IOleObject*>(this);
  } else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceObject)) {
    *out = static_cast<IOleInPlaceObject*>(this);
  } else if (IsEqualIID(riid, IID_IOleInPlaceActiveObject)) {
    *out = static_cast<IOleInPlaceActiveObject*>(this);
  } else if (IsEqualIID(riid, IID_IConnectionPointContainer)) {
    *out = static_cast<IConnectionPointContainer*>(this);
  }
  const HRESULT hr = *out ? S_OK : E_NOINTERFACE;
  if (*out) AddRef();
  return Call("IUnknown", "QueryInterface").Guid("iid", riid).Result(hr);
}

ULONG Control::Release() {
  const ULONG left = --refs_;
  if (left == 0) {
    Call("IUnknown", "Release").Number("refs", 0).Write();
    delete this;
  }
  return left;
}

HRESULT Control::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

void Control::Shutdown() {
  closed_ = true;
  uiActive_ = false;
  if (view_) view_->UnbindEvents();
  view_.reset();
  if (document_) document_->Detach();
  document_.reset();
  frames_.clear();
  events2_.Clear();
  events1_.Clear();
  uiWindow_.reset();
  frame_.reset();
  inPlaceSite_.reset();
  site_.reset();
}

// ---------------------------------------------------------------------------
// IOleObject

HRESULT Control::SetClientSite(IOleClientSite* site) {
  Call("IOleObject", "SetClientSite").Object("site", site).Result(S_OK);
  if (closed_) {
    // A host lets go of its site after closing: nothing is called any more.
    site_.reset();
    return S_OK;
  }
  Hold hold(this);
  if (site) site->AddRef();
  site_ = win::ComPtr<IOleClientSite>::Attach(site);
  if (site_) ReadAmbientProperties();
  return S_OK;
}

void Control::ReadAmbientProperties() {
  win::ComPtr<IDispatch> ambient;
  const HRESULT found = site_->QueryInterface(IID_IDispatch, ambient.put_void());
  SiteCall("IOleClientSite", "QueryInterface").Ascii("iid", "IDispatch").Result(found);
  if (FAILED(found) || !ambient || closed_) return;
  for (DISPID id : {DISPID_AMBIENT_SILENT, DISPID_AMBIENT_OFFLINEIFNOTCONNECTED}) {
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    VARIANT value;
    ::VariantInit(&value);
    const HRESULT hr = ambient->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &value,
                                       nullptr, nullptr);
    SiteCall("IDispatch", "Invoke").Number("dispid", id).Result(hr);
    if (SUCCEEDED(hr) && value.vt == VT_BOOL) {
      (id == DISPID_AMBIENT_SILENT ? silent_ : offline_) = value.boolVal != VARIANT_FALSE;
    }
    ::VariantClear(&value);
    if (closed_) return;
  }
  if (view_) view_->SetSilent(silent_);
}

HRESULT Control::GetClientSite(IOleClientSite** site) {
  LogLine line = Call("IOleObject", "GetClientSite");
  if (!site) return line.Result(E_POINTER);
  *site = site_.get();
  if (*site) (*site)->AddRef();
  return line.Result(S_OK);
}

HRESULT Control::SetHostNames(LPCOLESTR app, LPCOLESTR object) {
  return Call("IOleObject", "SetHostNames").Text("app", app ? app : L"").Text("object", object ? object : L"")
      .Result(S_OK);
}

HRESULT Control::Close(DWORD saveOption) {
  Call("IOleObject", "Close").Number("saveOption", saveOption).Result(S_OK);
  if (closed_) return S_OK;
  Hold hold(this);
  InPlaceDeactivate();
  Shutdown();
  return S_OK;
}

HRESULT Control::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG index, HWND parent, LPCRECT pos) {
  LogLine line = Call("IOleObject", "DoVerb");
  line.Number("verb", verb).Ascii("verbName", VerbName(verb)).Number("index", index);
  if (closed_) return line.Result(E_UNEXPECTED);
  Hold hold(this);
  if (!site_ && site) {
    site->AddRef();
    site_ = win::ComPtr<IOleClientSite>::Attach(site);
  }
  HRESULT hr = S_OK;
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_OPEN:
    case OLEIVERB_INPLACEACTIVATE:
      hr = ActivateInPlace(parent, pos);
      if (SUCCEEDED(hr) && view_ && verb != OLEIVERB_INPLACEACTIVATE) ::ShowWindow(view_->hWnd(), SW_SHOW);
      break;
    case OLEIVERB_UIACTIVATE:
      hr = ActivateInPlace(parent, pos);
      if (SUCCEEDED(hr)) ActivateUI();
      if (SUCCEEDED(hr) && view_ && view_->hWnd()) ::SetFocus(view_->hWnd());
      break;
    case OLEIVERB_HIDE:
      if (view_ && view_->hWnd()) ::ShowWindow(view_->hWnd(), SW_HIDE);
      break;
    case OLEIVERB_DISCARDUNDOSTATE:
      break;
    default:
      hr = OLEOBJ_S_INVALIDVERB;
      break;
  }
  return line.Result(hr);
}

HRESULT Control::ActivateInPlace(HWND parent, LPCRECT pos) {
  if (view_) return S_OK;
  if (!site_) return E_UNEXPECTED;
  win::ComPtr<IOleInPlaceSite> inPlace;
  HRESULT hr = site_->QueryInterface(IID_IOleInPlaceSite, inPlace.put_void());
  SiteCall("IOleClientSite", "QueryInterface").Ascii("iid", "IOleInPlaceSite").Result(hr);
  if (FAILED(hr) || !inPlace) return E_NOINTERFACE;
  inPlaceSite_ = inPlace;

  hr = inPlace->CanInPlaceActivate();
  SiteCall("IOleInPlaceSite", "CanInPlaceActivate").Result(hr);
  if (closed_) return E_UNEXPECTED;
  if (hr != S_OK) return E_FAIL;
  hr = inPlace->OnInPlaceActivate();
  SiteCall("IOleInPlaceSite", "OnInPlaceActivate").Result(hr);
  if (closed_) return E_UNEXPECTED;

  HWND window = nullptr;
  hr = inPlace->GetWindow(&window);
  SiteCall("IOleInPlaceSite", "GetWindow").Object("hwnd", window).Result(hr);
  if (closed_) return E_UNEXPECTED;
  if (FAILED(hr) || !window) window = parent;

  RECT position = pos ? *pos : RECT{};
  RECT clip = position;
  OLEINPLACEFRAMEINFO info{};
  info.cb = sizeof(info);
  win::ComPtr<IOleInPlaceFrame> frame;
  win::ComPtr<IOleInPlaceUIWindow> document;
  hr = inPlace->GetWindowContext(frame.put(), document.put(), &position, &clip, &info);
  SiteCall("IOleInPlaceSite", "GetWindowContext").Object("frame", frame.get()).Object("uiWindow", document.get())
      .Number("left", position.left).Number("top", position.top).Number("right", position.right)
      .Number("bottom", position.bottom).Result(hr);
  if (closed_) return E_UNEXPECTED;
  if (SUCCEEDED(hr)) {
    frame_ = frame;
    uiWindow_ = document;
  } else if (pos) {
    position = *pos;
  }
  if (!window) return E_FAIL;
  pos_ = position;
  view_ = browser::PlainPageView::Create(window, position.left, position.top, position.right - position.left,
                                         position.bottom - position.top);
  if (!view_) return E_FAIL;
  view_->SetSilent(silent_);
  browser::PlainPageView& v = *view_;
  v.BeforeNavigate2.Bind(this, &Control::View_BeforeNavigate2);
  v.DownloadBegin.Bind(this, &Control::View_DownloadBegin);
  v.DocumentArrived.Bind(this, &Control::View_DocumentArrived);
  v.TitleChange.Bind(this, &Control::View_TitleChange);
  v.DocumentComplete.Bind(this, &Control::View_DocumentComplete);
  v.NavigateError.Bind(this, &Control::View_NavigateError);
  v.NewWindow.Bind(this, &Control::View_NewWindow);
  v.ContextMenu.Bind(this, &Control::View_ContextMenu);
  v.FocusReceived.Bind(this, &Control::View_FocusReceived);
  if (!pendingUrl_.empty()) view_->NavigateNow(std::exchange(pendingUrl_, std::wstring()));
  return S_OK;
}

void Control::ActivateUI() {
  if (uiActive_ || closed_ || !view_ || !inPlaceSite_) return;
  Hold hold(this);
  uiActive_ = true;
  HRESULT hr = inPlaceSite_->OnUIActivate();
  SiteCall("IOleInPlaceSite", "OnUIActivate").Result(hr);
  if (closed_) return;
  auto* active = static_cast<IOleInPlaceActiveObject*>(this);
  if (frame_) {
    hr = frame_->SetActiveObject(active, L"");
    SiteCall("IOleInPlaceFrame", "SetActiveObject").Object("object", active).Result(hr);
    if (closed_) return;
  }
  if (uiWindow_) {
    hr = uiWindow_->SetActiveObject(active, L"");
    SiteCall("IOleInPlaceUIWindow", "SetActiveObject").Object("object", active).Result(hr);
  }
}

HRESULT Control::GetUserClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = CLSID_WebBrowser;
  return Call("IOleObject", "GetUserClassID").Result(S_OK);
}

HRESULT Control::SetExtent(DWORD aspect, SIZEL* size) {
  LogLine line = Call("IOleObject", "SetExtent");
  line.Number("aspect", aspect);
  if (!size) return line.Result(E_POINTER);
  extent_ = *size;
  return line.Number("cx", size->cx).Number("cy", size->cy).Result(S_OK);
}

HRESULT Control::GetExtent(DWORD aspect, SIZEL* size) {
  LogLine line = Call("IOleObject", "GetExtent");
  line.Number("aspect", aspect);
  if (!size) return line.Result(E_POINTER);
  *size = extent_;
  return line.Result(S_OK);
}

HRESULT Control::GetMiscStatus(DWORD aspect, DWORD* status) {
  LogLine line = Call("IOleObject", "GetMiscStatus");
  line.Number("aspect", aspect);
  if (!status) return line.Result(E_POINTER);
  *status = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
            OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;
  return line.Result(S_OK);
}

// ---------------------------------------------------------------------------
// In place

HRESULT Control::GetWindow(HWND* hwnd) {
  LogLine line = Call("IOleWindow", "GetWindow");
  if (!hwnd) return line.Result(E_POINTER);
  *hwnd = view_ ? view_->hWnd() : nullptr;
  return line.Result(*hwnd ? S_OK : E_FAIL);
}

HRESULT Control::UIDeactivate() {
  Call("IOleInPlaceObject", "UIDeactivate").Result(S_OK);
  if (!uiActive_ || closed_) return S_OK;
  Hold hold(this);
  uiActive_ = false;
  if (frame_) {
    SiteCall("IOleInPlaceFrame", "SetActiveObject").Object("object", nullptr)
        .Result(frame_->SetActiveObject(nullptr, nullptr));
    if (closed_) return S_OK;
  }
  if (uiWindow_) {
    SiteCall("IOleInPlaceUIWindow", "SetActiveObject").Object("object", nullptr)
        .Result(uiWindow_->SetActiveObject(nullptr, nullptr));
    if (closed_) return S_OK;
  }
  if (inPlaceSite_) SiteCall("IOleInPlaceSite", "OnUIDeactivate").Result(inPlaceSite_->OnUIDeactivate(FALSE));
  return S_OK;
}

HRESULT Control::InPlaceDeactivate() {
  Call("IOleInPlaceObject", "InPlaceDeactivate").Result(S_OK);
  if (!view_ || closed_) return S_OK;
  Hold hold(this);
  UIDeactivate();
  if (closed_) return S_OK;
  view_->UnbindEvents();
  view_.reset();
  if (document_) document_->Detach();
  document_.reset();
  frames_.clear();
  win::ComPtr<IOleInPlaceSite> site = std::move(inPlaceSite_);
  frame_.reset();
  uiWindow_.reset();
  if (site) SiteCall("IOleInPlaceSite", "OnInPlaceDeactivate").Result(site->OnInPlaceDeactivate());
  return S_OK;
}

HRESULT Control::SetObjectRects(LPCRECT pos, LPCRECT clip) {
  LogLine line = Call("IOleInPlaceObject", "SetObjectRects");
  if (!pos) return line.Result(E_POINTER);
  line.Number("left", pos->left).Number("top", pos->top).Number("right", pos->right).Number("bottom", pos->bottom);
  if (clip) line.Number("clipRight", clip->right).Number("clipBottom", clip->bottom);
  pos_ = *pos;
  if (view_) view_->Move(pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top);
  return line.Result(S_OK);
}

HRESULT Control::TranslateAccelerator(LPMSG msg) {
  LogLine line = Call("IOleInPlaceActiveObject", "TranslateAccelerator");
  if (!msg) return line.Result(E_INVALIDARG);
  line.Number("message", msg->message).Number("wParam", static_cast<long long>(msg->wParam));
  const bool down = msg->message == WM_KEYDOWN;
  enum class Key { None, Refresh, Tab, Enter } key = Key::None;
  if (down && !closed_ && view_) {
    if (msg->wParam == VK_F5) key = Key::Refresh;
    if (msg->wParam == VK_TAB) key = Key::Tab;
    if (msg->wParam == VK_RETURN && view_->FocusedLink() >= 0) key = Key::Enter;
  }
  // Written before the key acts: following a link raises events.
  line.Result(key == Key::None ? S_FALSE : S_OK);
  Hold hold(this);
  switch (key) {
    case Key::Refresh:
      view_->Refresh();
      break;
    case Key::Tab:
      view_->FocusNextLink(::GetKeyState(VK_SHIFT) < 0);
      if (view_->hWnd() && ::GetFocus() != view_->hWnd()) ::SetFocus(view_->hWnd());
      break;
    case Key::Enter:
      view_->ActivateFocusedLink();
      break;
    case Key::None:
      return S_FALSE;
  }
  return S_OK;
}

HRESULT Control::OnFrameWindowActivate(WINBOOL activate) {
  return Call("IOleInPlaceActiveObject", "OnFrameWindowActivate").Flag("activate", activate).Result(S_OK);
}

HRESULT Control::OnDocWindowActivate(WINBOOL activate) {
  return Call("IOleInPlaceActiveObject", "OnDocWindowActivate").Flag("activate", activate).Result(S_OK);
}

HRESULT Control::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, WINBOOL frame) {
  return Call("IOleInPlaceActiveObject", "ResizeBorder").Flag("frame", frame).Result(S_OK);
}

HRESULT Control::EnableModeless(WINBOOL enable) {
  return Call("IOleInPlaceActiveObject", "EnableModeless").Flag("enable", enable).Result(S_OK);
}

// ---------------------------------------------------------------------------
// IConnectionPointContainer

HRESULT Control::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
  LogLine line = Call("IConnectionPointContainer", "FindConnectionPoint");
  line.Guid("iid", riid);
  if (!point) return line.Result(E_POINTER);
  *point = nullptr;
  if (IsEqualIID(riid, DIID_DWebBrowserEvents2)) {
    *point = &events2_;
    line.Ascii("events", "DWebBrowserEvents2");
  } else if (IsEqualIID(riid, DIID_DWebBrowserEvents) && !options_.refuseFirstGeneration) {
    *point = &events1_;
    line.Ascii("events", "DWebBrowserEvents");
  }
  if (!*point) return line.Result(CONNECT_E_NOCONNECTION);
  (*point)->AddRef();
  return line.Result(S_OK);
}

// ---------------------------------------------------------------------------
// IWebBrowser2

HRESULT Control::BeginNavigation(const wchar_t* method, const std::wstring& url, VARIANT* flags, VARIANT* target,
                                 VARIANT*, VARIANT*) {
  LogLine line("call", method == std::wstring_view(L"Navigate") ? "Navigate" : "Navigate2", number_);
  line.Ascii("interface", "IWebBrowser2").Text("url", url);
  if (flags) line.Number("flags", win::VariantLong(*flags));
  if (target) line.Text("target", win::VariantText(*target));
  const HRESULT hr = closed_ ? E_UNEXPECTED : url.empty() ? E_INVALIDARG : S_OK;
  // Written first: the navigation raises its events inside this call.
  line.Result(hr);
  if (hr != S_OK) return hr;
  Hold hold(this);
  if (view_) {
    view_->NavigateNow(url);
  } else {
    pendingUrl_ = url;  // begun once the control is active in place
  }
  return S_OK;
}

HRESULT Control::Navigate(BSTR url, VARIANT* flags, VARIANT* target, VARIANT* postData, VARIANT* headers) {
  return BeginNavigation(L"Navigate", url ? std::wstring(url, ::SysStringLen(url)) : std::wstring(), flags, target,
                         postData, headers);
}

HRESULT Control::Navigate2(VARIANT* url, VARIANT* flags, VARIANT* target, VARIANT* postData, VARIANT* headers) {
  return BeginNavigation(L"Navigate2", url ? win::VariantText(*url) : std::wstring(), flags, target, postData,
                         headers);
}

HRESULT Control::Refresh() {
  Call("IWebBrowser", "Refresh").Result(closed_ ? E_UNEXPECTED : S_OK);
  if (closed_) return E_UNEXPECTED;
  if (view_) view_->Refresh();
  return S_OK;
}

HRESULT Control::Refresh2(VARIANT* level) {
  LogLine line = Call("IWebBrowser", "Refresh2");
  if (level) line.Number("level", win::VariantLong(*level));
  line.Result(closed_ ? E_UNEXPECTED : S_OK);
  if (closed_) return E_UNEXPECTED;
  if (view_) view_->Refresh();
  return S_OK;
}

HRESULT Control::Stop() {
  Call("IWebBrowser", "Stop").Result(S_OK);
  if (closed_) return S_OK;
  Hold hold(this);
  pendingUrl_.clear();
  if (view_) view_->Stop();
  while (downloads_ > 0 && active()) EndDownload();
  return S_OK;
}

HRESULT Control::get_Application(IDispatch** out) {
  LogLine line = Call("IWebBrowser", "get_Application");
  if (!out) return line.Result(E_POINTER);
  *out = self();
  AddRef();
  return line.Result(S_OK);
}

HRESULT Control::get_Document(IDispatch** out) {
  LogLine line = Call("IWebBrowser", "get_Document");
  if (!out) return line.Result(E_POINTER);
  *out = nullptr;
  if (!document_ || closed_) return line.Result(S_FALSE);
  *out = static_cast<IHTMLDocument2*>(document_.get());
  (*out)->AddRef();
  return line.Result(S_OK);
}

HRESULT Control::get_TopLevelContainer(VARIANT_BOOL* out) {
  LogLine line = Call("IWebBrowser", "get_TopLevelContainer");
  if (!out) return line.Result(E_POINTER);
  *out = VARIANT_TRUE;
  return line.Result(S_OK);
}

HRESULT Control::get_Type(BSTR* out) {
  LogLine line = Call("IWebBrowser", "get_Type");
  if (!out) return line.Result(E_POINTER);
  *out = nullptr;
  if (!document_) return line.Result(S_FALSE);
  return line.Result(GiveText(out, L"HTML Document"));
}

HRESULT Control::get_LocationName(BSTR* out) {
  LogLine line = Call("IWebBrowser", "get_LocationName");
  std::wstring name;
  if (view_ && view_->hWnd()) {
    wchar_t text[512] = {};
    ::GetWindowTextW(view_->hWnd(), text, 512);
    name = text;
  }
  return line.Result(GiveText(out, name));
}

HRESULT Control::get_LocationURL(BSTR* out) {
  LogLine line = Call("IWebBrowser", "get_LocationURL");
  std::wstring url = view_ ? view_->DocumentUrl() : std::wstring();
  if (url.empty()) url = pendingUrl_;
  line.Text("url", url);
  const HRESULT given = GiveText(out, url);
  // Nothing navigated yet: an empty address and S_FALSE, as the system control answers.
  return line.Result(FAILED(given) ? given : url.empty() ? S_FALSE : S_OK);
}

HRESULT Control::get_Busy(VARIANT_BOOL* out) {
  LogLine line = Call("IWebBrowser", "get_Busy");
  if (!out) return line.Result(E_POINTER);
  *out = view_ && view_->Loading() ? VARIANT_TRUE : VARIANT_FALSE;
  return line.Flag("busy", *out != VARIANT_FALSE).Result(S_OK);
}

HRESULT Control::get_HWND(SHANDLE_PTR* out) {
  // The control in a container has no frame window of its own to name.
  if (out) *out = 0;
  return Call("IWebBrowserApp", "get_HWND").Result(E_FAIL);
}

HRESULT Control::get_Visible(VARIANT_BOOL* out) {
  LogLine line = Call("IWebBrowserApp", "get_Visible");
  if (!out) return line.Result(E_POINTER);
  *out = visible_ ? VARIANT_TRUE : VARIANT_FALSE;
  return line.Result(S_OK);
}

HRESULT Control::put_Visible(VARIANT_BOOL value) {
  Call("IWebBrowserApp", "put_Visible").Flag("value", value != VARIANT_FALSE).Result(S_OK);
  visible_ = value != VARIANT_FALSE;
  if (view_ && view_->hWnd()) ::ShowWindow(view_->hWnd(), visible_ ? SW_SHOW : SW_HIDE);
  return S_OK;
}

HRESULT Control::get_Silent(VARIANT_BOOL* out) {
  LogLine line = Call("IWebBrowser2", "get_Silent");
  if (!out) return line.Result(E_POINTER);
  *out = silent_ ? VARIANT_TRUE : VARIANT_FALSE;
  return line.Flag("value", silent_).Result(S_OK);
}

HRESULT Control::put_Silent(VARIANT_BOOL value) {
  silent_ = value != VARIANT_FALSE;
  if (view_) view_->SetSilent(silent_);
  return Call("IWebBrowser2", "put_Silent").Flag("value", silent_).Result(S_OK);
}

HRESULT Control::get_Offline(VARIANT_BOOL* out) {
  LogLine line = Call("IWebBrowser2", "get_Offline");
  if (!out) return line.Result(E_POINTER);
  *out = offline_ ? VARIANT_TRUE : VARIANT_FALSE;
  return line.Flag("value", offline_).Result(S_OK);
}

HRESULT Control::put_Offline(VARIANT_BOOL value) {
  offline_ = value != VARIANT_FALSE;
  return Call("IWebBrowser2", "put_Offline").Flag("value", offline_).Result(S_OK);
}

HRESULT Control::get_ReadyState(READYSTATE* out) {
  LogLine line = Call("IWebBrowser2", "get_ReadyState");
  if (!out) return line.Result(E_POINTER);
  if (view_ && view_->Loading()) {
    *out = document_ ? READYSTATE_INTERACTIVE : READYSTATE_LOADING;
  } else {
    *out = document_ ? READYSTATE_COMPLETE : READYSTATE_UNINITIALIZED;
  }
  return line.Number("state", *out).Result(S_OK);
}

// ---------------------------------------------------------------------------
// Events

bool Control::Fire(ConnectionPoint& point, DISPID id, VARIANT* args, UINT count, LogLine& line,
                   const VARIANT_BOOL* answer, const char* answerName, IDispatch* const* given) {
  if (closed_) return false;
  EventScope scope;
  line.Number("dispid", id);
  if (answer) {
    line.WriteAs("raise");
  } else {
    line.Write();
  }
  for (const win::ComPtr<IDispatch>& sink : point.Sinks()) {
    if (closed_) break;
    DISPPARAMS params{args, nullptr, count, 0};
    sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
  }
  if (answer) {
    line.Flag("returned", true).Flag(answerName, *answer != VARIANT_FALSE);
    if (given) line.Object("ppDisp", *given);
    if (closed_) line.Flag("closed", true);
    line.Write();
  }
  return !closed_;
}

IDispatch* Control::EventObject() {
  const unsigned frame = view_ ? view_->EventFrame() : 0;
  if (frame == 0) return self();
  win::ComPtr<Frame>& object = frames_[frame];
  if (!object) object = win::ComPtr<Frame>::Attach(new Frame(L"", number_));
  return static_cast<IWebBrowser2*>(object.get());
}

void Control::View_BeforeNavigate2(const std::wstring& url, bool& cancel) {
  Hold hold(this);
  const bool top = view_->EventFrame() == 0;
  IDispatch* object = EventObject();
  if (!top) frames_[view_->EventFrame()]->SetUrl(url);
  Arg address, flags, target, postData, headers;
  address.Text(url);
  flags.Long(0);
  target.Text(L"");
  headers.Text(L"");
  VARIANT_BOOL answer = cancel ? VARIANT_TRUE : VARIANT_FALSE;
  VARIANT args[7] = {BoolRef(answer), ByRef(headers.get()), ByRef(postData.get()), ByRef(target.get()),
                     ByRef(flags.get()), ByRef(address.get()), Dispatch(object)};
  LogLine line("event", "BeforeNavigate2", number_);
  line.Text("url", url).Flag("top", top);
  const bool goOn = Fire(events2_, DISPID_BEFORENAVIGATE2, args, 7, line, &answer);
  cancel = !goOn || answer != VARIANT_FALSE;
  if (!goOn || !top || cancel) return;
  pendingUrl_.clear();
  // The navigation under way, if any, is given up for this one.
  while (downloads_ > 0 && active()) EndDownload();
}

void Control::View_DownloadBegin() {
  Hold hold(this);
  ++downloads_;
  LogLine line("event", "DownloadBegin", number_);
  Fire(events2_, DISPID_DOWNLOADBEGIN, nullptr, 0, line);
}

void Control::EndDownload() {
  if (downloads_ <= 0) return;
  --downloads_;
  LogLine line("event", "DownloadComplete", number_);
  Fire(events2_, DISPID_DOWNLOADCOMPLETE, nullptr, 0, line);
}

void Control::View_DocumentArrived(const std::wstring& url, bool topLevel) {
  Hold hold(this);
  if (topLevel) {
    if (document_) document_->Detach();
    document_ = win::ComPtr<Document>::Attach(new Document(this, url, number_));
    frames_.clear();
  }
  IDispatch* object = EventObject();
  {
    Arg address;
    address.Text(url);
    VARIANT args[2] = {ByRef(address.get()), Dispatch(object)};
    LogLine line("event", "NavigateComplete2", number_);
    line.Text("url", url).Flag("top", topLevel);
    if (!Fire(events2_, DISPID_NAVIGATECOMPLETE2, args, 2, line)) return;
  }
  if (topLevel) {
    // The system control names the page by its address until its title is known.
    win::Bstr text(url);
    VARIANT args[1] = {Bstr(text.get())};
    LogLine line("event", "TitleChange", number_);
    line.Text("title", url);
    if (!Fire(events2_, DISPID_TITLECHANGE, args, 1, line)) return;
  }
  EndDownload();
}

void Control::View_TitleChange(const std::wstring& title) {
  Hold hold(this);
  if (document_) document_->SetTitle(title);
  win::Bstr text(title);
  VARIANT args[1] = {Bstr(text.get())};
  LogLine line("event", "TitleChange", number_);
  line.Text("title", title);
  Fire(events2_, DISPID_TITLECHANGE, args, 1, line);
}

void Control::View_DocumentComplete(const std::wstring& url, bool topLevel) {
  Hold hold(this);
  if (topLevel && document_) document_->SetComplete();
  Arg address;
  address.Text(url);
  VARIANT args[2] = {ByRef(address.get()), Dispatch(EventObject())};
  LogLine line("event", "DocumentComplete", number_);
  line.Text("url", url).Flag("top", topLevel);
  Fire(events2_, DISPID_DOCUMENTCOMPLETE, args, 2, line);
}

void Control::View_NavigateError(const std::wstring& url, long status, bool topLevel, bool& cancel) {
  Hold hold(this);
  Arg address, frameName, code;
  address.Text(url);
  frameName.Text(L"");
  code.Long(status);
  VARIANT_BOOL answer = cancel ? VARIANT_TRUE : VARIANT_FALSE;
  VARIANT args[5] = {BoolRef(answer), ByRef(code.get()), ByRef(frameName.get()), ByRef(address.get()),
                     Dispatch(EventObject())};
  LogLine line("event", "NavigateError", number_);
  line.Text("url", url).Number("status", static_cast<unsigned long>(status)).Flag("top", topLevel);
  const bool goOn = Fire(events2_, DISPID_NAVIGATEERROR, args, 5, line, &answer);
  cancel = !goOn || answer != VARIANT_FALSE;
  // A request that went out and brought no answer ends its download.
  if (goOn && status != INET_E_UNKNOWN_PROTOCOL) EndDownload();
}

void Control::View_NewWindow(const std::wstring& url, bool& processed) {
  Hold hold(this);
  processed = true;  // the view opens nothing in any case
  const std::wstring context = view_->DocumentUrl();

  // Whatever window a sink hands back is given the address, as the system control does.
  auto handedBack = [&](IDispatch*& given, const char* name) {
    if (!given) return false;
    win::ComPtr<IDispatch> window = win::ComPtr<IDispatch>::Attach(std::exchange(given, nullptr));
    LogLine("event", "GivenWindow", number_).Ascii("from", name).Text("url", url).Write();
    if (auto browser = window.query<IWebBrowser2>(IID_IWebBrowser2)) {
      win::Bstr address(url);
      VARIANT none[4];
      for (VARIANT& v : none) ::VariantInit(&v);
      browser->Navigate(address.get(), &none[0], &none[1], &none[2], &none[3]);
    }
    return true;
  };

  {
    IDispatch* given = nullptr;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT args[2] = {BoolRef(cancel), DispatchRef(given)};
    LogLine line("event", "NewWindow2", number_);
    line.Text("url", url);
    const bool goOn = Fire(events2_, DISPID_NEWWINDOW2, args, 2, line, &cancel, "cancel", &given);
    if (handedBack(given, "NewWindow2") || !goOn || cancel != VARIANT_FALSE) return;
  }
  if (!options_.refuseNewWindow3) {
    IDispatch* given = nullptr;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    win::Bstr contextText(context), urlText(url);
    VARIANT flags;
    ::VariantInit(&flags);
    flags.vt = VT_UI4;
    flags.ulVal = 0;  // the view does not say what asked for the window
    VARIANT args[5] = {Bstr(urlText.get()), Bstr(contextText.get()), flags, BoolRef(cancel), DispatchRef(given)};
    LogLine line("event", "NewWindow3", number_);
    line.Text("url", url).Text("context", context);
    const bool goOn = Fire(events2_, DISPID_NEWWINDOW3, args, 5, line, &cancel, "cancel", &given);
    if (handedBack(given, "NewWindow3") || !goOn || cancel != VARIANT_FALSE) return;
  }
  {
    VARIANT_BOOL done = VARIANT_FALSE;
    win::Bstr urlText(url), frameText(L""), headersText(L"");
    Arg postData;
    VARIANT flags;
    ::VariantInit(&flags);
    flags.vt = VT_I4;
    flags.lVal = 0;
    VARIANT args[6] = {BoolRef(done), Bstr(headersText.get()), ByRef(postData.get()), Bstr(frameText.get()), flags,
                       Bstr(urlText.get())};
    LogLine line("event", "NewWindow", number_);
    line.Text("url", url);
    if (!Fire(events1_, DISPID_NEWWINDOW, args, 6, line, &done, "processed")) return;
    if (done != VARIANT_FALSE) return;
  }
  // Nobody took it: the system control would open a browser window of its own.
  LogLine("event", "OwnWindow", number_).Text("url", url).Write();
}

void Control::View_ContextMenu(bool& show) {
  Hold hold(this);
  show = true;
  if (!site_ || closed_) return;
  win::ComPtr<IDocHostUIHandler> handler;
  const HRESULT found = site_->QueryInterface(IID_IDocHostUIHandler, handler.put_void());
  SiteCall("IOleClientSite", "QueryInterface").Ascii("iid", "IDocHostUIHandler").Result(found);
  if (FAILED(found) || !handler || closed_) return;
  const DWORD at = ::GetMessagePos();
  POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
  IDispatch* target = document_ ? static_cast<IHTMLDocument2*>(document_.get()) : nullptr;
  const HRESULT hr = handler->ShowContextMenu(CONTEXT_MENU_DEFAULT, &point, nullptr, target);
  SiteCall("IDocHostUIHandler", "ShowContextMenu").Number("x", point.x).Number("y", point.y).Result(hr);
  // S_OK: the host has dealt with it; anything else leaves the menu to the control.
  show = active() && hr != S_OK;
}

void Control::View_FocusReceived() { ActivateUI(); }

}  // namespace testbrowser
