// The launcher's confirmation box: a small captionless skinned window with a
// title, one or two lines of text and three image buttons. Run it modally and
// go on only when it answers IDOK; cancel, close, Escape and Alt+F4 give
// IDCANCEL.
#pragma once

#include <string>

#include "framework/Dialog.h"
#include "framework/GdiPlus.h"
#include "skin/TouchButton.h"

class CCustomMessageBox : public fw::Dialog {
 public:
  CCustomMessageBox();

  void SetMessage(std::wstring title, std::wstring text);
  const std::wstring& Title() const { return m_strTitle; }
  const std::wstring& Text() const { return m_strText; }

 protected:
  void DoDataExchange() override;
  BOOL OnInitDialog() override;

  CTouchButton m_btnOK;
  CTouchButton m_btnCancel;
  CTouchButton m_btnClose;

 private:
  LRESULT OnEraseBkgnd(WPARAM, LPARAM);
  LRESULT OnNcHitTest(WPARAM, LPARAM);
  void OnCloseButton();
  void CentreOverOwner();

  Gdiplus::Image* m_pBackground = nullptr;
  std::wstring m_strTitle;
  std::wstring m_strText;
};
