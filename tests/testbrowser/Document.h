// The stand-in's document objects: one Document per top document the control
// shows (IHTMLDocument2 and IHTMLDocument3), its root element and the root's
// style, read from and written to the control's view while the document is
// the one shown; and a small object per frame that the frame's events name.
#pragma once

#include <string>

#include "GeneratedBases.h"
#include "tests/testbrowser/Log.h"

namespace testbrowser {

class Control;
class Element;
class Style;

class Document final : public Unimplemented<IHTMLDocument2>, public Unimplemented<IHTMLDocument3> {
 public:
  Document(Control* control, std::wstring url, unsigned controlNumber)
      : control_(control), url_(std::move(url)), number_(controlNumber) {}
  // Another document replaced this one, or the control closed.
  void Detach() { control_ = nullptr; }
  Control* control() const { return control_; }
  unsigned number() const { return number_; }
  void SetTitle(std::wstring title) { title_ = std::move(title); }
  void SetComplete() { complete_ = true; }
  void RootGone() { root_ = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE get_title(BSTR* out) override;
  HRESULT STDMETHODCALLTYPE get_URL(BSTR* out) override;
  HRESULT STDMETHODCALLTYPE get_readyState(BSTR* out) override;
  HRESULT STDMETHODCALLTYPE get_documentElement(IHTMLElement** out) override;

 private:
  ~Document();
  ULONG refs_ = 1;
  Control* control_;
  std::wstring url_;
  std::wstring title_;
  unsigned number_;
  bool complete_ = false;
  Element* root_ = nullptr;  // the root element while it lives; it holds the document
};

class Element final : public Unimplemented<IHTMLElement> {
 public:
  explicit Element(Document* document) : document_(document) { document_->AddRef(); }
  Document* document() const { return document_; }
  void StyleGone() { style_ = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE get_tagName(BSTR* out) override;
  HRESULT STDMETHODCALLTYPE get_innerHTML(BSTR* out) override;
  HRESULT STDMETHODCALLTYPE get_outerHTML(BSTR* out) override;
  HRESULT STDMETHODCALLTYPE get_style(IHTMLStyle** out) override;

 private:
  ~Element();
  ULONG refs_ = 1;
  Document* document_;
  Style* style_ = nullptr;
};

class Style final : public Unimplemented<IHTMLStyle> {
 public:
  explicit Style(Element* element) : element_(element) { element_->AddRef(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE setAttribute(BSTR name, VARIANT value, LONG flags) override;
  HRESULT STDMETHODCALLTYPE getAttribute(BSTR name, LONG flags, VARIANT* value) override;
  HRESULT STDMETHODCALLTYPE removeAttribute(BSTR name, LONG flags, VARIANT_BOOL* removed) override;
  HRESULT STDMETHODCALLTYPE put_overflow(BSTR value) override;
  HRESULT STDMETHODCALLTYPE get_overflow(BSTR* out) override;

 private:
  ~Style();
  // The property of the shown document's root style, by its CSS name; false
  // when this document is no longer the one shown.
  bool Read(const std::wstring& css, std::wstring& value) const;
  bool Write(const std::wstring& css, const std::wstring& value);
  ULONG refs_ = 1;
  Element* element_;
};

// What a frame's events name: the frame's own object, with its address.
class Frame final : public Unimplemented<IWebBrowser2> {
 public:
  Frame(std::wstring url, unsigned controlNumber) : url_(std::move(url)), number_(controlNumber) {}
  void SetUrl(std::wstring url) { url_ = std::move(url); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE get_LocationURL(BSTR* out) override;
  HRESULT STDMETHODCALLTYPE get_Document(IDispatch** out) override;

 private:
  ~Frame() = default;
  ULONG refs_ = 1;
  std::wstring url_;
  unsigned number_;
};

// "backgroundColor" is the CSS property "background-color".
std::wstring CssName(std::wstring_view styleName);

}  // namespace testbrowser
