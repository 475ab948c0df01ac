#include "framework/Dialog.h"

#include "framework/Application.h"

namespace fw {

Dialog::Dialog(UINT templateId, HWND parent) : m_templateId(templateId), m_parent(parent) {}

Dialog::~Dialog() {
  if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

HWND Dialog::CreateFromTemplate(HWND owner) {
  return ::CreateDialogParamW(Application::ResourceModule(), MAKEINTRESOURCEW(m_templateId), owner,
                              &Dialog::StaticDialogProc, reinterpret_cast<LPARAM>(this));
}

bool Dialog::Create(HWND parent) {
  if (parent) m_parent = parent;
  return CreateFromTemplate(m_parent) != nullptr;
}

INT_PTR Dialog::DoModal() {
  // Without an explicit owner, the box belongs to whatever the application's
  // main window last had in front, so it stays above the window it interrupts.
  HWND owner = m_parent;
  if (!owner) {
    if (Window* main = Application::Instance() ? Application::Instance()->MainWindow() : nullptr) {
      if (main->hwnd() && main != this) owner = ::GetLastActivePopup(main->hwnd());
    }
  }
  bool ownerWasEnabled = owner && ::IsWindowEnabled(owner);

  m_endRequested = false;
  m_result = -1;
  m_inModalLoop = true;
  // Disabled before creation, so the owner is already blocked while the
  // dialog initialises (which may run a long task or another modal box).
  if (ownerWasEnabled) ::EnableWindow(owner, FALSE);
  if (!CreateFromTemplate(owner)) {
    m_inModalLoop = false;
    if (ownerWasEnabled) ::EnableWindow(owner, TRUE);
    return -1;
  }

  bool shown = ::IsWindowVisible(m_hWnd) != FALSE;
  MSG msg;
  while (!m_endRequested && m_hWnd) {
    if (!shown && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      // Shown once start-up messages are through, as the system's own dialogs do.
      ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
      shown = true;
    }
    BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));  // leave the quit for the outer loop
      break;
    }
    if (got == -1) break;
    if (!PreTranslateTree(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  m_inModalLoop = false;

  if (ownerWasEnabled) ::EnableWindow(owner, TRUE);
  if (m_hWnd) {
    // Hand activation back before the window goes, so the owner comes to front.
    if (owner && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(owner);
    ::DestroyWindow(m_hWnd);
  }
  return m_result;
}

void Dialog::EndDialog(INT_PTR result) {
  m_result = result;
  m_endRequested = true;
  if (m_inModalLoop) {
    ::PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wake the loop
  } else if (m_hWnd) {
    ::DestroyWindow(m_hWnd);
  }
}

bool Dialog::PreTranslateMessage(MSG* msg) {
  if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) {
    if (msg->message < WM_MOUSEFIRST || msg->message > WM_MOUSELAST) return false;
  }
  if (!m_hWnd || (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd))) return false;
  return ::IsDialogMessageW(m_hWnd, msg) != FALSE;
}

INT_PTR CALLBACK Dialog::StaticDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG) {
    // Everything after WM_INITDIALOG reaches the object through the subclassed
    // window procedure; here only the dialog manager's defaults remain.
    if (message == WM_COMMAND) {
      Dialog* self = static_cast<Dialog*>(Window::FromHandle(hwnd));
      if (self && HIWORD(wParam) <= 1) {
        if (LOWORD(wParam) == IDOK) {
          self->OnOK();
          return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
          self->OnCancel();
          return TRUE;
        }
      }
    }
    return FALSE;
  }
  auto* self = reinterpret_cast<Dialog*>(lParam);
  self->Subclass(hwnd);
  self->DoDataExchange();
  return self->OnInitDialog();
}

}  // namespace fw
