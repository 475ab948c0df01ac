#include "app/Uninstall.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <map>

#include "app/FileUtils.h"
#include "framework/Application.h"
#include "login/FirstRunInstall.h"
#include "res/resource.h"
#include "skin/CustomMessageBox.h"
#include "tests/WinTestSupport.h"

namespace quarrow {
namespace {

using namespace testing_support;

const wchar_t kMachineEntry[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Brellin《Quarrow》加强版";
const wchar_t kProfileSection[] = L"Software\\Tallowmere\\QuarrowLauncher\\Brellin《Quarrow》加强版";

std::wstring Folder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  ::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

bool KeyExists(HKEY root, const wchar_t* key) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(root, key, 0, KEY_READ | KEY_WOW64_64KEY, &opened) != ERROR_SUCCESS) return false;
  ::RegCloseKey(opened);
  return true;
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Wine's recycle bin: the freedesktop trash under the scratch HOME. Each item
// is recorded in info\<name>.trashinfo with its original Unix path.
class RecycleBin {
 public:
  // Wine gives up on the trash for the whole process, deleting for good
  // instead, when the folder holding it is missing: make sure it exists.
  RecycleBin() {
    std::wstring data;
    if (const wchar_t* xdg = _wgetenv(L"XDG_DATA_HOME"); xdg && xdg[0] == L'/') {
      data = std::wstring(L"\\\\?\\unix") + xdg;
    } else if (const wchar_t* home = _wgetenv(L"WINEHOMEDIR")) {
      data = std::wstring(home) + L"/.local/share";  // "\??\unix/..."
      data[1] = L'\\';
    }
    for (wchar_t& c : data) c = c == L'/' ? L'\\' : c;
    if (data.empty()) return;
    for (size_t at = data.find(L'\\', 9); at != std::wstring::npos; at = data.find(L'\\', at + 1)) {
      ::CreateDirectoryW(data.substr(0, at).c_str(), nullptr);
    }
    ::CreateDirectoryW(data.c_str(), nullptr);
    m_trash = data + L"\\Trash";
    ::CreateDirectoryW(m_trash.c_str(), nullptr);
    ::CreateDirectoryW((m_trash + L"\\files").c_str(), nullptr);
    ::CreateDirectoryW((m_trash + L"\\info").c_str(), nullptr);
  }
  // Removes from the bin what the test put there.
  ~RecycleBin() {
    for (const auto& watched : m_watched) {
      for (const std::wstring& name : ItemsFrom(watched.second.unixPath)) {
        RemoveTree(m_trash + L"\\files\\" + name);
        ::DeleteFileW((m_trash + L"\\info\\" + name + L".trashinfo").c_str());
      }
    }
  }
  bool Available() const { return FolderExists(m_trash + L"\\info"); }

  // Remembers where path is on the Unix side while it still exists, and how
  // many items from there the bin holds already.
  void Watch(const std::wstring& path) {
    Watched& watched = m_watched[path];
    watched.unixPath = UnixName(path);
    watched.before = ItemsFrom(watched.unixPath).size();
  }
  // How often a watched path went to the bin since it was watched.
  size_t TimesRecycled(const std::wstring& path) const {
    auto found = m_watched.find(path);
    if (found == m_watched.end()) {
      ADD_FAILURE() << "not watched: " << Narrow(path);
      return 0;
    }
    return ItemsFrom(found->second.unixPath).size() - found->second.before;
  }

 private:
  static std::string UnixName(const std::wstring& path) {
    using ToUnix = char*(CDECL*)(const wchar_t*);
    auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    char* name = toUnix ? toUnix(path.c_str()) : nullptr;
    std::string result = name ? name : "";
    if (name) ::HeapFree(::GetProcessHeap(), 0, name);
    return result;
  }

