// The launcher's main window.
#pragma once

#include <string>

#include "framework/Dialog.h"
#include "login/VedaziLogin.h"

class CVedazi_QVDlg : public fw::Dialog {
 public:
  explicit CVedazi_QVDlg(LoginServices loginServices = DefaultLoginServices());

  const std::wstring& GameUrl() const { return m_strGameUrl; }

 protected:
  BOOL OnInitDialog() override;

 private:
  LoginServices m_loginServices;
  // Handed over by the launch dialog once the player has chosen a server.
  std::wstring m_strGameUrl;
};
