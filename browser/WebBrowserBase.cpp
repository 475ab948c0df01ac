#include "browser/WebBrowserBase.h"

#include <exdispid.h>
#include <servprov.h>

namespace {

const CLSID kClsidWebBrowser = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
const IID kDiidWebBrowserEvents2 = {0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};
const GUID kSidShellBrowser = {0x000214E2, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// A temporary compound file, created exclusively for reading and writing. A
// nameless docfile is a real file in %TEMP%: without delete-on-release every
// start would leave one behind.
const DWORD kStorageMode = STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE | STGM_DELETEONRELEASE;

const int kBeforeNavigate2Args = 7;
const int kDocumentCompleteArgs = 2;

template <class T>
void ReleaseAndClear(T*& pointer) {
  if (pointer) {
    pointer->Release();
    pointer = nullptr;
  }
}

// An event's URL argument: a VARIANT by reference holding a BSTR.
bool ReadUrlArgument(const VARIANT& argument, std::wstring* url) {
  const VARIANT* value = &argument;
  if (value->vt == (VT_BYREF | VT_VARIANT)) value = value->pvarVal;
  if (!value || value->vt != VT_BSTR) return false;
  url->assign(value->bstrVal ? value->bstrVal : L"", value->bstrVal ? ::SysStringLen(value->bstrVal) : 0);
  return true;
}

RECT ClientRectOf(HWND window) {
  RECT rect{};
  if (window) ::GetClientRect(window, &rect);
  return rect;
}

// The extent is asked for in HIMETRIC units (0.01 mm).
SIZEL PixelsToHimetric(LONG width, LONG height) {
  HDC screen = ::GetDC(nullptr);
  int dpiX = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 96;
  int dpiY = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ::ReleaseDC(nullptr, screen);
  return SIZEL{::MulDiv(width, 2540, dpiX > 0 ? dpiX : 96), ::MulDiv(height, 2540, dpiY > 0 ? dpiY : 96)};
}

}  // namespace

CWebBrowserBase::CWebBrowserBase() : m_rcTarget{} {
  HRESULT initialized = ::OleInitialize(nullptr);
  if (FAILED(initialized)) return;
  m_bOleInitialized = true;  // S_FALSE too: every success is balanced
  if (FAILED(::StgCreateDocfile(nullptr, kStorageMode, 0, &m_pStorage))) {
    m_pStorage = nullptr;
    return;
  }
  if (FAILED(::OleCreate(kClsidWebBrowser, IID_IOleObject, OLERENDER_DRAW, nullptr,
                         static_cast<IOleClientSite*>(this), m_pStorage, reinterpret_cast<void**>(&m_pOleObject)))) {
    m_pOleObject = nullptr;
    return;
  }
  if (FAILED(m_pOleObject->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&m_pInPlaceObject)))) {
    m_pInPlaceObject = nullptr;
  }
}

CWebBrowserBase::~CWebBrowserBase() {
  CloseBrowser();
  if (m_bOleInitialized) ::OleUninitialize();
}

void CWebBrowserBase::CloseBrowser() {
  DisconnectEvents();
  if (m_pInPlaceObject && m_bInPlaceActive) m_pInPlaceObject->InPlaceDeactivate();
  if (m_pOleObject) {
    m_pOleObject->Close(OLECLOSE_NOSAVE);
    // The browser lets go of its references to this object here.
    m_pOleObject->SetClientSite(nullptr);
  }
  ReleaseAndClear(m_pWebBrowser);
  ReleaseAndClear(m_pInPlaceObject);
  ReleaseAndClear(m_pOleObject);
  ReleaseAndClear(m_pStorage);
  m_bInPlaceActive = 0;
}

void CWebBrowserBase::DisconnectEvents() {
  if (m_dwEventCookie == 0) return;
  DWORD cookie = m_dwEventCookie;
  m_dwEventCookie = 0;
  IWebBrowser2* browser = GetWebBrowser();
  if (!browser) return;
  IConnectionPointContainer* container = nullptr;
  if (FAILED(browser->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)))) return;
  IConnectionPoint* point = nullptr;
  if (SUCCEEDED(container->FindConnectionPoint(kDiidWebBrowserEvents2, &point))) {
    point->Unadvise(cookie);
    point->Release();
  }
  container->Release();
}

// --- IUnknown ---------------------------------------------------------------

