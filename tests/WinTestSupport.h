// Shared helpers of the Windows tests: scratch folders, files, processes and
// waiting for things that happen in other processes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace testing_support {

// A fresh folder under %TEMP%, removed with everything in it at the end.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  const std::wstring& path() const { return m_path; }
  std::wstring operator/(const std::wstring& name) const { return m_path + L"\\" + name; }

 private:
  std::wstring m_path;
};

// Removes a file or a folder tree; missing paths are fine.
void RemoveTree(const std::wstring& path);

// Folder of the running test program (the build folder: the launcher and the
// fixture programs sit next to it).
std::wstring BuildFolder();
std::wstring LauncherPath();

std::vector<unsigned char> ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const void* data, size_t size);
bool WriteFileText(const std::wstring& path, const std::string& bytes);
// Lines of a UTF-16LE file without BOM, split at CR LF.
std::vector<std::wstring> ReadUtf16Lines(const std::wstring& path);

// Starts a program with the exact command line given (which may lack the
// program name, as the updater's does). Returns the process handle or null.
HANDLE StartProcess(const std::wstring& application, const std::wstring& commandLine);
// Exit code, or STILL_ACTIVE when it did not end within the time.
DWORD WaitForExit(HANDLE process, DWORD timeoutMs);

// Polls until the condition holds or the time is up; returns the last result.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// Processes whose executable is exactly this path (case-insensitive).
std::vector<DWORD> ProcessesRunning(const std::wstring& exePath);
void KillProcesses(const std::wstring& exePath);

// Top-level windows of a process.
std::vector<HWND> TopLevelWindowsOf(DWORD processId);

std::string Narrow(const std::wstring& text);

}  // namespace testing_support

namespace testing_support {
// Removes the launcher's per-user data (%APPDATA%\orbix_v1) so a test starts
// from a clean account; tests call it before and after themselves.
void ResetDataFolder();
// Creates the data folder and its res folder (the log writer makes no folders).
void CreateDataResFolder();
// The update log's messages (each line's text after the tag), in order.
std::vector<std::wstring> UpdateLogMessages();
// Everything a launcher start leaves on the account: the data folder, the
// desktop and start-menu shortcuts, the uninstall entry and its per-user
// copy, a downloaded update, the uninstaller's temporary copy. For tests that
// start the launcher.
void RemoveLauncherInstallation();
}  // namespace testing_support