  static std::string PercentDecoded(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '%' && i + 2 < text.size()) {
        out.push_back(static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16)));
        i += 2;
      } else {
        out.push_back(text[i]);
      }
    }
    return out;
  }

  // Names in the bin of the items that came from unixPath.
  std::vector<std::wstring> ItemsFrom(const std::string& unixPath) const {
    std::vector<std::wstring> names;
    if (unixPath.empty()) return names;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((m_trash + L"\\info\\*.trashinfo").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      std::wstring info = found.cFileName;
      std::vector<unsigned char> bytes = ReadFileBytes(m_trash + L"\\info\\" + info);
      std::string text(bytes.begin(), bytes.end());
      size_t at = text.find("\nPath=");
      if (at == std::string::npos) continue;
      size_t end = text.find('\n', at + 1);
      if (PercentDecoded(text.substr(at + 6, end - at - 6)) == unixPath) {
        names.push_back(info.substr(0, info.size() - wcslen(L".trashinfo")));
      }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
  }

  struct Watched {
    std::string unixPath;
    size_t before = 0;
  };
  std::wstring m_trash;
  std::map<std::wstring, Watched> m_watched;
};

// The visible dialog box among a process's top-level windows.
HWND VisibleDialogOf(DWORD processId) {
  for (HWND w : TopLevelWindowsOf(processId)) {
    wchar_t cls[16] = {};
    ::GetClassNameW(w, cls, 16);
    if (std::wstring(cls) == L"#32770" && ::IsWindowVisible(w)) return w;
  }
  return nullptr;
}

// Answers the confirmation box that the code under test runs modally on this
// thread: a thread timer fires inside the box's own message loop, reads what
// the box says and presses a button.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(int button) : m_button(button) {
    s_current = this;
    m_timer = ::SetTimer(nullptr, 0, 50, &BoxAnswerer::OnTimer);
  }
  ~BoxAnswerer() {
    ::KillTimer(nullptr, m_timer);
    s_current = nullptr;
  }
  bool shown = false;
  std::wstring title, text;

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    BoxAnswerer* self = s_current;
    HWND box = VisibleDialogOf(::GetCurrentProcessId());
    if (!self || self->shown || !box) return;
    self->shown = true;
    if (auto* shownBox = dynamic_cast<CCustomMessageBox*>(fw::Window::FromHandle(box))) {
      self->title = shownBox->Title();
      self->text = shownBox->Text();
    }
    ::PostMessageW(::GetDlgItem(box, self->m_button), BM_CLICK, 0, 0);
  }

  static BoxAnswerer* s_current;
  int m_button;
  UINT_PTR m_timer = 0;
};
BoxAnswerer* BoxAnswerer::s_current = nullptr;

// Refuses every window this thread tries to create while it lives.
class WindowRefuser {
 public:
  WindowRefuser() { m_hook = ::SetWindowsHookExW(WH_CBT, &Refuse, nullptr, ::GetCurrentThreadId()); }
  ~WindowRefuser() { ::UnhookWindowsHookEx(m_hook); }

 private:
  static LRESULT CALLBACK Refuse(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) return 1;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
  }
  HHOOK m_hook = nullptr;
};

// A clean account before and after each test; what a test sends to the
// recycle bin is taken out of it again.
class UninstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveEverything();
    m_app.SetRegistryKey(L"Tallowmere");
    ASSERT_TRUE(m_bin.Available()) << "no recycle bin under Wine's home folder";
  }
  void TearDown() override { RemoveEverything(); }

  static void RemoveEverything() {
    ::DeleteFileW((Temporary() + L".cmdline").c_str());
    RemoveLauncherInstallation();
  }

  static std::wstring Temporary() { return Folder(CSIDL_APPDATA) + L"\\cache\\qvtstmpu.exe"; }
  static std::wstring Data() {
    std::wstring data = GetDataFolder();
    return data.substr(0, data.size() - 1);
  }
  static std::wstring Installed() { return Data() + L"\\QuarrowLauncher.exe"; }
  static std::wstring DesktopLink() { return Folder(CSIDL_DESKTOPDIRECTORY) + L"\\Brellin《Quarrow》加强版.lnk"; }
  static std::wstring PublisherFolder() { return Folder(CSIDL_PROGRAMS) + L"\\Brellin"; }
  static std::wstring StartMenu() { return PublisherFolder() + L"\\《Quarrow》加强版"; }
  static std::vector<std::wstring> Shortcuts() {
    return {DesktopLink(), StartMenu() + L"\\《Quarrow》加强版.lnk", StartMenu() + L"\\卸载-《Quarrow》加强版.lnk"};
  }

  void InstallAndWatch() {
    FirstRunInstall(LauncherPath());
    ASSERT_TRUE(FileExists(Installed()));
    ASSERT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kMachineEntry));
    for (const std::wstring& path : Shortcuts()) ASSERT_TRUE(FileExists(path)) << Narrow(path);
    WatchInstallation();
  }
  // Everything an installation made, watched for the recycle bin.
  void WatchInstallation() {
    for (const std::wstring& path : Shortcuts()) m_bin.Watch(path);
    for (const std::wstring& path : {Installed(), Data() + L"\\res", StartMenu(), PublisherFolder()}) {
      m_bin.Watch(path);
    }
  }

  fw::Application m_app{L"QuarrowLauncher"};  // FirstRunInstall keeps its per-user copy through it
  ScratchFolder m_scratch;
  RecycleBin m_bin;
};

