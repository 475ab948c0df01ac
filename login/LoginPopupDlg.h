// The login popup: a borderless window over the launch picture that hosts the
// publisher's login page. When the page heads into the game, the popup hands
// the game URL to the launch dialog and ends it.
#pragma once

#include <memory>

#include "framework/Dialog.h"
#include "login/WebFormLogin.h"
#include "skin/TouchButton.h"

class CVedaziLogin;

class CLoginPopupDlg : public fw::Dialog {
 public:
  // parent: the launch dialog, which owns the popup (Create with it).
  explicit CLoginPopupDlg(HWND parent);
  ~CLoginPopupDlg() override;

  bool PreTranslateMessage(MSG* msg) override;

  WebFormLogin* Browser() const { return m_pBrowser.get(); }

  // Where the page sits: below the popup's own 84-pixel strip.
  static constexpr int kPageTop = 84;

 protected:
  void DoDataExchange() override;
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}

 private:
  void OnMinimize();
  void OnClose();
  void OnLoginNavigated();
  LRESULT OnSysCommand(WPARAM, LPARAM);
  LRESULT OnCtlColorDlg(WPARAM, LPARAM);
  LRESULT OnDestroy(WPARAM, LPARAM);
  // Tab and the edit shortcuts act on the page rather than on the dialog.
  bool HandKeyToBrowser(MSG* msg);

  CVedaziLogin* m_pParent = nullptr;
  CTouchButton m_btnMinimize;
  CTouchButton m_btnClose;
  HBRUSH m_brBackground = nullptr;
  std::unique_ptr<WebFormLogin> m_pBrowser;
};
