#include "login/FirstRunInstall.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "app/FileUtils.h"
#include "framework/Application.h"
#include "login/Settings.h"
#include "tests/WinTestSupport.h"

namespace quarrow {
namespace {

using namespace testing_support;

const wchar_t kUninstallList[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const wchar_t kProfileSection[] = L"Software\\Tallowmere\\QuarrowLauncher\\Brellin《Quarrow》加强版";
const wchar_t kDesktopLink[] = L"Brellin《Quarrow》加强版.lnk";

std::wstring Folder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  ::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

struct Shortcut {
  bool loaded = false;
  std::wstring target, arguments, iconPath;
  int iconIndex = -1;
  int showCommand = 0;
};

Shortcut ReadShortcut(const std::wstring& path) {
  Shortcut result;
  IShellLinkW* link = nullptr;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link)))) {
    return result;
  }
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    if (SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
      wchar_t text[MAX_PATH * 2] = {};
      result.loaded = true;
      link->GetPath(text, MAX_PATH * 2, nullptr, SLGP_RAWPATH);
      result.target = text;
      text[0] = 0;
      link->GetArguments(text, MAX_PATH * 2);
      result.arguments = text;
      text[0] = 0;
      link->GetIconLocation(text, MAX_PATH * 2, &result.iconIndex);
      result.iconPath = text;
      link->GetShowCmd(&result.showCommand);
    }
    file->Release();
  }
  link->Release();
  return result;
}

struct RegValue {
  bool found = false;
  DWORD type = 0;
  DWORD bytes = 0;
  std::wstring text;  // up to its first null
};

RegValue ReadValue(HKEY root, const std::wstring& key, const wchar_t* name) {
  RegValue value;
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &opened) != ERROR_SUCCESS) return value;
  wchar_t data[1024] = {};
  value.bytes = sizeof(data) - sizeof(wchar_t);
  value.found = ::RegQueryValueExW(opened, name, nullptr, &value.type, reinterpret_cast<BYTE*>(data),
                                   &value.bytes) == ERROR_SUCCESS;
  value.text = data;
  ::RegCloseKey(opened);
  return value;
}

std::wstring MachineEntry() { return std::wstring(kUninstallList) + L"\\Brellin《Quarrow》加强版"; }

void SetMachineValue(const wchar_t* name, const std::wstring& text) {
  HKEY key = nullptr;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, MachineEntry().c_str(), 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &key),
            ERROR_SUCCESS);
  ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(key);
}

// Everything an installation leaves on the account, removed before and after
// each test, plus the renamed shortcut one test leaves on the desktop.
void RemoveInstallation() {
  RemoveLauncherInstallation();
  ::DeleteFileW((Folder(CSIDL_DESKTOPDIRECTORY) + L"\\mine.lnk").c_str());
}

class FirstRunInstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveInstallation();
    m_app.SetRegistryKey(L"Tallowmere");
  }
  void TearDown() override { RemoveInstallation(); }

  static std::wstring Data() {
    std::wstring data = GetDataFolder();
    return data.substr(0, data.size() - 1);
  }
  static std::wstring Installed(const wchar_t* name = L"QuarrowLauncher.exe") { return Data() + L"\\" + name; }
  static std::wstring DesktopLink() { return Folder(CSIDL_DESKTOPDIRECTORY) + L"\\" + kDesktopLink; }
  static std::wstring StartMenu() { return Folder(CSIDL_PROGRAMS) + L"\\Brellin\\《Quarrow》加强版"; }
  static std::wstring StartLink() { return StartMenu() + L"\\《Quarrow》加强版.lnk"; }
  static std::wstring UninstallLink() { return StartMenu() + L"\\卸载-《Quarrow》加强版.lnk"; }
  // A program copied to <scratch>\<name>, to run "from elsewhere".
  std::wstring Elsewhere(const std::wstring& program, const wchar_t* name) {
    std::wstring path = m_scratch / name;
    ::CopyFileW((BuildFolder() + L"\\" + program).c_str(), path.c_str(), FALSE);
    return path;
  }

  fw::Application m_app{L"QuarrowLauncher"};
  ScratchFolder m_scratch;
};

TEST_F(FirstRunInstallTest, CleanAccountGetsEverything) {
  FirstRunInstall(LauncherPath());

  EXPECT_EQ(ReadFileBytes(Installed()), ReadFileBytes(LauncherPath()));
  EXPECT_EQ(ReadSetting(L"Setting", L"start", L""), L"1001");
  EXPECT_EQ(ReadSetting(L"Start", L"firststart", L""), L"0");
  EXPECT_EQ(ReadFileBytes(Data() + L"\\res\\uninstall.ico").size(), 1150u);

  struct Link {
    std::wstring path;
    const wchar_t* arguments;
    std::wstring icon;
  } links[] = {{DesktopLink(), L"1", L""},
               {StartLink(), L"1", L""},
               {UninstallLink(), L"-u", Data() + L"\\res\\uninstall.ico"}};
  for (const Link& l : links) {
    Shortcut s = ReadShortcut(l.path);
    ASSERT_TRUE(s.loaded) << Narrow(l.path);
    EXPECT_EQ(s.target, Installed()) << Narrow(l.path);
    EXPECT_EQ(s.arguments, l.arguments) << Narrow(l.path);
    EXPECT_EQ(s.iconPath, l.icon) << Narrow(l.path);
    if (!l.icon.empty()) EXPECT_EQ(s.iconIndex, 0);
    EXPECT_EQ(s.showCommand, SW_SHOWNORMAL) << Narrow(l.path);
  }

  struct Value {
    const wchar_t* name;
    std::wstring text;
  } values[] = {{L"Path", Installed()},
                {L"DisplayName", L"《Quarrow》加强版"},
                {L"Publisher", L"Brellin"},
                {L"UninstallString", Installed() + L" -u"}};
  for (const Value& v : values) {
    for (const std::wstring& key : {MachineEntry(), std::wstring(kProfileSection)}) {
      HKEY root = key == MachineEntry() ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
      RegValue read = ReadValue(root, key, v.name);
      ASSERT_TRUE(read.found) << Narrow(key) << " " << Narrow(v.name);
      EXPECT_EQ(read.type, static_cast<DWORD>(REG_SZ));
      EXPECT_EQ(read.text, v.text);
      EXPECT_EQ(read.bytes, (v.text.size() + 1) * sizeof(wchar_t)) << "stored with its terminating null";
    }
  }
}

