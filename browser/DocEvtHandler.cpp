#include "browser/DocEvtHandler.h"

#include <mshtml.h>

namespace {

// The HTML events' dispatch interface this sink is registered for.
const IID kIidHtmlEvents = {0x3050F617, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};
const DISPID kDispidOnClick = -600;
const wchar_t kOnClickName[] = L"HTMLELEMENTEVENTS2_ONCLICK";

void WriteToDebugger(const std::wstring& line) { ::OutputDebugStringW(line.c_str()); }

// Owns one reference for the length of a scope.
template <class T>
class Held {
 public:
  Held() = default;
  ~Held() { Reset(); }
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  T** Out() {
    Reset();
    return &m_p;
  }
  T* Get() const { return m_p; }
  void Reset(T* p = nullptr) {
    if (m_p) m_p->Release();
    m_p = p;
  }
  T* Take() {
    T* p = m_p;
    m_p = nullptr;
    return p;
  }

 private:
  T* m_p = nullptr;
};

bool IsLinkTag(IHTMLElement* element) {
  BSTR tag = nullptr;
  if (FAILED(element->get_tagName(&tag)) || !tag) return false;  // unreadable: not a link
  bool link = wcscmp(tag, L"a") == 0 || wcscmp(tag, L"A") == 0;
  ::SysFreeString(tag);
  return link;
}

}  // namespace

SDocEvtHandler::SDocEvtHandler() : SDocEvtHandler(WriteToDebugger) {}

SDocEvtHandler::SDocEvtHandler(TraceSink sink) : m_sink(std::move(sink)) {}

SDocEvtHandler::~SDocEvtHandler() = default;

STDMETHODIMP SDocEvtHandler::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == kIidHtmlEvents) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) SDocEvtHandler::AddRef() { return ::InterlockedIncrement(&m_lRefCount); }

STDMETHODIMP_(ULONG) SDocEvtHandler::Release() {
  LONG count = ::InterlockedDecrement(&m_lRefCount);
  if (count == 0) delete this;
  return count;
}

STDMETHODIMP SDocEvtHandler::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP SDocEvtHandler::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP SDocEvtHandler::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!names || !ids) return E_POINTER;
  if (count == 0) return S_OK;
  bool known = names[0] && _wcsicmp(names[0], kOnClickName) == 0;
  ids[0] = known ? kDispidOnClick : DISPID_UNKNOWN;
  // The click has one unnamed parameter: any further name is unknown.
  for (UINT i = 1; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  return known && count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

STDMETHODIMP SDocEvtHandler::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                    UINT* argError) {
  if (id != kDispidOnClick) return DISP_E_MEMBERNOTFOUND;
  if (!params || params->cArgs != 1 || !params->rgvarg) return DISP_E_BADPARAMCOUNT;
  // Automation coerces the argument to the parameter's type.
  VARIANT argument;
  ::VariantInit(&argument);
  if (FAILED(::VariantChangeType(&argument, &params->rgvarg[0], 0, VT_DISPATCH))) {
    if (argError) *argError = 0;
    return DISP_E_TYPEMISMATCH;
  }
  OnClick(argument.pdispVal);
  ::VariantClear(&argument);
  return S_OK;  // no result: the document's own handling of the click goes ahead
}

void SDocEvtHandler::OnClick(IDispatch* eventObject) {
  if (!eventObject) return;
  Held<IHTMLEventObj> event;
  if (FAILED(eventObject->QueryInterface(__uuidof(IHTMLEventObj), reinterpret_cast<void**>(event.Out())))) return;
  Held<IHTMLElement> element;
  if (FAILED(event.Get()->get_srcElement(element.Out())) || !element.Get()) return;

  // The innermost link around the clicked element.
  while (!IsLinkTag(element.Get())) {
    Held<IHTMLElement> parent;
    if (FAILED(element.Get()->get_parentElement(parent.Out())) || !parent.Get()) return;
    element.Reset(parent.Take());
  }

  VARIANT href;
  ::VariantInit(&href);
  BSTR name = ::SysAllocString(L"href");
  HRESULT read = element.Get()->getAttribute(name, 0, &href);
  ::SysFreeString(name);
  if (FAILED(read)) return;
  std::wstring text;
  if (href.vt == VT_BSTR && href.bstrVal) text.assign(href.bstrVal, ::SysStringLen(href.bstrVal));
  ::VariantClear(&href);
  if (m_sink) m_sink(L"单击事件:" + text + L"\r\n");
}
