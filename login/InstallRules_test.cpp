#include "login/InstallRules.h"

#include <gtest/gtest.h>

namespace quarrow {
namespace {

TEST(InstallRules, VersionNumbersCompareByTheirDigitsWithoutDots) {
  struct Case {
    const wchar_t* text;
    int64_t number;
  } cases[] = {
      {L"1.0.1.0", 1010},
      {L"1.0.0.9", 1009},
      {L"1.0.10.0", 10100},
      {L"1.1.0.0", 1100},
      {L"", 0},
      {L"None VerSion Supprot", 0},
      {L"2.5.0.12.5.0.1-cn", 25012501},  // two translations run together
      {L"3.0 beta", 30},
      {L"..7", 7},
  };
  for (const Case& c : cases) EXPECT_EQ(VersionNumber(c.text), c.number) << c.text;

  // 1.0.10.0 counts as newer than 1.1.0.0: the digits decide, not the fields.
  EXPECT_TRUE(InstalledCopyNeedsReplacing(VersionNumber(L"1.1.0.0"), VersionNumber(L"1.0.10.0")));
  EXPECT_FALSE(InstalledCopyNeedsReplacing(VersionNumber(L"1.0.1.0"), VersionNumber(L"1.0.0.9")));
  EXPECT_FALSE(InstalledCopyNeedsReplacing(1010, 1010));
  EXPECT_TRUE(InstalledCopyNeedsReplacing(0, 0));  // nothing installed: copy whatever runs
}

TEST(InstallRules, PathsOfTheInstallation) {
  EXPECT_EQ(InstalledExecutablePath(L"C:\\Users\\p\\AppData\\Roaming\\orbix_v1\\vor", L"D:\\Downloads\\setup(1).exe"),
            L"C:\\Users\\p\\AppData\\Roaming\\orbix_v1\\vor\\setup(1).exe");
  EXPECT_EQ(InstalledExecutablePath(L"C:\\data", L"launcher.exe"), L"C:\\data\\launcher.exe");
  EXPECT_EQ(UninstallCommand(L"C:\\Users\\Jo Li\\a.exe"), L"C:\\Users\\Jo Li\\a.exe -u");
  EXPECT_EQ(UninstallIconPath(L"C:\\data\\launcher.exe"), L"C:\\data\\res\\uninstall.ico");
}

}  // namespace
}  // namespace quarrow
