#include "app/UninstallTargets.h"

#include <gtest/gtest.h>

namespace quarrow {
namespace {

const UninstallNames kShipped{L"《Quarrow》加强版", L"Brellin", L"Brellin", L"卸载-《Quarrow》加强版"};

TEST(UninstallTargets, NamesGoWhereTheInstallerPutThem) {
  // The two publisher strings differ here, so a swap between them shows.
  const UninstallNames names{L"《Quarrow》加强版", L"Brellin", L"布瑞林", L"卸载-《Quarrow》加强版"};
  UninstallTargets t = BuildUninstallTargets(L"C:\\Users\\p\\Desktop", L"C:\\Start Menu\\Programs", names,
                                             L"C:\\Users\\p\\AppData\\Roaming\\orbix_v1\\vor\\QuarrowLauncher.exe");
  const std::vector<std::wstring> shortcuts = {
      L"C:\\Users\\p\\Desktop\\布瑞林《Quarrow》加强版.lnk",
      L"C:\\Start Menu\\Programs\\Brellin\\《Quarrow》加强版\\卸载-《Quarrow》加强版.lnk",
      L"C:\\Start Menu\\Programs\\Brellin\\《Quarrow》加强版\\《Quarrow》加强版.lnk",
  };
  EXPECT_EQ(t.shortcuts, shortcuts);
  EXPECT_EQ(t.installedExecutable, L"C:\\Users\\p\\AppData\\Roaming\\orbix_v1\\vor\\QuarrowLauncher.exe");
  EXPECT_EQ(t.resFolder, L"C:\\Users\\p\\AppData\\Roaming\\orbix_v1\\vor\\res");
  const std::vector<std::wstring> folders = {L"C:\\Start Menu\\Programs\\Brellin\\《Quarrow》加强版",
                                             L"C:\\Start Menu\\Programs\\Brellin"};
  EXPECT_EQ(t.startMenuFolders, folders);
}

TEST(UninstallTargets, ResFolderIsBesideWhateverPathTheCleanupWasGiven) {
  struct Case {
    const wchar_t* installed;
    const wchar_t* res;
  } cases[] = {
      {L"D:\\nowhere\\at all\\setup(1).exe", L"D:\\nowhere\\at all\\res"},  // need not exist; spaces kept
      {L"C:\\a\\", L"C:\\a\\res"},
      {L"\\QuarrowLauncher.exe", L"\\res"},  // an executable at the drive's root has its res there
      {L"QuarrowLauncher.exe", L""},         // no folder: "\res" would be the drive root's, not its own
      {L"", L""},
  };
  for (const Case& c : cases) {
    UninstallTargets t = BuildUninstallTargets(L"C:\\Desktop", L"C:\\Programs", kShipped, c.installed);
    EXPECT_EQ(t.resFolder, c.res) << testing::PrintToString(std::wstring(c.installed));
    EXPECT_EQ(t.installedExecutable, c.installed);
    EXPECT_EQ(t.shortcuts.size(), 3u);
  }
  // Never cut to a buffer's length: a shortened path would name another item.
  const std::wstring deep = L"C:\\" + std::wstring(300, L'x') + L"\\QuarrowLauncher.exe";
  EXPECT_EQ(BuildUninstallTargets(L"C:\\D", L"C:\\P", kShipped, deep).resFolder,
            L"C:\\" + std::wstring(300, L'x') + L"\\res");
}

TEST(UninstallTargets, AFolderTheShellCouldNotNameContributesNothing) {
  const wchar_t installed[] = L"C:\\data\\QuarrowLauncher.exe";
  UninstallTargets noDesktop = BuildUninstallTargets(L"", L"C:\\Programs", kShipped, installed);
  ASSERT_EQ(noDesktop.shortcuts.size(), 2u);
  EXPECT_EQ(noDesktop.shortcuts[0], L"C:\\Programs\\Brellin\\《Quarrow》加强版\\卸载-《Quarrow》加强版.lnk");

  UninstallTargets noPrograms = BuildUninstallTargets(L"C:\\Desktop", L"", kShipped, installed);
  EXPECT_EQ(noPrograms.shortcuts, std::vector<std::wstring>{L"C:\\Desktop\\Brellin《Quarrow》加强版.lnk"});
  EXPECT_TRUE(noPrograms.startMenuFolders.empty());
  EXPECT_EQ(noPrograms.resFolder, L"C:\\data\\res");
}

TEST(UninstallTargets, FolderOfCutsAtTheLastBackslash) {
  EXPECT_EQ(FolderOf(L"C:\\a\\b\\c.lnk"), L"C:\\a\\b");
  EXPECT_EQ(FolderOf(L"C:\\a\\"), L"C:\\a");
  EXPECT_EQ(FolderOf(L"C:"), L"");
}

}  // namespace
}  // namespace quarrow