TEST_F(UninstallTest, CleanupRemovesTheInstallationAndKeepsAnotherProductsFolder) {
  for (bool otherProduct : {false, true}) {
    SCOPED_TRACE(otherProduct ? "publisher folder shared" : "publisher folder ours alone");
    InstallAndWatch();
    const std::wstring other = PublisherFolder() + L"\\Other Game";
    if (otherProduct) {
      ASSERT_TRUE(::CreateDirectoryW(other.c_str(), nullptr));
      ASSERT_TRUE(CreateShortcut(L"", LauncherPath(), other, L"Other Game.lnk", false));
    }

    RunUninstallCleanup(Installed());
    for (const std::wstring& path : Shortcuts()) {
      EXPECT_FALSE(Exists(path)) << Narrow(path);
      EXPECT_EQ(m_bin.TimesRecycled(path), 1u) << Narrow(path);
    }
    EXPECT_FALSE(Exists(Installed()));
    EXPECT_EQ(m_bin.TimesRecycled(Installed()), 0u) << "the executable is deleted for good";
    EXPECT_FALSE(Exists(Data() + L"\\res"));
    EXPECT_EQ(m_bin.TimesRecycled(Data() + L"\\res"), 1u);
    EXPECT_FALSE(Exists(StartMenu()));
    EXPECT_EQ(m_bin.TimesRecycled(StartMenu()), 1u);
    if (otherProduct) {
      EXPECT_TRUE(FileExists(other + L"\\Other Game.lnk"));
      EXPECT_EQ(m_bin.TimesRecycled(PublisherFolder()), 0u);
    } else {
      EXPECT_FALSE(Exists(PublisherFolder()));
      EXPECT_EQ(m_bin.TimesRecycled(PublisherFolder()), 1u);
    }
    EXPECT_TRUE(FolderExists(Data())) << "the data folder itself stays";
    RemoveEverything();
  }
}

TEST_F(UninstallTest, CleanupGivenAPathThatDoesNotExistStillRemovesShortcutsAndTheResFolderBesideIt) {
  InstallAndWatch();
  const std::wstring gone = m_scratch / L"gone";
  ASSERT_TRUE(::CreateDirectoryW(gone.c_str(), nullptr));
  ASSERT_TRUE(::CreateDirectoryW((gone + L"\\res").c_str(), nullptr));
  ASSERT_TRUE(WriteFileText(gone + L"\\res\\systemset.ini", "[Setting]\r\n"));
  m_bin.Watch(gone + L"\\res");

  RunUninstallCleanup(gone + L"\\QuarrowLauncher.exe");
  for (const std::wstring& path : Shortcuts()) EXPECT_EQ(m_bin.TimesRecycled(path), 1u) << Narrow(path);
  EXPECT_EQ(m_bin.TimesRecycled(gone + L"\\res"), 1u);
  EXPECT_FALSE(Exists(gone + L"\\res"));
  // The real installation was not named, so it stays.
  EXPECT_TRUE(FileExists(Installed()));
  EXPECT_TRUE(FolderExists(Data() + L"\\res"));
}

