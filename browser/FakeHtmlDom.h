// Test doubles of a page's DOM for the click tracer: an element with its tag
// name, its href and its parent, and the event object of a click. What the
// tracer reads has a real body (and can be made to fail); everything else
// answers E_NOTIMPL. Reference counts are visible, so a test can see that
// the tracer gives back every reference it took.
#pragma once

#include <windows.h>
#include <mshtml.h>

#include <string>

namespace testing_support {

// The COM plumbing both fakes share: a visible reference count that starts
// with the creator's reference (the last Release deletes the object), and
// the interface answered with IUnknown and IDispatch.
template <class Interface>
class FakeDispatch : public Interface {
 public:
  LONG RefCount() const { return m_refs; }


  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(Interface)) {
      *object = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
  STDMETHODIMP_(ULONG) Release() override {
    LONG refs = --m_refs;
    if (refs == 0) delete this;
    return refs;
  }
  STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

 protected:
  virtual ~FakeDispatch() = default;

 private:
  LONG m_refs = 1;
};

class FakeElement final : public FakeDispatch<IHTMLElement> {
 public:
  enum class Href { kText, kAbsent, kNumber };

  FakeElement(std::wstring tag, FakeElement* parent, Href href = Href::kAbsent, std::wstring hrefText = L"");

  bool failTagName = false;
  bool failParent = false;
  bool failAttribute = false;

  STDMETHODIMP getAttribute(BSTR name, LONG flags, VARIANT* value) override;
  STDMETHODIMP get_tagName(BSTR* tag) override;
  STDMETHODIMP get_parentElement(IHTMLElement** parent) override;

  STDMETHODIMP setAttribute(BSTR, VARIANT, LONG) override { return E_NOTIMPL; }
  STDMETHODIMP removeAttribute(BSTR, LONG, VARIANT_BOOL*) override { return E_NOTIMPL; }
  STDMETHODIMP put_className(BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP get_className(BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP put_id(BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP get_id(BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP get_style(IHTMLStyle**) override { return E_NOTIMPL; }
  STDMETHODIMP put_onhelp(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP get_onhelp(VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP put_onclick(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP get_onclick(VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP put_ondblclick(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP get_ondblclick(VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP put_onkeydown(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP get_onkeydown(VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP put_onkeyup(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP get_onkeyup(VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP put_onkeypress(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP get_onkeypress(VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP put_onmouseout(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP get_onmouseout(VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP put_onmouseover(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP get_onmouseover(VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP put_onmousemove(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP get_onmousemove(VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP put_onmousedown(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP get_onmousedown(VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP put_onmouseup(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP get_onmouseup(VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP get_document(IDispatch**) override { return E_NOTIMPL; }
  STDMETHODIMP put_title(BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP get_title(BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP put_language(BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP get_language(BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP put_onselectstart(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP get_onselectstart(VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP scrollIntoView(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP contains(IHTMLElement*, VARIANT_BOOL*) override { return E_NOTIMPL; }
  STDMETHODIMP get_sourceIndex(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP get_recordNumber(VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP put_lang(BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP get_lang(BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP get_offsetLeft(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP get_offsetTop(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP get_offsetWidth(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP get_offsetHeight(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP get_offsetParent(IHTMLElement**) override { return E_NOTIMPL; }
  STDMETHODIMP put_innerHTML(BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP get_innerHTML(BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP put_innerText(BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP get_innerText(BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP put_outerHTML(BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP get_outerHTML(BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP put_outerText(BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP get_outerText(BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP insertAdjacentHTML(BSTR, BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP insertAdjacentText(BSTR, BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP get_parentTextEdit(IHTMLElement**) override { return E_NOTIMPL; }
  STDMETHODIMP get_isTextEdit(VARIANT_BOOL*) override { return E_NOTIMPL; }
  STDMETHODIMP click() override { return E_NOTIMPL; }
  STDMETHODIMP get_filters(IHTMLFiltersCollection**) override { return E_NOTIMPL; }
  STDMETHODIMP put_ondragstart(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP get_ondragstart(VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP toString(BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP put_onbeforeupdate(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP get_onbeforeupdate(VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP put_onafterupdate(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP get_onafterupdate(VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP put_onerrorupdate(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP get_onerrorupdate(VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP put_onrowexit(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP get_onrowexit(VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP put_onrowenter(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP get_onrowenter(VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP put_ondatasetchanged(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP get_ondatasetchanged(VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP put_ondataavailable(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP get_ondataavailable(VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP put_ondatasetcomplete(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP get_ondatasetcomplete(VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP put_onfilterchange(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP get_onfilterchange(VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP get_children(IDispatch**) override { return E_NOTIMPL; }
  STDMETHODIMP get_all(IDispatch**) override { return E_NOTIMPL; }

 private:
  ~FakeElement() override;

  std::wstring m_tag;
  FakeElement* m_parent;
  Href m_href;
  std::wstring m_hrefText;
};

// The event object of a click on source (which may be null).
class FakeClickEvent final : public FakeDispatch<IHTMLEventObj> {
 public:
  explicit FakeClickEvent(FakeElement* source);

  bool failSource = false;

  STDMETHODIMP get_srcElement(IHTMLElement** source) override;

  STDMETHODIMP get_altKey(VARIANT_BOOL*) override { return E_NOTIMPL; }
  STDMETHODIMP get_ctrlKey(VARIANT_BOOL*) override { return E_NOTIMPL; }
  STDMETHODIMP get_shiftKey(VARIANT_BOOL*) override { return E_NOTIMPL; }
  STDMETHODIMP put_returnValue(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP get_returnValue(VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP put_cancelBubble(VARIANT_BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP get_cancelBubble(VARIANT_BOOL*) override { return E_NOTIMPL; }
  STDMETHODIMP get_fromElement(IHTMLElement**) override { return E_NOTIMPL; }
  STDMETHODIMP get_toElement(IHTMLElement**) override { return E_NOTIMPL; }
  STDMETHODIMP put_keyCode(LONG) override { return E_NOTIMPL; }
  STDMETHODIMP get_keyCode(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP get_button(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP get_type(BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP get_qualifier(BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP get_reason(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP get_x(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP get_y(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP get_clientX(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP get_clientY(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP get_offsetX(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP get_offsetY(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP get_screenX(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP get_screenY(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP get_srcFilter(IDispatch**) override { return E_NOTIMPL; }

 private:
  ~FakeClickEvent() override;

  FakeElement* m_source;
};

}  // namespace testing_support
