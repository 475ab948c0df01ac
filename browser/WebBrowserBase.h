// A hand-written OLE container for the WebBrowser control, hosted directly in
// an ordinary window. One object is the control's client site, in-place site,
// in-place frame, host UI handler and the sink of its DWebBrowserEvents2; a
// derived class names the host window and reacts to two events.
//
// The object belongs to whoever created it: Release never deletes it.
#pragma once

#include <windows.h>
#include <exdisp.h>
#include <mshtmhst.h>
#include <ole2.h>

#include <string>

class CWebBrowserBase : public IDispatch,
                        public IOleClientSite,
                        public IOleInPlaceSite,
                        public IOleInPlaceFrame,
                        public IDocHostUIHandler {
 public:
  // Creates the browser object (not yet shown). On any failure the object
  // still exists, only without a browser.
  CWebBrowserBase();
  virtual ~CWebBrowserBase();
  CWebBrowserBase(const CWebBrowserBase&) = delete;
  CWebBrowserBase& operator=(const CWebBrowserBase&) = delete;

  // IUnknown, shared by every part.
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IDispatch: the event sink.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override;

  // Hooks for the derived class.
  virtual HWND GetHostWindow();
  virtual void OnDocumentComplete(std::wstring url);
  // Storing a non-zero value through cancel stops the navigation.
  virtual void OnBeforeNavigate2(std::wstring url, VARIANT_BOOL* cancel);

  // IOleClientSite
  STDMETHODIMP SaveObject() override;
  STDMETHODIMP GetMoniker(DWORD assign, DWORD whichMoniker, IMoniker** moniker) override;
  STDMETHODIMP GetContainer(IOleContainer** container) override;
  STDMETHODIMP ShowObject() override;
  STDMETHODIMP OnShowWindow(BOOL show) override;
  STDMETHODIMP RequestNewObjectLayout() override;

  // IOleWindow, answered alike for the in-place site and the frame.
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL enterMode) override;

  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override;
  STDMETHODIMP OnInPlaceActivate() override;
  STDMETHODIMP OnUIActivate() override;
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo) override;
  STDMETHODIMP Scroll(SIZE extent) override;
  STDMETHODIMP OnUIDeactivate(BOOL undoable) override;
  STDMETHODIMP OnInPlaceDeactivate() override;
  STDMETHODIMP DiscardUndoState() override;
  STDMETHODIMP DeactivateAndUndo() override;
  STDMETHODIMP OnPosRectChange(LPCRECT position) override;

  // IOleInPlaceUIWindow and IOleInPlaceFrame
  STDMETHODIMP GetBorder(LPRECT border) override;
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS widths) override;
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS widths) override;
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR name) override;
  STDMETHODIMP InsertMenus(HMENU shared, LPOLEMENUGROUPWIDTHS widths) override;
  STDMETHODIMP SetMenu(HMENU shared, HOLEMENU descriptor, HWND activeObject) override;
  STDMETHODIMP RemoveMenus(HMENU shared) override;
  STDMETHODIMP SetStatusText(LPCOLESTR text) override;
  // Also IDocHostUIHandler's: both answer the same.
  STDMETHODIMP EnableModeless(BOOL enable) override;
  STDMETHODIMP TranslateAccelerator(LPMSG msg, WORD id) override;

  // IDocHostUIHandler
  STDMETHODIMP ShowContextMenu(DWORD id, POINT* point, IUnknown* target, IDispatch* object) override;
  STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
  STDMETHODIMP ShowUI(DWORD id, IOleInPlaceActiveObject* active, IOleCommandTarget* target, IOleInPlaceFrame* frame,
                      IOleInPlaceUIWindow* document) override;
  STDMETHODIMP HideUI() override;
  STDMETHODIMP UpdateUI() override;
  STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
  STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
  STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frameWindow) override;
  STDMETHODIMP TranslateAccelerator(LPMSG msg, const GUID* group, DWORD id) override;
  STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD reserved) override;
  STDMETHODIMP GetDropTarget(IDropTarget* target, IDropTarget** replacement) override;
  STDMETHODIMP GetExternal(IDispatch** external) override;
  STDMETHODIMP TranslateUrl(DWORD translate, LPWSTR url, LPWSTR* translated) override;
  STDMETHODIMP FilterDataObject(IDataObject* object, IDataObject** replacement) override;

  // Shows the browser in the host window and connects the event sink. The
  // host window must be known (GetHostWindow) before this is called.
  bool InPlaceActivate();
  // Moves and sizes the browser; before activation only remembers the place.
  bool SetBrowserRect(const RECT& rect);
  // url holds the address as a BSTR.
  bool Navigate(const VARIANT& url);
  // No reference is added for the caller.
  IWebBrowser2* GetWebBrowser();
  // The "Internet Explorer_Server" window that takes the page's keyboard
  // input, or null.
  HWND FindContentWindow();
  // From start down through first children to an "Internet Explorer_Server"
  // window, or null.
  static HWND FindContentWindowBelow(HWND start);

  // Disconnects the events, closes the browser and lets go of it; the
  // destructor does this too. Afterwards the object is one without a browser.
  void CloseBrowser();

  // Where a derived class means to place the browser later (SetBrowserRect).
  RECT m_rcTarget;

 protected:
  LONG m_lRefCount = 0;
  RECT m_rcObject{};
  BYTE m_bInPlaceActive = 0;
  std::wstring m_strUrl;
  IOleObject* m_pOleObject = nullptr;
  IOleInPlaceObject* m_pInPlaceObject = nullptr;
  IStorage* m_pStorage = nullptr;
  IWebBrowser2* m_pWebBrowser = nullptr;

 private:
  void DisconnectEvents();

  bool m_bOleInitialized = false;
  DWORD m_dwEventCookie = 0;
};
