// The launch dialog: the first window of a launcher start. It shows the launch
// picture as a window of the picture's own outline and translucency, carries
// the login popup at a fixed place over it, installs for the user, and ends
// once the popup has caught the game URL. Its only other way out is the exit
// confirmation, which ends the process.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "framework/Dialog.h"
#include "skin/GdiPlusBitmap.h"

class CLoginPopupDlg;

// What the dialog and its popup call out to; tests put their own in.
struct LoginServices {
  std::function<void()> firstRunInstall;
  // Run by the login page's first load.
  std::function<void()> updateCheck;
  // Login page address before the adapter address goes in (string 114).
  std::wstring loginPageBase;
};
// The launcher's own: FirstRunInstall, RunUpdateCheck and string 114.
LoginServices DefaultLoginServices();

class CVedaziLogin : public fw::Dialog {
 public:
  explicit CVedaziLogin(LoginServices services = DefaultLoginServices());
  ~CVedaziLogin() override;

  std::wstring GetGameUrl() const { return m_strGameUrl; }
  // Puts the popup over the picture at its fixed offset and shows it.
  void PositionPopup(CLoginPopupDlg* popup);
  const LoginServices& Services() const { return m_services; }
  CLoginPopupDlg* Popup() const { return m_pPopup.get(); }

  bool PreTranslateMessage(MSG* msg) override;

  // Asks whether to quit the launcher; ends the process with 0 when the
  // player confirms, returns otherwise.
  static void ConfirmExit();

  // Where the popup sits on the picture, and its size.
  static constexpr POINT kPopupOffset = {353, 194};
  static constexpr SIZE kPopupSize = {705, 470};

  // Written by the popup just before it ends the dialog.
  std::wstring m_strGameUrl;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}

 private:
  LRESULT OnSysCommand(WPARAM, LPARAM);
  LRESULT OnNcHitTest(WPARAM, LPARAM);
  LRESULT OnWindowPosChanged(WPARAM, LPARAM);
  // Makes the window exactly the picture, with the picture's alpha.
  void UpdateLayeredImage();
  void CentreOnWorkArea();

  LoginServices m_services;
  std::unique_ptr<CGdiPlusBitmapResource> m_pBackground;
  std::unique_ptr<CLoginPopupDlg> m_pPopup;
  int m_nImageWidth = 0;
  int m_nImageHeight = 0;
};
