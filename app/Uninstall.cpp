#include "app/Uninstall.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <vector>

#include "app/FileUtils.h"
#include "app/UninstallTargets.h"
#include "framework/ResourceString.h"
#include "login/FirstRunInstall.h"
#include "res/resource.h"
#include "skin/CustomMessageBox.h"

namespace quarrow {
namespace {

constexpr wchar_t kUninstallList[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
// How long the cleanup lets the confirm stage take to end before it gives up
// on deleting the executable that stage runs from.
constexpr DWORD kExecutableReleaseMs = 5000;
constexpr DWORD kDeleteRetryStepMs = 100;

std::wstring ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return L"";
  return path;
}

void StartCleanupCopy(const std::wstring& temporaryExecutable, const std::wstring& installedExecutable) {
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  // No program name in front: the cleanup role reads its argument from the
  // fourth character of the line on.
  std::wstring commandLine = L"-u " + installedExecutable;
  if (::CreateProcessW(temporaryExecutable.c_str(), &commandLine[0], &inheritable, &inheritable, FALSE,
                       CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr, &startup, &process)) {
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  }
}

void DeleteUninstallEntry() {
  HKEY list = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallList, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &list) !=
      ERROR_SUCCESS) {
    return;
  }
  // The view is named again: a 32-bit process deleting by a relative name
  // would otherwise reach into its own, redirected view.
  ::RegDeleteKeyExW(list, kUninstallKeyName, KEY_WOW64_64KEY, 0);
  ::RegCloseKey(list);
}

// Other processes (the confirm stage, or a launcher still open) running the
// executable at path; their images cannot be deleted while they run.
std::vector<HANDLE> ProcessesRunningImage(const std::wstring& path) {
  std::vector<HANDLE> processes;
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return processes;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  const DWORD self = ::GetCurrentProcessId();
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry)) {
    if (entry.th32ProcessID == self) continue;
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, entry.th32ProcessID);
    if (!process) continue;
    wchar_t image[MAX_PATH * 2];
    DWORD size = MAX_PATH * 2;
    if (::QueryFullProcessImageNameW(process, 0, image, &size) &&
        ::CompareStringOrdinal(image, static_cast<int>(size), path.c_str(), static_cast<int>(path.size()), TRUE) ==
            CSTR_EQUAL) {
      processes.push_back(process);
    } else {
      ::CloseHandle(process);
    }
  }
  ::CloseHandle(snapshot);
  return processes;
}

bool IsLockedOrBusy(DWORD error) {
  return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
         error == ERROR_USER_MAPPED_FILE;
}

// The confirm stage ends right after starting us, but it may still be running
// from the executable when we get here; deleting it then would fail and leave
// it behind. Wait for it, boundedly: a launcher the player keeps open must
// not hold the cleanup forever.
void DeleteInstalledExecutable(const std::wstring& path) {
  if (!FileExists(path)) return;
  const DWORD start = ::GetTickCount();
  std::vector<HANDLE> running = ProcessesRunningImage(path);
  for (HANDLE process : running) {
    const DWORD waited = ::GetTickCount() - start;
    if (waited < kExecutableReleaseMs) ::WaitForSingleObject(process, kExecutableReleaseMs - waited);
    ::CloseHandle(process);
  }
  // The image may stay mapped for a moment after its process has ended.
  while (!::DeleteFileW(path.c_str()) && IsLockedOrBusy(::GetLastError()) &&
         ::GetTickCount() - start < kExecutableReleaseMs) {
    ::Sleep(kDeleteRetryStepMs);
  }
}

}  // namespace

void RunUninstallConfirm() { RunUninstallConfirm(GetModulePath()); }

void RunUninstallConfirm(const std::wstring& self) {
  CCustomMessageBox box;
  box.SetMessage(L"卸载", fw::Format(L"您是否确认卸载%ls？", fw::LoadResString(IDS_PRODUCT_NAME).c_str()));
  const INT_PTR answer = box.DoModal();
  // Any answer but cancel goes on; a box that could not be shown is no answer.
  if (answer == IDCANCEL || answer == -1) return;

  const std::wstring appData = ShellFolder(CSIDL_APPDATA);
  // Without it the copy would land at the root of the current drive.
  if (!appData.empty()) {
    const std::wstring cache = appData + L"\\cache";
    if (!FolderExists(cache)) ::CreateDirectoryW(cache.c_str(), nullptr);
    const std::wstring temporary = appData + fw::LoadResString(IDS_UNINSTALL_TEMP_EXE);
    ::CopyFileW(self.c_str(), temporary.c_str(), FALSE);
    StartCleanupCopy(temporary, self);
  }
  // Removed even when the cleanup could not be started: the player asked for it.
  DeleteUninstallEntry();
}

void RunUninstallCleanup(const std::wstring& installedExecutable) {
  const UninstallNames names{fw::LoadResString(IDS_PRODUCT_NAME), fw::LoadResString(IDS_PUBLISHER),
                             fw::LoadResString(IDS_PUBLISHER_LINK), fw::LoadResString(IDS_UNINSTALL_LINK)};
  const UninstallTargets targets =
      BuildUninstallTargets(ShellFolder(CSIDL_DESKTOP), ShellFolder(CSIDL_PROGRAMS), names, installedExecutable);
  for (const std::wstring& shortcut : targets.shortcuts) RecycleAndNotify(shortcut);
  DeleteInstalledExecutable(targets.installedExecutable);
  if (!targets.resFolder.empty()) RecycleAndNotify(targets.resFolder);
  for (const std::wstring& folder : targets.startMenuFolders) {
    if (IsFolderEmpty(folder)) RecycleAndNotify(folder);
  }
}

bool RecycleItem(const std::wstring& path) {
  // A list of one item, ended by a second NUL.
  std::wstring from = path;
  from.push_back(L'\0');
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO;
  return ::SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
}

void NotifyShellRemoved(const std::wstring& path) {
  ::SHChangeNotify(SHCNE_RMDIR | SHCNE_INTERRUPT, SHCNF_PATHW | SHCNF_FLUSH, path.c_str(), nullptr);
  const std::wstring parent = FolderOf(path);
  ::SHChangeNotify(SHCNE_UPDATEDIR | SHCNE_INTERRUPT, SHCNF_PATHW | SHCNF_FLUSH, parent.c_str(), nullptr);
}

bool RecycleAndNotify(const std::wstring& path) {
  if (!RecycleItem(path)) return false;
  NotifyShellRemoved(path);
  return true;
}

}  // namespace quarrow
