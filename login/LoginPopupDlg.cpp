#include "login/LoginPopupDlg.h"

#include "framework/Application.h"
#include "login/LoginPageUrl.h"
#include "login/MacAddress.h"
#include "login/VedaziLogin.h"
#include "res/resource.h"

namespace {

constexpr int kWidth = 705;
constexpr int kHeight = 470;

}  // namespace

CLoginPopupDlg::CLoginPopupDlg(HWND parent)
    : fw::Dialog(IDD_LOGIN_POPUP, parent), m_pParent(dynamic_cast<CVedaziLogin*>(fw::Window::FromHandle(parent))) {
  OnCommand(IDC_LOGIN_MINIMIZE, &CLoginPopupDlg::OnMinimize);
  OnCommand(IDC_LOGIN_CLOSE, &CLoginPopupDlg::OnClose);
  OnCommand(ID_LOGIN_NAVIGATED, &CLoginPopupDlg::OnLoginNavigated);
  OnMessage(WM_SYSCOMMAND, &CLoginPopupDlg::OnSysCommand);
  OnMessage(WM_CTLCOLORDLG, &CLoginPopupDlg::OnCtlColorDlg);
  OnMessage(WM_DESTROY, &CLoginPopupDlg::OnDestroy);
}

CLoginPopupDlg::~CLoginPopupDlg() {
  // The browser goes before its host window (the base destroys the window).
  m_pBrowser.reset();
  if (m_brBackground) ::DeleteObject(m_brBackground);
}

void CLoginPopupDlg::DoDataExchange() {
  BindControl(IDC_LOGIN_MINIMIZE, m_btnMinimize);
  BindControl(IDC_LOGIN_CLOSE, m_btnClose);
}

BOOL CLoginPopupDlg::OnInitDialog() {
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, kWidth, kHeight, SWP_NOZORDER);
  // Pure green is the see-through colour of the popup's artwork: the corners
  // show the launch picture underneath.
  ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) | WS_EX_LAYERED);
  ::SetLayeredWindowAttributes(m_hWnd, RGB(0, 255, 0), 255, LWA_COLORKEY | LWA_ALPHA);

  const RECT client = ClientRect();
  const LoginServices services = m_pParent ? m_pParent->Services() : DefaultLoginServices();
  m_pBrowser = std::make_unique<WebFormLogin>();
  m_pBrowser->m_hHostWnd = m_hWnd;
  m_pBrowser->m_bFirstDocumentDone = FALSE;
  m_pBrowser->m_updateCheck = services.updateCheck;
  m_pBrowser->InPlaceActivate();
  m_pBrowser->m_rcTarget = RECT{0, kPageTop, client.right, client.bottom};

  std::wstring page = services.loginPageBase;
  quarrow::AppendMacToUrl(page);
  VARIANT url;
  ::VariantInit(&url);
  url.vt = VT_BSTR;
  url.bstrVal = ::SysAllocString(page.c_str());
  m_pBrowser->Navigate(url);
  ::VariantClear(&url);
  // Hidden until the first page has loaded.
  m_pBrowser->SetBrowserRect(RECT{0, 0, 0, 0});

  const int w = client.right - client.left;
  m_btnMinimize.LoadImages(320, 321, 322);
  ::SetWindowPos(m_btnMinimize.hwnd(), nullptr, w - 71, 30, 30, 27, SWP_NOZORDER);
  m_btnClose.LoadImages(323, 324, 325);
  ::SetWindowPos(m_btnClose.hwnd(), nullptr, w - 87, 0, 30, 28, SWP_NOZORDER);

  HBITMAP pattern = ::LoadBitmapW(fw::Application::ResourceModule(), MAKEINTRESOURCEW(IDB_LOGIN_POPUP_BG));
  if (pattern) {
    m_brBackground = ::CreatePatternBrush(pattern);
    ::DeleteObject(pattern);
  }
  return TRUE;
}

LRESULT CLoginPopupDlg::OnCtlColorDlg(WPARAM, LPARAM lParam) {
  LRESULT brush = Default();
  if (reinterpret_cast<HWND>(lParam) == m_hWnd && m_brBackground) return reinterpret_cast<LRESULT>(m_brBackground);
  return brush;
}

LRESULT CLoginPopupDlg::OnDestroy(WPARAM, LPARAM) {
  // Let go of the page while its window still exists.
  if (m_pBrowser) m_pBrowser->CloseBrowser();
  return Default();
}

void CLoginPopupDlg::OnMinimize() {
  // The popup, owned by the launch dialog, hides and comes back with it.
  if (m_pParent) ::ShowWindow(m_pParent->hwnd(), SW_MINIMIZE);
}

void CLoginPopupDlg::OnClose() { CVedaziLogin::ConfirmExit(); }

LRESULT CLoginPopupDlg::OnSysCommand(WPARAM wParam, LPARAM) {
  if ((wParam & 0xFFF0) == SC_CLOSE) {
    CVedaziLogin::ConfirmExit();
    return 0;
  }
  return Default();
}

void CLoginPopupDlg::OnLoginNavigated() {
  if (!quarrow::IsGameUrl(g_lastNavigateUrl)) return;
  if (!m_pParent) return;
  m_pParent->m_strGameUrl = g_lastNavigateUrl;
  m_pParent->EndDialog(0);
}

bool CLoginPopupDlg::PreTranslateMessage(MSG* msg) {
  if (msg->message != WM_KEYDOWN) return fw::Dialog::PreTranslateMessage(msg);
  switch (msg->wParam) {
    case VK_RETURN:
      // The page, not the dialog, answers Enter.
      return false;
    case VK_TAB:
      return HandKeyToBrowser(msg);
    case 'A':
    case 'C':
    case 'V':
    case 'X':
    case VK_NUMPAD1:
    case VK_NUMPAD3:
    case VK_F7:
    case VK_F9:
      if (::GetAsyncKeyState(VK_CONTROL) != 0) return HandKeyToBrowser(msg);
      return fw::Dialog::PreTranslateMessage(msg);
    case VK_SPACE:
    case VK_ESCAPE:
      return true;
    default:
      return fw::Dialog::PreTranslateMessage(msg);
  }
}

bool CLoginPopupDlg::HandKeyToBrowser(MSG* key) {
  IWebBrowser2* browser = m_pBrowser ? m_pBrowser->GetWebBrowser() : nullptr;
  IDispatch* document = nullptr;
  if (browser) browser->get_Document(&document);
  IOleInPlaceActiveObject* active = nullptr;
  if (document) document->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(&active));
  if (document) document->Release();
  if (!active) return fw::Dialog::PreTranslateMessage(key);
  MSG msg{};
  msg.hwnd = m_pBrowser->FindContentWindow();
  msg.message = WM_KEYDOWN;
  msg.wParam = key->wParam;
  msg.lParam = key->lParam;
  const bool handled = active->TranslateAccelerator(&msg) == S_OK;
  active->Release();
  return handled;
}
