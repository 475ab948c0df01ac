// Dialogs made from templates in the executable's resources, modal (with the
// launcher's own message loop, so PreTranslateMessage sees every message) or
// modeless.
#pragma once

#include "framework/Window.h"

namespace fw {

class Dialog : public Window {
 public:
  // parent: the owner of a popup template, or the parent of a child template
  // (which may be a window of another process).
  explicit Dialog(UINT templateId, HWND parent = nullptr);
  ~Dialog() override;

  // Runs the dialog modally: its owner is disabled meanwhile. Returns the
  // value given to EndDialog, or -1 when the window could not be created.
  INT_PTR DoModal();
  // Creates the dialog modeless; false when the window could not be created.
  bool Create(HWND parent = nullptr);
  // Ends a modal run once the current message has been handled.
  void EndDialog(INT_PTR result);
  bool IsModal() const { return m_inModalLoop; }

  bool PreTranslateMessage(MSG* msg) override;

 protected:
  virtual BOOL OnInitDialog() { return TRUE; }
  // Binds controls to member objects (BindControl) before OnInitDialog.
  virtual void DoDataExchange() {}
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }

  bool BindControl(int id, Window& control) { return control.SubclassDlgItem(id, m_hWnd); }

  UINT m_templateId;
  HWND m_parent;

 private:
  static INT_PTR CALLBACK StaticDialogProc(HWND, UINT, WPARAM, LPARAM);
  HWND CreateFromTemplate(HWND owner);

  bool m_inModalLoop = false;
  bool m_endRequested = false;
  INT_PTR m_result = -1;
};

}  // namespace fw
