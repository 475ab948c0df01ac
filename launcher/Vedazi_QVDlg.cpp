#include "launcher/Vedazi_QVDlg.h"

#include "framework/ResourceString.h"
#include "res/resource.h"

CVedazi_QVDlg::CVedazi_QVDlg() : fw::Dialog(IDD_MAIN) {}

BOOL CVedazi_QVDlg::OnInitDialog() {
  ::SetWindowTextW(hwnd(), fw::LoadResString(IDS_LAUNCHER_TITLE).c_str());
  return TRUE;
}
