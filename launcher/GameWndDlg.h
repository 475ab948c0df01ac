// The game window: a child dialog of the launcher's main window, living in a
// second process of the same executable.
#pragma once

#include <string>

#include "framework/Dialog.h"

class CGameWndDlg : public fw::Dialog {
 public:
  CGameWndDlg(HWND frame, std::wstring url);

  HWND FrameWindow() const { return m_hFrameWnd; }
  const std::wstring& StartUrl() const { return m_strUrl; }

 protected:
  void OnOK() override {}
  void OnCancel() override {}

 private:
  LRESULT OnClose(WPARAM, LPARAM);

  HWND m_hFrameWnd;
  std::wstring m_strUrl;
};