STDMETHODIMP CWebBrowserBase::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDispatch) {
    *object = static_cast<IDispatch*>(this);
  } else if (riid == IID_IOleClientSite) {
    *object = static_cast<IOleClientSite*>(this);
  } else if (riid == IID_IDocHostUIHandler) {
    *object = static_cast<IDocHostUIHandler*>(this);
  } else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite) {
    *object = static_cast<IOleInPlaceSite*>(this);
  } else if (riid == IID_IOleInPlaceFrame || riid == IID_IOleInPlaceUIWindow) {
    *object = static_cast<IOleInPlaceFrame*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CWebBrowserBase::AddRef() { return ::InterlockedIncrement(&m_lRefCount); }

STDMETHODIMP_(ULONG) CWebBrowserBase::Release() { return ::InterlockedDecrement(&m_lRefCount); }

// --- IDispatch: DWebBrowserEvents2 --------------------------------------------

STDMETHODIMP CWebBrowserBase::GetTypeInfoCount(UINT*) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

// Arguments arrive in reverse order. Their count and types are checked: an
// event that does not look like the browser's reaches no hook.
STDMETHODIMP CWebBrowserBase::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) {
  if (id != DISPID_DOCUMENTCOMPLETE && id != DISPID_BEFORENAVIGATE2) return E_NOTIMPL;
  if (!params || !params->rgvarg) return DISP_E_BADPARAMCOUNT;
  std::wstring url;
  if (id == DISPID_DOCUMENTCOMPLETE) {
    if (params->cArgs != kDocumentCompleteArgs) return DISP_E_BADPARAMCOUNT;
    if (!ReadUrlArgument(params->rgvarg[0], &url)) return DISP_E_TYPEMISMATCH;
    OnDocumentComplete(url);
    return S_OK;
  }
  if (params->cArgs != kBeforeNavigate2Args) return DISP_E_BADPARAMCOUNT;
  const VARIANT& cancel = params->rgvarg[0];
  if (cancel.vt != (VT_BYREF | VT_BOOL) || !cancel.pboolVal) return DISP_E_TYPEMISMATCH;
  if (!ReadUrlArgument(params->rgvarg[5], &url)) return DISP_E_TYPEMISMATCH;
  OnBeforeNavigate2(url, cancel.pboolVal);
  return S_OK;
}

HWND CWebBrowserBase::GetHostWindow() { return nullptr; }
void CWebBrowserBase::OnDocumentComplete(std::wstring) {}
void CWebBrowserBase::OnBeforeNavigate2(std::wstring, VARIANT_BOOL*) {}

// --- IOleClientSite -------------------------------------------------------

STDMETHODIMP CWebBrowserBase::SaveObject() { return S_OK; }

STDMETHODIMP CWebBrowserBase::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserBase::GetContainer(IOleContainer** container) {
  if (container) *container = nullptr;
  return E_FAIL;
}

STDMETHODIMP CWebBrowserBase::ShowObject() { return S_OK; }
STDMETHODIMP CWebBrowserBase::OnShowWindow(BOOL) { return S_OK; }
STDMETHODIMP CWebBrowserBase::RequestNewObjectLayout() { return S_OK; }

// --- IOleWindow / IOleInPlaceSite ----------------------------------------------

STDMETHODIMP CWebBrowserBase::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = GetHostWindow();
  return S_OK;
}

STDMETHODIMP CWebBrowserBase::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

STDMETHODIMP CWebBrowserBase::CanInPlaceActivate() { return m_bInPlaceActive ? S_OK : S_FALSE; }
STDMETHODIMP CWebBrowserBase::OnInPlaceActivate() { return S_OK; }
STDMETHODIMP CWebBrowserBase::OnUIActivate() { return S_OK; }

STDMETHODIMP CWebBrowserBase::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                               LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo) {
  if (!frame || !document || !position || !clip || !frameInfo) return E_POINTER;
  *frame = static_cast<IOleInPlaceFrame*>(this);
  AddRef();
  *document = nullptr;
  HWND host = GetHostWindow();
  m_rcObject = ClientRectOf(host);
  *position = m_rcObject;
  *clip = m_rcObject;
  frameInfo->cb = sizeof(OLEINPLACEFRAMEINFO);
  frameInfo->fMDIApp = FALSE;
  frameInfo->hwndFrame = host ? ::GetParent(host) : nullptr;
  frameInfo->haccel = nullptr;
  frameInfo->cAccelEntries = 0;
  return S_OK;
}

STDMETHODIMP CWebBrowserBase::Scroll(SIZE) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::OnUIDeactivate(BOOL) { return S_OK; }
STDMETHODIMP CWebBrowserBase::OnInPlaceDeactivate() { return S_OK; }
STDMETHODIMP CWebBrowserBase::DiscardUndoState() { return S_OK; }
STDMETHODIMP CWebBrowserBase::DeactivateAndUndo() { return S_OK; }
// The browser's own wish for another place is not followed: the host decides.
STDMETHODIMP CWebBrowserBase::OnPosRectChange(LPCRECT) { return S_OK; }

// --- IOleInPlaceUIWindow / IOleInPlaceFrame ----------------------------------

STDMETHODIMP CWebBrowserBase::GetBorder(LPRECT border) {
  if (!border) return E_POINTER;
  m_rcObject = ClientRectOf(GetHostWindow());
  *border = m_rcObject;
  return S_OK;
}

STDMETHODIMP CWebBrowserBase::RequestBorderSpace(LPCBORDERWIDTHS) { return S_OK; }
STDMETHODIMP CWebBrowserBase::SetBorderSpace(LPCBORDERWIDTHS) { return S_OK; }
STDMETHODIMP CWebBrowserBase::SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) { return S_OK; }
STDMETHODIMP CWebBrowserBase::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::SetMenu(HMENU, HOLEMENU, HWND) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::RemoveMenus(HMENU) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::SetStatusText(LPCOLESTR) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::EnableModeless(BOOL) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::TranslateAccelerator(LPMSG, WORD) { return E_NOTIMPL; }

