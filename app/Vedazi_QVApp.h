// The application object: platform start-up, then the role the command line asks for.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Application.h"

class CVedazi_QVApp : public fw::Application {
 public:
  CVedazi_QVApp();

 protected:
  bool InitInstance() override;
  int ExitInstance() override;

 private:
  // Rows 4 and 5 of the role table: game window or launcher.
  bool RunGameWindowOrLauncher(const std::wstring& commandLine);
  bool RunLauncher();

  ULONG_PTR m_gdiplusToken = 0;
  bool m_oleStarted = false;
};