TEST_F(FirstRunInstallTest, StartFromTheInstalledCopyRewritesOnlyTheStartMenu) {
  FirstRunInstall(LauncherPath());
  // The player's desktop shortcut and the entry as they are now must survive;
  // the start menu is the launcher's and is rewritten.
  ASSERT_TRUE(CreateShortcut(L"mine", Installed(), Folder(CSIDL_DESKTOPDIRECTORY), kDesktopLink, false));
  ASSERT_TRUE(CreateShortcut(L"stale", Installed(), StartMenu(), L"《Quarrow》加强版.lnk", false));
  ::DeleteFileW(UninstallLink().c_str());
  SetMachineValue(L"DisplayName", L"changed by hand");
  WriteSetting(L"Start", L"firststart", L"1");

  FirstRunInstall(Installed());
  EXPECT_EQ(ReadShortcut(DesktopLink()).arguments, L"mine");
  EXPECT_EQ(ReadShortcut(StartLink()).arguments, L"1");
  EXPECT_EQ(ReadShortcut(UninstallLink()).arguments, L"-u");
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, MachineEntry(), L"DisplayName").text, L"changed by hand");
  EXPECT_EQ(ReadSetting(L"Start", L"firststart", L""), L"1") << "no copy, so firststart is not touched";
}

TEST_F(FirstRunInstallTest, DesktopShortcutDeletedComesBackRenamedOneStays) {
  FirstRunInstall(LauncherPath());
  const std::wstring desktop = Folder(CSIDL_DESKTOPDIRECTORY);
  ASSERT_TRUE(::MoveFileW(DesktopLink().c_str(), (desktop + L"\\mine.lnk").c_str()));
  FirstRunInstall(Installed());
  EXPECT_TRUE(ReadShortcut(DesktopLink()).loaded);
  EXPECT_EQ(ReadShortcut(desktop + L"\\mine.lnk").target, Installed());
}

TEST_F(FirstRunInstallTest, NewerCopyElsewhereReplacesTheInstalledOne) {
  FirstRunInstall(LauncherPath());
  WriteSetting(L"Start", L"firststart", L"1");
  // Version text "2.5.0.12.5.0.1-cn": 25012501, far above 1.0.1.0's 1010.
  const std::wstring newer = Elsewhere(L"fixture_two_translations.exe", L"QuarrowLauncher.exe");

  FirstRunInstall(newer);
  EXPECT_EQ(ReadFileBytes(Installed()), ReadFileBytes(newer));
  EXPECT_EQ(ReadSetting(L"Start", L"firststart", L""), L"0");
  EXPECT_EQ(ReadShortcut(StartLink()).target, Installed());
}

TEST_F(FirstRunInstallTest, OlderCopyElsewhereIsNotInstalled) {
  FirstRunInstall(LauncherPath());
  WriteSetting(L"Start", L"firststart", L"1");
  const std::wstring older = Elsewhere(L"fixture_version_1009.exe", L"QuarrowLauncher.exe");

  FirstRunInstall(older);
  EXPECT_EQ(ReadFileBytes(Installed()), ReadFileBytes(LauncherPath()));
  EXPECT_EQ(ReadSetting(L"Start", L"firststart", L""), L"1");
  EXPECT_EQ(ReadShortcut(StartLink()).target, Installed());
  EXPECT_EQ(ReadShortcut(DesktopLink()).target, Installed());
}

TEST_F(FirstRunInstallTest, CopyUnderAnotherNameMovesThePerUserEntryOnly) {
  FirstRunInstall(LauncherPath());
  const std::wstring download = Elsewhere(L"QuarrowLauncher.exe", L"setup(1).exe");

  FirstRunInstall(download);
  const std::wstring moved = Installed(L"setup(1).exe");
  EXPECT_EQ(ReadFileBytes(moved), ReadFileBytes(download));
  EXPECT_EQ(ReadShortcut(DesktopLink()).target, Installed());
  EXPECT_EQ(ReadShortcut(StartLink()).target, moved);
  EXPECT_EQ(ReadShortcut(UninstallLink()).target, moved);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kProfileSection, L"Path").text, moved);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kProfileSection, L"UninstallString").text, moved + L" -u");
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, MachineEntry(), L"Path").text, Installed());
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, MachineEntry(), L"UninstallString").text, Installed() + L" -u");
}

TEST_F(FirstRunInstallTest, UninstalledThenStartedAgainInstallsAnew) {
  FirstRunInstall(LauncherPath());
  RemoveInstallation();
  FirstRunInstall(LauncherPath());
  EXPECT_TRUE(FileExists(Installed()));
  EXPECT_TRUE(ReadShortcut(DesktopLink()).loaded);
  EXPECT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, MachineEntry(), L"Path").found);
  EXPECT_EQ(ReadSetting(L"Setting", L"start", L""), L"1001");
}

}  // namespace
}  // namespace quarrow