// --- IDocHostUIHandler: the browser keeps its own menus and UI -------------------

STDMETHODIMP CWebBrowserBase::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) { return E_NOTIMPL; }

STDMETHODIMP CWebBrowserBase::GetHostInfo(DOCHOSTUIINFO* info) {
  if (!info) return E_POINTER;
  info->dwFlags |= DOCHOSTUIFLAG_NO3DOUTERBORDER;
  return S_OK;
}

STDMETHODIMP CWebBrowserBase::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                                     IOleInPlaceUIWindow*) {
  return E_NOTIMPL;
}
STDMETHODIMP CWebBrowserBase::HideUI() { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::UpdateUI() { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::OnDocWindowActivate(BOOL) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::OnFrameWindowActivate(BOOL) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::TranslateAccelerator(LPMSG, const GUID*, DWORD) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::GetOptionKeyPath(LPOLESTR*, DWORD) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::GetDropTarget(IDropTarget*, IDropTarget**) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::GetExternal(IDispatch**) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::TranslateUrl(DWORD, LPWSTR, LPWSTR*) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::FilterDataObject(IDataObject*, IDataObject**) { return E_NOTIMPL; }

// --- operations ----------------------------------------------------------------

bool CWebBrowserBase::InPlaceActivate() {
  if (!m_pOleObject) return false;
  if (m_rcObject.right - m_rcObject.left == 0 || m_rcObject.bottom - m_rcObject.top == 0) {
    m_rcObject = ClientRectOf(GetHostWindow());
  }
  if (m_bInPlaceActive) return true;
  // Set before the verb: the browser asks CanInPlaceActivate while running it.
  m_bInPlaceActive = 1;
  if (FAILED(m_pOleObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(this), 0,
                                  GetHostWindow(), &m_rcObject))) {
    return false;
  }

  IWebBrowser2* browser = GetWebBrowser();
  if (!browser) return false;
  IConnectionPointContainer* container = nullptr;
  if (FAILED(browser->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)))) {
    return false;
  }
  IConnectionPoint* point = nullptr;
  HRESULT found = container->FindConnectionPoint(kDiidWebBrowserEvents2, &point);
  container->Release();
  if (FAILED(found)) return false;
  // The cookie is kept so that teardown can disconnect the sink.
  HRESULT advised = point->Advise(static_cast<IDispatch*>(this), &m_dwEventCookie);
  point->Release();
  if (FAILED(advised)) {
    m_dwEventCookie = 0;
    return false;
  }
  return true;
}

bool CWebBrowserBase::SetBrowserRect(const RECT& rect) {
  if (m_bInPlaceActive) {
    if (!m_pOleObject || !m_pInPlaceObject) return false;
    SIZEL extent = PixelsToHimetric(rect.right - rect.left, rect.bottom - rect.top);
    if (FAILED(m_pOleObject->SetExtent(DVASPECT_CONTENT, &extent))) return false;
    if (FAILED(m_pInPlaceObject->SetObjectRects(&rect, &rect))) return false;
  }
  m_rcObject = rect;
  return true;
}

bool CWebBrowserBase::Navigate(const VARIANT& url) {
  if (url.vt != VT_BSTR) return false;
  m_strUrl.assign(url.bstrVal ? url.bstrVal : L"", url.bstrVal ? ::SysStringLen(url.bstrVal) : 0);
  IWebBrowser2* browser = GetWebBrowser();
  if (!browser) return false;
  VARIANT none;
  ::VariantInit(&none);
  return SUCCEEDED(browser->Navigate(url.bstrVal, &none, &none, &none, &none));
}

IWebBrowser2* CWebBrowserBase::GetWebBrowser() {
  if (!m_pWebBrowser && m_pOleObject) {
    if (FAILED(m_pOleObject->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&m_pWebBrowser)))) {
      m_pWebBrowser = nullptr;
    }
  }
  return m_pWebBrowser;
}

HWND CWebBrowserBase::FindContentWindow() {
  IWebBrowser2* browser = GetWebBrowser();
  if (!browser) return nullptr;
  HWND start = nullptr;
  IServiceProvider* services = nullptr;
  if (SUCCEEDED(browser->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&services)))) {
    IOleWindow* window = nullptr;
    if (SUCCEEDED(services->QueryService(kSidShellBrowser, IID_IOleWindow, reinterpret_cast<void**>(&window))) &&
        window) {
      if (FAILED(window->GetWindow(&start))) start = nullptr;
      window->Release();
    }
    services->Release();
  }
  return FindContentWindowBelow(start);
}

HWND CWebBrowserBase::FindContentWindowBelow(HWND start) {
  for (HWND window = start; window; window = ::GetWindow(window, GW_CHILD)) {
    wchar_t className[260] = {};
    if (::GetClassNameW(window, className, 260) && wcscmp(className, L"Internet Explorer_Server") == 0) {
      return window;
    }
  }
  return nullptr;
}
