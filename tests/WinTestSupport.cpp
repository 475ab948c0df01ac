#include "tests/WinTestSupport.h"

#include <shellapi.h>
#include <tlhelp32.h>

namespace testing_support {

ScratchFolder::ScratchFolder() {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  static LONG counter = 0;
  for (;;) {
    m_path = std::wstring(temp) + L"qtest-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
             std::to_wstring(::InterlockedIncrement(&counter));
    if (::CreateDirectoryW(m_path.c_str(), nullptr)) break;
  }
}

ScratchFolder::~ScratchFolder() { RemoveTree(m_path); }

void RemoveTree(const std::wstring& path) {
  DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(path.c_str());
    return;
  }
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
  }
  ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::RemoveDirectoryW(path.c_str());
}

std::wstring BuildFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring full(path, n);
  return full.substr(0, full.find_last_of(L"\\/"));
}

std::wstring LauncherPath() { return BuildFolder() + L"\\QuarrowLauncher.exe"; }

std::vector<unsigned char> ReadFileBytes(const std::wstring& path) {
  std::vector<unsigned char> bytes;
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  LARGE_INTEGER size{};
  ::GetFileSizeEx(file, &size);
  bytes.resize(static_cast<size_t>(size.QuadPart));
  DWORD got = 0;
  if (!bytes.empty()) ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  bytes.resize(got);
  ::CloseHandle(file);
  return bytes;
}

bool WriteFileBytes(const std::wstring& path, const void* data, size_t size) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = size == 0 || ::WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr);
  ::CloseHandle(file);
  return ok && written == size;
}

bool WriteFileText(const std::wstring& path, const std::string& bytes) {
  return WriteFileBytes(path, bytes.data(), bytes.size());
}

std::vector<std::wstring> ReadUtf16Lines(const std::wstring& path) {
  std::vector<unsigned char> bytes = ReadFileBytes(path);
  std::wstring text(bytes.size() / 2, L'\0');
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<wchar_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  std::vector<std::wstring> lines;
  size_t start = 0;
  for (size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));  // an unterminated tail shows up too
  return lines;
}

HANDLE StartProcess(const std::wstring& application, const std::wstring& commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  std::wstring line = commandLine;
  if (!::CreateProcessW(application.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
    return nullptr;
  }
  ::CloseHandle(process.hThread);
  return process.hProcess;
}

DWORD WaitForExit(HANDLE process, DWORD timeoutMs) {
  if (::WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  ::GetExitCodeProcess(process, &code);
  return code;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  DWORD start = ::GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (::GetTickCount() - start >= timeoutMs) return condition();
    // Keep this thread's windows responsive while waiting.
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::Sleep(20);
  }
}

std::vector<DWORD> ProcessesRunning(const std::wstring& exePath) {
  std::vector<DWORD> ids;
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return ids;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry)) {
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
    if (!process) continue;
    wchar_t image[MAX_PATH * 2];
    DWORD size = MAX_PATH * 2;
    if (::QueryFullProcessImageNameW(process, 0, image, &size) && _wcsicmp(image, exePath.c_str()) == 0) {
      DWORD code = 0;
      if (::GetExitCodeProcess(process, &code) && code == STILL_ACTIVE) ids.push_back(entry.th32ProcessID);
    }
    ::CloseHandle(process);
  }
  ::CloseHandle(snapshot);
  return ids;
}

void KillProcesses(const std::wstring& exePath) {
  for (DWORD id : ProcessesRunning(exePath)) {
    HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    if (!process) continue;
    ::TerminateProcess(process, 1);
    ::WaitForSingleObject(process, 5000);
    ::CloseHandle(process);
  }
}

namespace {
struct EnumState {
  DWORD processId;
  std::vector<HWND>* windows;
};
BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
  auto* state = reinterpret_cast<EnumState*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(hwnd, &owner);
  if (owner == state->processId) state->windows->push_back(hwnd);
  return TRUE;
}
}  // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
  std::vector<HWND> windows;
  EnumState state{processId, &windows};
  ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&state));
  return windows;
}

std::string Narrow(const std::wstring& text) {
  int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
  return out;
}

}  // namespace testing_support

#include <shlobj.h>

#include "app/FileUtils.h"
#include "framework/ResourceString.h"
#include "login/FirstRunInstall.h"
#include "res/resource.h"

namespace testing_support {

void ResetDataFolder() {
  wchar_t appData[MAX_PATH] = {};
  ::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
  RemoveTree(std::wstring(appData) + L"\\orbix_v1");
}

void CreateDataResFolder() {
  std::wstring data = quarrow::GetDataFolder();
  std::wstring level1 = data.substr(0, data.find_last_of(L'\\', data.size() - 2));
  ::CreateDirectoryW(level1.c_str(), nullptr);
  ::CreateDirectoryW(data.c_str(), nullptr);
  ::CreateDirectoryW((data + L"res").c_str(), nullptr);
}

void RemoveLauncherInstallation() {
  ResetDataFolder();
  wchar_t folder[MAX_PATH] = {};
  ::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
  const std::wstring cache = std::wstring(folder) + L"\\cache";
  ::DeleteFileW((cache + fw::LoadResString(IDS_DOWNLOAD_TEMP_NAME)).c_str());
  ::DeleteFileW((std::wstring(folder) + fw::LoadResString(IDS_UNINSTALL_TEMP_EXE)).c_str());
  ::RemoveDirectoryW(cache.c_str());  // only when empty: the folder is not the launcher's alone
  ::SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, folder);
  ::DeleteFileW((std::wstring(folder) + L"\\" + fw::LoadResString(IDS_PUBLISHER_LINK) +
                 fw::LoadResString(IDS_PRODUCT_NAME) + L".lnk").c_str());
  ::SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, folder);
  RemoveTree(std::wstring(folder) + L"\\" + fw::LoadResString(IDS_PUBLISHER));
  HKEY list = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", 0,
                      KEY_ALL_ACCESS | KEY_WOW64_64KEY, &list) == ERROR_SUCCESS) {
    ::RegDeleteTreeW(list, quarrow::kUninstallKeyName);
    ::RegDeleteKeyExW(list, quarrow::kUninstallKeyName, KEY_WOW64_64KEY, 0);
    ::RegCloseKey(list);
  }
  ::RegDeleteTreeW(HKEY_CURRENT_USER,
                   (std::wstring(L"Software\\Tallowmere\\QuarrowLauncher\\") + quarrow::kUninstallKeyName).c_str());
}

std::vector<std::wstring> UpdateLogMessages() {
  std::vector<std::wstring> messages;
  for (const std::wstring& line : ReadUtf16Lines(quarrow::GetDataFolder() + L"res\\update.log")) {
    size_t tab = line.find(L"\tUpdateModule\t");
    messages.push_back(tab == std::wstring::npos ? L"<malformed> " + line : line.substr(tab + 14));
  }
  return messages;
}

}  // namespace testing_support
