// The launcher's main window.
#pragma once

#include "framework/Dialog.h"

class CVedazi_QVDlg : public fw::Dialog {
 public:
  CVedazi_QVDlg();

 protected:
  BOOL OnInitDialog() override;
};
