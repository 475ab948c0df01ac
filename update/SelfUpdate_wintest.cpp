// The whole self-update across processes: an installed launcher asks the
// stand-in, downloads the newer build, hands over to it, and the new build
// takes the installed file's place and starts.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/FileUtils.h"
#include "tests/WinTestSupport.h"
#include "update/StandInServer.h"

namespace quarrow {
namespace {

using namespace testing_support;

const UINT kVersionServerString = 191;

BOOL CALLBACK FirstLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) {
  *reinterpret_cast<WORD*>(found) = language;
  return FALSE;
}

// The version server is baked into the string table at build time; a copy
// of the launcher is pointed at this test's stand-in by rewriting that one
// string in place (its block of sixteen strings, the others kept).
bool PointAtVersionServer(const std::wstring& exe, const std::wstring& baseUrl) {
  const WORD block = kVersionServerString / 16 + 1;
  const size_t slot = kVersionServerString % 16;
  HMODULE module = ::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return false;
  WORD language = 0;
  ::EnumResourceLanguagesW(module, RT_STRING, MAKEINTRESOURCEW(block), FirstLanguage,
                           reinterpret_cast<LONG_PTR>(&language));
  std::vector<std::wstring> strings(16);
  HRSRC found = ::FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(block), language);
  const wchar_t* p = found ? static_cast<const wchar_t*>(::LockResource(::LoadResource(module, found))) : nullptr;
  for (size_t i = 0; p && i < 16; ++i) {
    strings[i].assign(p + 1, *p);
    p += 1 + *p;
  }
  ::FreeLibrary(module);
  if (!found) return false;

  strings[slot] = baseUrl;
  std::wstring data;
  for (const std::wstring& s : strings) data += static_cast<wchar_t>(s.size()) + s;
  HANDLE update = ::BeginUpdateResourceW(exe.c_str(), FALSE);
  if (!update) return false;
  if (!::UpdateResourceW(update, RT_STRING, MAKEINTRESOURCEW(block), language, &data[0],
                         static_cast<DWORD>(data.size() * sizeof(wchar_t)))) {
    ::EndUpdateResourceW(update, TRUE);
    return false;
  }
  return ::EndUpdateResourceW(update, FALSE) != FALSE;
}

std::wstring Md5Of(const std::wstring& path) {
  std::wstring digest;
  GetFileMd5(path, &digest);
  return digest;
}

bool Contains(const std::vector<std::wstring>& lines, const std::wstring& line) {
  for (const std::wstring& l : lines) {
    if (l == line) return true;
  }
  return false;
}

// An installed launcher 1.0.1.0 in the data folder and a stand-in that
// offers it a build of its own choosing.
class SelfUpdateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveLauncherInstallation();
    CreateDataResFolder();
    ASSERT_TRUE(standin.running());
    ASSERT_TRUE(::CopyFileW(LauncherPath().c_str(), installed.c_str(), FALSE));
    ASSERT_TRUE(PointAtVersionServer(installed, standin.BaseUrl()));
    ASSERT_EQ(L"1.0.1.0", GetFileVersionString(installed));
    ASSERT_TRUE(standin.SetVersionAnswer("0"));
  }
  void TearDown() override {
    KillProcesses(installed);
    KillProcesses(downloaded);
    RemoveLauncherInstallation();
  }
  // Offers `bytes` as the new launcher to 1.0.1.0 only.
  void Offer(const std::vector<unsigned char>& bytes) {
    ASSERT_TRUE(standin.SetFile(L"QuarrowLauncher.exe", std::string(bytes.begin(), bytes.end())));
    ASSERT_TRUE(standin.SetVersionAnswer(Narrow(offerUrl), L"v=1.0.1.0"));
  }
  std::wstring QueryUrl(const wchar_t* version) {
    return standin.BaseUrl() + L"/getClientVersion.php?p=orbix_v1&g=vor&v=" + version;
  }
  // Starts the installed launcher as the user does; its exit code, or
  // STILL_ACTIVE when it is still running after the time given.
  DWORD RunInstalled(DWORD timeoutMs) {
    HANDLE process = StartProcess(installed, L"\"" + installed + L"\"");
    EXPECT_NE(nullptr, process);
    if (!process) return STILL_ACTIVE;
    DWORD code = WaitForExit(process, timeoutMs);
    ::CloseHandle(process);
    return code;
  }

  StandInServer standin;
  ScratchFolder scratch;
  const std::wstring installed = GetDataFolder() + L"QuarrowLauncher.exe";
  const std::wstring downloaded = [] {
    wchar_t appData[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    return std::wstring(appData) + L"\\cache\\qvvortmp.exe";
  }();
  const std::wstring offerUrl = standin.FileUrl(L"QuarrowLauncher.exe");
};

