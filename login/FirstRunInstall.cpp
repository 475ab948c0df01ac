#include "login/FirstRunInstall.h"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "app/FileUtils.h"
#include "app/NumberText.h"
#include "framework/Application.h"
#include "framework/ResourceString.h"
#include "login/DefaultResources.h"
#include "login/InstallRules.h"
#include "login/Settings.h"
#include "res/resource.h"

namespace quarrow {

const wchar_t kUninstallKeyName[] = L"Brellin《Quarrow》加强版";

namespace {

constexpr wchar_t kUninstallList[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
// The 64-bit view on 64-bit Windows, although the shipped launcher is 32-bit.
constexpr REGSAM kUninstallAccess = KEY_ALL_ACCESS | KEY_WOW64_64KEY;

// Closes a registry key on every way out.
struct RegKey {
  HKEY h = nullptr;
  ~RegKey() {
    if (h) ::RegCloseKey(h);
  }
};

// Releases a COM interface on every way out.
template <class T>
struct ComPtr {
  T* p = nullptr;
  ~ComPtr() {
    if (p) p->Release();
  }
};

std::wstring SpecialFolder(int csidl) {
  LPITEMIDLIST items = nullptr;
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, csidl, &items)) || !items) return L"";
  wchar_t path[MAX_PATH] = {};
  const bool ok = ::SHGetPathFromIDListW(items, path);
  ::CoTaskMemFree(items);
  return ok ? path : L"";
}

void CreateFolderIfMissing(const std::wstring& path) {
  if (!FolderExists(path)) ::CreateDirectoryW(path.c_str(), nullptr);
}

struct EntryValues {
  std::wstring path, displayName, publisher, uninstallString;
};

void SetStringValue(HKEY key, const wchar_t* name, const std::wstring& data) {
  // REG_SZ with its terminating null counted in the length.
  ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

// The machine-wide entry is written once, when its key is new: an entry left
// by an earlier installation keeps its values.
void RegisterMachineWideEntry(const EntryValues& values) {
  RegKey list, entry;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallList, 0, kUninstallAccess, &list.h) != ERROR_SUCCESS) return;
  DWORD disposition = 0;
  if (::RegCreateKeyExW(list.h, kUninstallKeyName, 0, nullptr, REG_OPTION_NON_VOLATILE, kUninstallAccess, nullptr,
                        &entry.h, &disposition) != ERROR_SUCCESS) {
    return;
  }
  if (disposition != REG_CREATED_NEW_KEY) return;
  SetStringValue(entry.h, L"Path", values.path);
  SetStringValue(entry.h, L"DisplayName", values.displayName);
  SetStringValue(entry.h, L"Publisher", values.publisher);
  SetStringValue(entry.h, L"UninstallString", values.uninstallString);
}

// The per-user copy follows the installed path wherever it moves.
void RegisterPerUserEntry(const EntryValues& values) {
  fw::Application* app = fw::Application::Instance();
  if (!app) return;
  if (app->GetProfileString(kUninstallKeyName, L"Path", L"no find!") == values.path) return;
  app->WriteProfileString(kUninstallKeyName, L"Path", values.path.c_str());
  app->WriteProfileString(kUninstallKeyName, L"DisplayName", values.displayName.c_str());
  app->WriteProfileString(kUninstallKeyName, L"Publisher", values.publisher.c_str());
  app->WriteProfileString(kUninstallKeyName, L"UninstallString", values.uninstallString.c_str());
}

}  // namespace

void FirstRunInstall() { FirstRunInstall(GetModulePath()); }

void FirstRunInstall(const std::wstring& runningExecutable) {
  wchar_t appData[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData))) return;
  std::wstring dataFolder = std::wstring(appData) + L"\\" + fw::LoadResString(IDS_INSTALL_FOLDER);
  CreateFolderIfMissing(dataFolder);
  dataFolder += L"\\" + fw::LoadResString(IDS_GAME_CODE);
  CreateFolderIfMissing(dataFolder);

  ExtractDefaultResources(dataFolder);

  const std::wstring installed = InstalledExecutablePath(dataFolder, runningExecutable);
  const std::wstring product = fw::LoadResString(IDS_PRODUCT_NAME);
  const std::wstring publisherLink = fw::LoadResString(IDS_PUBLISHER_LINK);
  const std::wstring publisher = fw::LoadResString(IDS_PUBLISHER);

  const std::wstring desktop = SpecialFolder(CSIDL_DESKTOP);
  if (!desktop.empty()) {
    const std::wstring name = fw::Format(L"%ls%ls.lnk", publisherLink.c_str(), product.c_str());
    // A desktop shortcut is the player's to keep, rename or delete: made only when missing.
    if (!FileExists(desktop + L"\\" + name)) CreateShortcut(L"1", installed, desktop, name, false);
  }

  const std::wstring programs = SpecialFolder(CSIDL_PROGRAMS);
  if (!programs.empty()) {
    CreateFolderIfMissing(fw::Format(L"%ls\\%ls", programs.c_str(), publisher.c_str()));
    const std::wstring startMenu = fw::Format(L"%ls\\%ls\\%ls", programs.c_str(), publisher.c_str(), product.c_str());
    CreateFolderIfMissing(startMenu);
    CreateShortcut(L"1", installed, startMenu, fw::Format(L"%ls.lnk", product.c_str()), false);
    const std::wstring uninstallName = fw::Format(L"%ls.lnk", fw::LoadResString(IDS_UNINSTALL_LINK).c_str());
    CreateShortcut(L"-u", installed, startMenu, uninstallName, true);
  }

  const int64_t installedVersion = VersionNumber(GetFileVersionString(installed));
  const int64_t runningVersion = VersionNumber(GetFileVersionString(runningExecutable));

  const EntryValues values{installed, product, publisherLink, UninstallCommand(installed)};
  RegisterMachineWideEntry(values);
  RegisterPerUserEntry(values);

  if (InstalledCopyNeedsReplacing(installedVersion, runningVersion)) {
    ::CopyFileW(runningExecutable.c_str(), installed.c_str(), FALSE);
    if (ParseLeadingInt32(ReadSetting(L"Start", L"firststart", L"0")) != 0) {
      WriteSetting(L"Start", L"firststart", L"0");
    }
  }
}

bool CreateShortcut(const std::wstring& arguments, const std::wstring& target, const std::wstring& folder,
                    const std::wstring& fileName, bool uninstallIcon) {
  ComPtr<IShellLinkW> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link.p)))) {
    return false;
  }
  ComPtr<IPersistFile> file;
  if (FAILED(link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p)))) return false;

  link.p->SetPath(target.c_str());
  link.p->SetArguments(arguments.c_str());
  link.p->SetDescription(L"");
  if (uninstallIcon) link.p->SetIconLocation(UninstallIconPath(target).c_str(), 0);
  link.p->SetShowCmd(SW_SHOWNORMAL);
  const std::wstring path = folder + L"\\" + fileName;
  return SUCCEEDED(file.p->Save(path.c_str(), TRUE));
}

}  // namespace quarrow
