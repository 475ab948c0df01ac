#include "launcher/Vedazi_QVDlg.h"

#include "framework/ResourceString.h"
#include "res/resource.h"

CVedazi_QVDlg::CVedazi_QVDlg(LoginServices loginServices)
    : fw::Dialog(IDD_MAIN), m_loginServices(std::move(loginServices)) {}

BOOL CVedazi_QVDlg::OnInitDialog() {
  ::SetWindowTextW(hwnd(), fw::LoadResString(IDS_LAUNCHER_TITLE).c_str());
  // Login first, while this window is still hidden; it owns the launch dialog.
  CVedaziLogin login(m_loginServices);
  login.DoModal();
  m_strGameUrl = login.GetGameUrl();
  return TRUE;
}