TEST_F(SelfUpdateTest, NewerBuildReplacesTheInstalledLauncherAndStarts) {
  const std::wstring next = scratch / L"next.exe";
  ASSERT_TRUE(::CopyFileW((BuildFolder() + L"\\fixture_launcher_next.exe").c_str(), next.c_str(), FALSE));
  ASSERT_TRUE(PointAtVersionServer(next, standin.BaseUrl()));
  const std::vector<unsigned char> nextBytes = ReadFileBytes(next);
  const std::wstring nextMd5 = Md5Of(next);
  Offer(nextBytes);

  // The old launcher ends itself once it has handed over.
  EXPECT_EQ(0u, RunInstalled(60000));
  // The new one asks with its own version and is told there is nothing newer.
  ASSERT_TRUE(WaitUntil([&] { return Contains(UpdateLogMessages(), QueryUrl(L"1.0.2.0")) &&
                                     UpdateLogMessages().back() == L"====================="; },
                        60000))
      << "the new launcher did not run its own check";

  EXPECT_EQ(L"1.0.2.0", GetFileVersionString(installed));
  EXPECT_EQ(nextMd5, Md5Of(installed));
  EXPECT_FALSE(ProcessesRunning(installed).empty()) << "the new launcher runs from the installed path";

  const std::wstring size = std::to_wstring(nextBytes.size());
  const std::vector<std::wstring> expected = {
      // the installed 1.0.1.0: check and download
      QueryUrl(L"1.0.1.0"), L"Http QueryInfoStatusCode:200", L"Server response check version msg:" + offerUrl,
      L"ExcuUpdate,URL=" + offerUrl, L"Http QueryInfoStatusCode:200", L"Content length:" + size,
      L"Finish download,file size=" + size, L"Finish download,file md5=" + nextMd5,
      // the downloaded copy, started with "-d <installed>"
      L"Finish download,current file md5=" + nextMd5, L"Update success.Current Version:1.0.2.0",
      L"=====================",
      // the new installed launcher's own check
      QueryUrl(L"1.0.2.0"), L"Http QueryInfoStatusCode:200", L"Server response check version msg:0",
      L"Finish Update.", L"====================="};
  EXPECT_EQ(expected, UpdateLogMessages());

  const std::string file = "/files/QuarrowLauncher.exe";
  const std::vector<std::string> requests = {
      "GET /getClientVersion.php?p=orbix_v1&g=vor&v=1.0.1.0 -", "GET " + file + " -",
      "GET " + file + " bytes=0-" + std::to_string(nextBytes.size()),
      "GET /getClientVersion.php?p=orbix_v1&g=vor&v=1.0.2.0 -"};
  EXPECT_EQ(requests, standin.Requests());
}

TEST_F(SelfUpdateTest, DownloadThatCannotStartStillEndsTheOldLauncherWithZero) {
  std::vector<unsigned char> notAProgram(4096, 0x5a);
  Offer(notAProgram);
  const std::wstring installedMd5 = Md5Of(installed);

  EXPECT_EQ(0u, RunInstalled(60000));
  std::vector<std::wstring> log = UpdateLogMessages();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(L"Finish download,file size=4096", log[log.size() - 2]);
  EXPECT_EQ(L"Finish download,file md5=" + Md5Of(downloaded), log.back());
  EXPECT_EQ(installedMd5, Md5Of(installed)) << "nothing took the installed file's place";
}

}  // namespace
}  // namespace quarrow
