#include "browser/FakeHtmlDom.h"

namespace testing_support {

FakeElement::FakeElement(std::wstring tag, FakeElement* parent, Href href, std::wstring hrefText)
    : m_tag(std::move(tag)), m_parent(parent), m_href(href), m_hrefText(std::move(hrefText)) {
  if (m_parent) m_parent->AddRef();
}

FakeElement::~FakeElement() {
  if (m_parent) m_parent->Release();
}

// As the browser answers: a missing attribute is S_OK with VT_NULL.
STDMETHODIMP FakeElement::getAttribute(BSTR name, LONG, VARIANT* value) {
  if (failAttribute) return E_FAIL;
  ::VariantInit(value);
  if (!name || wcscmp(name, L"href") != 0 || m_href == Href::kAbsent) {
    value->vt = VT_NULL;
  } else if (m_href == Href::kNumber) {
    value->vt = VT_I4;
    value->lVal = 42;
  } else {
    value->vt = VT_BSTR;
    value->bstrVal = ::SysAllocString(m_hrefText.c_str());
  }
  return S_OK;
}

STDMETHODIMP FakeElement::get_tagName(BSTR* tag) {
  if (failTagName) return E_FAIL;
  *tag = ::SysAllocString(m_tag.c_str());
  return S_OK;
}

STDMETHODIMP FakeElement::get_parentElement(IHTMLElement** parent) {
  *parent = nullptr;
  if (failParent) return E_FAIL;
  if (m_parent) {
    *parent = m_parent;
    m_parent->AddRef();
  }
  return S_OK;
}

FakeClickEvent::FakeClickEvent(FakeElement* source) : m_source(source) {
  if (m_source) m_source->AddRef();
}

FakeClickEvent::~FakeClickEvent() {
  if (m_source) m_source->Release();
}

STDMETHODIMP FakeClickEvent::get_srcElement(IHTMLElement** source) {
  *source = nullptr;
  if (failSource) return E_FAIL;
  if (m_source) {
    *source = m_source;
    m_source->AddRef();
  }
  return S_OK;
}

}  // namespace testing_support
