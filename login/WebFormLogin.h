// The login page's browser inside the login popup: it keeps the page hidden
// until the first page has loaded (which starts the update check), and stops
// the page's navigation into the game, telling the popup of every navigation.
#pragma once

#include <functional>
#include <string>

#include "browser/WebBrowserBase.h"

// WM_COMMAND id sent to the popup after each navigation began.
constexpr UINT ID_LOGIN_NAVIGATED = 10001;

// URL of the login browser's most recent navigation (UI thread only).
extern std::wstring g_lastNavigateUrl;

class WebFormLogin : public CWebBrowserBase {
 public:
  HWND GetHostWindow() override;
  void OnDocumentComplete(std::wstring url) override;
  void OnBeforeNavigate2(std::wstring url, VARIANT_BOOL* cancel) override;
  // The page sees no external object.
  STDMETHODIMP GetExternal(IDispatch** external) override;

  HWND m_hHostWnd = nullptr;
  BOOL m_bFirstDocumentDone = FALSE;
  // Run by the first DocumentComplete.
  std::function<void()> m_updateCheck;
};
