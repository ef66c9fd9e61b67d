#include "tests/testbrowser/Document.h"

#include "tests/support/PageRootHtml.h"
#include "tests/testbrowser/Control.h"
#include "win/Automation.h"

namespace testbrowser {

namespace {

HRESULT GiveText(BSTR* out, std::wstring_view text) {
  if (!out) return E_POINTER;
  *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

template <typename T>
HRESULT Give(T* object, void** out) {
  object->AddRef();
  *out = object;
  return S_OK;
}

}  // namespace

std::wstring CssName(std::wstring_view styleName) {
  std::wstring out;
  for (wchar_t c : styleName) {
    if (c >= L'A' && c <= L'Z') {
      out += L'-';
      out += static_cast<wchar_t>(c + 32);
    } else {
      out += c;
    }
  }
  return out;
}

// ---------------------------------------------------------------------------
// Document

Document::~Document() = default;

HRESULT Document::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IHTMLDocument) ||
      IsEqualIID(riid, IID_IHTMLDocument2)) {
    return Give(static_cast<IHTMLDocument2*>(this), out);
  }
  if (IsEqualIID(riid, IID_IHTMLDocument3)) return Give(static_cast<IHTMLDocument3*>(this), out);
  LogLine("call", "QueryInterface", number_).Ascii("interface", "IHTMLDocument2").Guid("iid", riid)
      .Result(E_NOINTERFACE);
  return E_NOINTERFACE;
}

ULONG Document::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT Document::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT Document::get_title(BSTR* out) {
  return LogLine("call", "get_title", number_).Ascii("interface", "IHTMLDocument2").Result(GiveText(out, title_));
}

HRESULT Document::get_URL(BSTR* out) {
  return LogLine("call", "get_URL", number_).Ascii("interface", "IHTMLDocument2").Result(GiveText(out, url_));
}

HRESULT Document::get_readyState(BSTR* out) {
  return LogLine("call", "get_readyState", number_).Ascii("interface", "IHTMLDocument2")
      .Result(GiveText(out, complete_ ? L"complete" : L"interactive"));
}

HRESULT Document::get_documentElement(IHTMLElement** out) {
  LogLine line("call", "get_documentElement", number_);
  line.Ascii("interface", "IHTMLDocument3");
  if (!out) return line.Result(E_POINTER);
  if (root_) {
    root_->AddRef();
  } else {
    root_ = new Element(this);
  }
  *out = root_;
  return line.Result(S_OK);
}

// ---------------------------------------------------------------------------
// Element

Element::~Element() {
  document_->RootGone();
  document_->Release();
}

HRESULT Element::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IHTMLElement)) {
    return Give(static_cast<IHTMLElement*>(this), out);
  }
  LogLine("call", "QueryInterface", document_->number()).Ascii("interface", "IHTMLElement").Guid("iid", riid)
      .Result(E_NOINTERFACE);
  return E_NOINTERFACE;
}

ULONG Element::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT Element::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT Element::get_tagName(BSTR* out) {
  return LogLine("call", "get_tagName", document_->number()).Ascii("interface", "IHTMLElement")
      .Result(GiveText(out, L"HTML"));
}

HRESULT Element::get_innerHTML(BSTR* out) {
  LogLine line("call", "get_innerHTML", document_->number());
  line.Ascii("interface", "IHTMLElement");
  // A document no longer shown has nothing left of its own.
  Control* control = document_->control();
  std::wstring html;
  if (control && control->view()) html = browser::html::SystemRootHtml(control->view()->RootInnerHtml());
  return line.Result(GiveText(out, html));
}

HRESULT Element::get_outerHTML(BSTR* out) {
  LogLine line("call", "get_outerHTML", document_->number());
  line.Ascii("interface", "IHTMLElement");
  Control* control = document_->control();
  std::wstring html;
  if (control && control->view()) html = browser::html::SystemRootHtml(control->view()->RootInnerHtml());
  return line.Result(GiveText(out, L"<HTML>" + html + L"</HTML>"));
}

HRESULT Element::get_style(IHTMLStyle** out) {
  LogLine line("call", "get_style", document_->number());
  line.Ascii("interface", "IHTMLElement");
  if (!out) return line.Result(E_POINTER);
  if (style_) {
    style_->AddRef();
  } else {
    style_ = new Style(this);
  }
  *out = style_;
  return line.Result(S_OK);
}

