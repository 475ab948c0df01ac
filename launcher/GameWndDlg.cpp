#include "launcher/GameWndDlg.h"

#include "res/resource.h"

CGameWndDlg::CGameWndDlg(HWND frame, std::wstring url)
    : fw::Dialog(IDD_GAMEWND, frame), m_hFrameWnd(frame), m_strUrl(std::move(url)) {
  OnMessage(WM_CLOSE, &CGameWndDlg::OnClose);
}

LRESULT CGameWndDlg::OnClose(WPARAM, LPARAM) {
  // The loop ends and the process with it; the window goes with its parent.
  ::PostQuitMessage(0);
  return 0;
}
