#include "app/Vedazi_QVApp.h"

#include <commctrl.h>
#include <ole2.h>

#include "app/FinishUpdate.h"
#include "app/StartRole.h"
#include "app/Uninstall.h"
#include "framework/GdiPlus.h"
#include "launcher/GameWndDlg.h"
#include "launcher/Vedazi_QVDlg.h"
#include "update/Updater.h"

using quarrow::StartRole;

CVedazi_QVApp::CVedazi_QVApp() : fw::Application(L"QuarrowLauncher") {}

bool CVedazi_QVApp::InitInstance() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);  // 8
  controls.dwICC = 0xFF;
  ::InitCommonControlsEx(&controls);

  // Browser controls live in dialogs: OLE must be up on this thread.
  m_oleStarted = SUCCEEDED(::OleInitialize(nullptr));
  SetRegistryKey(L"Tallowmere");

  Gdiplus::GdiplusStartupInput gdiplusInput;
  Gdiplus::GdiplusStartup(&m_gdiplusToken, &gdiplusInput, nullptr);

  const std::wstring commandLine = ::GetCommandLineW();
  switch (quarrow::ChooseStartRole(commandLine)) {
    case StartRole::FinishUpdate:
      quarrow::RunFinishUpdate(quarrow::RoleArgument(commandLine));
      return RunGameWindowOrLauncher(commandLine);
    case StartRole::UninstallConfirm:
      quarrow::RunUninstallConfirm();
      return false;
    case StartRole::UninstallCleanup:
      quarrow::RunUninstallCleanup(quarrow::RoleArgument(commandLine));
      return false;
    case StartRole::GameWindow:
    case StartRole::Launcher:
      break;
  }
  return RunGameWindowOrLauncher(commandLine);
}

bool CVedazi_QVApp::RunGameWindowOrLauncher(const std::wstring& commandLine) {
  quarrow::GameWindowArgs args;
  if (!quarrow::ParseGameWindowArgs(commandLine, &args)) return RunLauncher();

  HWND frame = reinterpret_cast<HWND>(static_cast<INT_PTR>(args.frameHandle));
  // Never deleted: destroying a window parented into another process waits
  // on that process's thread, which may itself be waiting on us; the window
  // goes with the process (or with its parent) instead.
  auto* gameWindow = new CGameWndDlg(frame, args.gameUrl);
  // A frame that names no live window cannot host the game: nothing to do.
  if (!gameWindow->Create(frame)) {
    delete gameWindow;
    return false;
  }
  ::ShowWindow(gameWindow->hwnd(), SW_SHOW);
  SetMainWindow(gameWindow);
  return true;
}

bool CVedazi_QVApp::RunLauncher() {
  // The update check runs before any page: a login page that never loads (a
  // broken page, no HTML engine) must not keep the launcher from updating.
  // The launch dialog installs for the user.
  quarrow::RunUpdateCheck();
  LoginServices login = DefaultLoginServices();
  login.updateCheck = nullptr;  // done above, once per start
  CVedazi_QVDlg mainWindow(login);
  SetMainWindow(&mainWindow);
  mainWindow.DoModal();
  SetMainWindow(nullptr);
  return false;
}

int CVedazi_QVApp::ExitInstance() {
  Gdiplus::GdiplusShutdown(m_gdiplusToken);
  if (m_oleStarted) ::OleUninitialize();
  return fw::Application::ExitInstance();
}
