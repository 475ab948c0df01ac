#include "login/WebFormLogin.h"

#include "login/LoginPageUrl.h"

std::wstring g_lastNavigateUrl;

HWND WebFormLogin::GetHostWindow() { return m_hHostWnd; }

void WebFormLogin::OnDocumentComplete(std::wstring) {
  if (!m_bFirstDocumentDone) {
    // Set first: a check that pumps messages must not start a second one.
    m_bFirstDocumentDone = TRUE;
    if (m_updateCheck) m_updateCheck();
  }
  SetBrowserRect(m_rcTarget);
}

void WebFormLogin::OnBeforeNavigate2(std::wstring url, VARIANT_BOOL* cancel) {
  if (quarrow::IsGameUrl(url) && cancel) *cancel = 1;
  if (!m_hHostWnd) return;
  g_lastNavigateUrl = url;
  ::SendMessageW(m_hHostWnd, WM_COMMAND, ID_LOGIN_NAVIGATED, 0);
}

STDMETHODIMP WebFormLogin::GetExternal(IDispatch** external) {
  if (!external) return E_POINTER;
  *external = nullptr;
  return S_OK;
}