// The installed executable as the confirm stage leaves it: still running for
// a moment. A sleeper copied to the installed name stands in for it.
class RunningInstalledTest : public UninstallTest {
 protected:
  HANDLE StartInstalledFor(DWORD ms) {
    ::CopyFileW((BuildFolder() + L"\\fixture_sleeper.exe").c_str(), m_installed.c_str(), FALSE);
    ::CreateDirectoryW((m_scratch / L"res").c_str(), nullptr);
    m_bin.Watch(m_scratch / L"res");
    HANDLE process = StartProcess(m_installed, L"\"" + m_installed + L"\" " + std::to_wstring(ms));
    // Only a running image is locked.
    EXPECT_TRUE(WaitUntil([&] { return !ProcessesRunning(m_installed).empty(); }, 10000));
    return process;
  }
  void TearDown() override {
    KillProcesses(m_installed);
    UninstallTest::TearDown();
  }
  std::wstring m_installed = m_scratch / L"QuarrowLauncher.exe";
};

TEST_F(RunningInstalledTest, CleanupWaitsForTheConfirmStageToEndBeforeDeletingTheExecutable) {
  HANDLE process = StartInstalledFor(1500);
  ASSERT_NE(nullptr, process);
  RunUninstallCleanup(m_installed);
  EXPECT_FALSE(Exists(m_installed));
  EXPECT_EQ(0u, WaitForExit(process, 0)) << "it could only go once the process had ended";
  ::CloseHandle(process);
}

TEST_F(RunningInstalledTest, AnExecutableRunningPastTheWaitStaysAndTheCleanupGoesOn) {
  HANDLE process = StartInstalledFor(120000);
  ASSERT_NE(nullptr, process);
  RunUninstallCleanup(m_installed);
  EXPECT_TRUE(FileExists(m_installed));
  EXPECT_EQ(STILL_ACTIVE, WaitForExit(process, 0));
  EXPECT_EQ(m_bin.TimesRecycled(m_scratch / L"res"), 1u);
  ::CloseHandle(process);
}

TEST_F(UninstallTest, CancellingTheConfirmationLeavesEverything) {
  InstallAndWatch();
  for (int button : {IDCANCEL, IDC_MSGBOX_CLOSE}) {
    BoxAnswerer answerer(button);
    RunUninstallConfirm(Installed());
    EXPECT_TRUE(answerer.shown);
    EXPECT_EQ(answerer.title, L"卸载");
    EXPECT_EQ(answerer.text, L"您是否确认卸载《Quarrow》加强版？");
  }
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kMachineEntry));
  EXPECT_FALSE(Exists(Temporary()));
  for (const std::wstring& path : Shortcuts()) EXPECT_TRUE(FileExists(path)) << Narrow(path);
  EXPECT_TRUE(FileExists(Installed()));
}

TEST_F(UninstallTest, ABoxThatCannotBeShownIsNoConfirmation) {
  InstallAndWatch();
  {
    WindowRefuser refuser;
    RunUninstallConfirm(Installed());
  }
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kMachineEntry));
  EXPECT_FALSE(Exists(Temporary()));
}

TEST_F(UninstallTest, ConfirmingHandsOverToATemporaryCopyAndDeletesTheEntry) {
  // The "installed" launcher records the command line its temporary copy gets.
  const std::wstring self = m_scratch / L"Quarrow Launcher.exe";  // a space, unquoted on the line
  ASSERT_TRUE(::CopyFileW((BuildFolder() + L"\\fixture_record_command_line.exe").c_str(), self.c_str(), FALSE));
  const std::wstring cache = Folder(CSIDL_APPDATA) + L"\\cache";
  enum class Before { NoCacheFolder, OlderCopyThere };
  for (Before before : {Before::NoCacheFolder, Before::OlderCopyThere}) {
    SCOPED_TRACE(before == Before::NoCacheFolder ? "no cache folder" : "older copy there");
    FirstRunInstall(LauncherPath());
    if (before == Before::NoCacheFolder) {
      ::RemoveDirectoryW(cache.c_str());
      ASSERT_FALSE(Exists(cache)) << "the cache folder holds files of someone else";
    } else {
      ::CreateDirectoryW(cache.c_str(), nullptr);
      ASSERT_TRUE(WriteFileText(Temporary(), "an older uninstaller"));
    }

    BoxAnswerer answerer(IDOK);
    RunUninstallConfirm(self);
    EXPECT_TRUE(answerer.shown);
    EXPECT_EQ(ReadFileBytes(Temporary()), ReadFileBytes(self));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kMachineEntry));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kProfileSection)) << "the per-user copy is not the uninstaller's";
    // The copy runs, from the cache folder, with "-u <self>" and no program name.
    const std::wstring recorded = Temporary() + L".cmdline";
    EXPECT_TRUE(WaitUntil([&] { return FileExists(recorded) && ProcessesRunning(Temporary()).empty(); }, 15000));
    std::vector<unsigned char> bytes = ReadFileBytes(recorded);
    std::wstring line(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    EXPECT_EQ(line, L"-u " + self);
    RemoveEverything();
  }
}

