// The application object: one per process, started from wWinMain. A derived
// class decides in InitInstance what the process does; when InitInstance
// returns true the message loop runs until WM_QUIT.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

class Window;

class Application {
 public:
  explicit Application(const wchar_t* profileName);
  virtual ~Application();

  static Application* Instance();
  static HINSTANCE ResourceModule();

  // The entry point's whole work; returns the process exit code.
  int Run(HINSTANCE instance);

  Window* MainWindow() const { return m_pMainWnd; }
  void SetMainWindow(Window* window) { m_pMainWnd = window; }

  // Per-user profile in the registry: HKCU\Software\<company>\<profile name>.
  void SetRegistryKey(const wchar_t* company);
  std::wstring GetProfileString(const wchar_t* section, const wchar_t* entry,
                                const wchar_t* defaultValue) const;
  bool WriteProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* value);
  std::wstring ProfileKeyPath() const;

 protected:
  virtual bool InitInstance() { return false; }
  virtual int ExitInstance() { return m_exitCode; }
  // One message, pre-translated through the window objects; false on WM_QUIT.
  bool PumpMessage();

  Window* m_pMainWnd = nullptr;
  int m_exitCode = 0;

 private:
  std::wstring m_profileName;
  std::wstring m_company;
};

}  // namespace fw