// ---------------------------------------------------------------------------
// Style

Style::~Style() {
  element_->StyleGone();
  element_->Release();
}

HRESULT Style::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IHTMLStyle)) {
    return Give(static_cast<IHTMLStyle*>(this), out);
  }
  LogLine("call", "QueryInterface", element_->document()->number()).Ascii("interface", "IHTMLStyle")
      .Guid("iid", riid).Result(E_NOINTERFACE);
  return E_NOINTERFACE;
}

ULONG Style::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT Style::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

bool Style::Read(const std::wstring& css, std::wstring& value) const {
  Control* control = element_->document()->control();
  if (!control || !control->view()) return false;
  value = control->view()->RootStyle(css);
  return true;
}

bool Style::Write(const std::wstring& css, const std::wstring& value) {
  Control* control = element_->document()->control();
  if (!control || !control->view()) return false;
  control->view()->SetRootStyle(css, value);
  return true;
}

HRESULT Style::setAttribute(BSTR name, VARIANT value, LONG flags) {
  const std::wstring text = win::VariantText(value);
  LogLine line("call", "setAttribute", element_->document()->number());
  line.Ascii("interface", "IHTMLStyle").Text("name", name ? std::wstring(name) : std::wstring())
      .Text("value", text).Number("flags", flags);
  if (!name) return line.Result(E_INVALIDARG);
  // A document no longer shown keeps nothing.
  Write(CssName(name), text);
  return line.Result(S_OK);
}

HRESULT Style::getAttribute(BSTR name, LONG flags, VARIANT* value) {
  LogLine line("call", "getAttribute", element_->document()->number());
  line.Ascii("interface", "IHTMLStyle").Text("name", name ? std::wstring(name) : std::wstring())
      .Number("flags", flags);
  if (!value) return line.Result(E_POINTER);
  ::VariantInit(value);
  if (!name) return line.Result(E_INVALIDARG);
  std::wstring text;
  Read(CssName(name), text);
  value->vt = VT_BSTR;
  value->bstrVal = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  line.Text("value", text);
  return line.Result(S_OK);
}

HRESULT Style::removeAttribute(BSTR name, LONG flags, VARIANT_BOOL* removed) {
  LogLine line("call", "removeAttribute", element_->document()->number());
  line.Ascii("interface", "IHTMLStyle").Text("name", name ? std::wstring(name) : std::wstring())
      .Number("flags", flags);
  if (!name) return line.Result(E_INVALIDARG);
  std::wstring old;
  const bool had = Read(CssName(name), old) && !old.empty();
  if (had) Write(CssName(name), L"");
  if (removed) *removed = had ? VARIANT_TRUE : VARIANT_FALSE;
  return line.Result(S_OK);
}

HRESULT Style::put_overflow(BSTR value) {
  const std::wstring text = value ? std::wstring(value, ::SysStringLen(value)) : std::wstring();
  LogLine line("call", "put_overflow", element_->document()->number());
  line.Ascii("interface", "IHTMLStyle").Text("value", text);
  Write(L"overflow", text);
  return line.Result(S_OK);
}

HRESULT Style::get_overflow(BSTR* out) {
  LogLine line("call", "get_overflow", element_->document()->number());
  line.Ascii("interface", "IHTMLStyle");
  std::wstring text;
  Read(L"overflow", text);
  return line.Result(GiveText(out, text));
}

// ---------------------------------------------------------------------------
// Frame

HRESULT Frame::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IWebBrowser) ||
      IsEqualIID(riid, IID_IWebBrowserApp) || IsEqualIID(riid, IID_IWebBrowser2)) {
    return Give(static_cast<IWebBrowser2*>(this), out);
  }
  return E_NOINTERFACE;
}

ULONG Frame::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT Frame::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT Frame::get_LocationURL(BSTR* out) {
  return LogLine("call", "get_LocationURL", number_).Ascii("interface", "IWebBrowser2").Flag("frame", true)
      .Result(GiveText(out, url_));
}

HRESULT Frame::get_Document(IDispatch** out) {
  if (out) *out = nullptr;
  // A frame's document is not kept: only the top document has one.
  return LogLine("call", "get_Document", number_).Ascii("interface", "IWebBrowser2").Flag("frame", true)
      .Result(out ? S_FALSE : E_POINTER);
}

}  // namespace testbrowser