// The whole way, as a player goes it: a launcher start installs, the
// uninstall entry's command asks, the temporary copy removes.
TEST_F(UninstallTest, UninstallEntryRemovesWhatALauncherStartInstalled) {
  HANDLE launcher = StartProcess(LauncherPath(), L"\"" + LauncherPath() + L"\"");
  ASSERT_NE(nullptr, launcher);
  const std::vector<unsigned char> launcherBytes = ReadFileBytes(LauncherPath());
  EXPECT_TRUE(WaitUntil(
      [&] {
        return KeyExists(HKEY_LOCAL_MACHINE, kMachineEntry) && ReadFileBytes(Installed()) == launcherBytes &&
               FileExists(Shortcuts().back());
      },
      30000));
  KillProcesses(LauncherPath());
  ::CloseHandle(launcher);
  WatchInstallation();

  // Started as the system starts the entry's command line.
  HKEY entry = nullptr;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kMachineEntry, 0, KEY_READ | KEY_WOW64_64KEY, &entry), ERROR_SUCCESS);
  wchar_t command[1024] = {};
  DWORD size = sizeof(command) - sizeof(wchar_t);
  ::RegQueryValueExW(entry, L"UninstallString", nullptr, nullptr, reinterpret_cast<BYTE*>(command), &size);
  ::RegCloseKey(entry);
  ASSERT_EQ(std::wstring(command), Installed() + L" -u");
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION confirm{};
  ASSERT_TRUE(::CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &confirm));
  ::CloseHandle(confirm.hThread);

  HWND box = nullptr;
  EXPECT_TRUE(WaitUntil([&] { return (box = VisibleDialogOf(confirm.dwProcessId)) != nullptr; }, 15000));
  ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  EXPECT_NE(STILL_ACTIVE, WaitForExit(confirm.hProcess, 15000));
  ::CloseHandle(confirm.hProcess);
  EXPECT_TRUE(WaitUntil([&] { return ProcessesRunning(Temporary()).empty(); }, 30000));

  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kMachineEntry));
  for (const std::wstring& path : Shortcuts()) {
    EXPECT_FALSE(Exists(path)) << Narrow(path);
    EXPECT_EQ(m_bin.TimesRecycled(path), 1u) << Narrow(path);
  }
  EXPECT_EQ(m_bin.TimesRecycled(StartMenu()), 1u);
  EXPECT_EQ(m_bin.TimesRecycled(PublisherFolder()), 1u);
  EXPECT_FALSE(Exists(PublisherFolder()));
  EXPECT_FALSE(Exists(Installed())) << "the confirm stage had let go of it";
  EXPECT_EQ(m_bin.TimesRecycled(Installed()), 0u);
  EXPECT_FALSE(Exists(Data() + L"\\res"));
  EXPECT_EQ(m_bin.TimesRecycled(Data() + L"\\res"), 1u);
  // What stays: the temporary copy and the emptied data folder.
  EXPECT_EQ(ReadFileBytes(Temporary()), launcherBytes);
  EXPECT_TRUE(FolderExists(Data()));
  EXPECT_TRUE(IsFolderEmpty(Data()));
}

}  // namespace
}  // namespace quarrow
