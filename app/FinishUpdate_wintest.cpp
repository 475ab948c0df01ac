#include "app/FinishUpdate.h"

#include <gtest/gtest.h>

#include <thread>

#include "app/FileUtils.h"
#include "tests/WinTestSupport.h"

namespace quarrow {
namespace {

using namespace testing_support;

const wchar_t kTitle[] = L"《Quarrow》加强版登录器";

bool HasLauncherWindow(DWORD processId) {
  for (HWND w : TopLevelWindowsOf(processId)) {
    wchar_t text[64] = {};
    ::GetWindowTextW(w, text, 64);
    if (wcscmp(text, kTitle) == 0) return true;
  }
  return false;
}

std::wstring Md5Of(const std::wstring& path) {
  std::wstring digest;
  EXPECT_TRUE(GetFileMd5(path, &digest));
  return digest;
}

// A downloaded launcher in a scratch folder and an "installed" file to be replaced.
class FinishUpdateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetDataFolder();
    CreateDataResFolder();
    ASSERT_TRUE(::CreateDirectoryW((folder / L"installed").c_str(), nullptr));
    ASSERT_TRUE(::CopyFileW(LauncherPath().c_str(), downloaded.c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW((BuildFolder() + L"\\fixture_two_translations.exe").c_str(), target.c_str(), FALSE));
  }
  void TearDown() override {
    KillProcesses(target);
    KillProcesses(downloaded);
    RemoveLauncherInstallation();  // the launchers started here install and check for updates
  }
  std::vector<std::wstring> LogMessages() {
    std::vector<std::wstring> messages;
    for (const std::wstring& line : ReadUtf16Lines(GetDataFolder() + L"res\\update.log")) {
      size_t tab = line.find(L"\tUpdateModule\t");
      messages.push_back(tab == std::wstring::npos ? L"<malformed> " + line : line.substr(tab + 14));
    }
    return messages;
  }

  ScratchFolder folder;
  std::wstring downloaded = folder / L"qvvortmp.exe";
  std::wstring target = folder / L"installed\\Quarrow Launcher.exe";  // a space, as real paths have
};

TEST_F(FinishUpdateTest, CopiesItselfLogsThreeLinesStartsTheTargetAndExitsZero) {
  // Started as the updater does: "-d <path>" with no program name in front.
  HANDLE process = StartProcess(downloaded, L"-d " + target);
  ASSERT_NE(nullptr, process);
  EXPECT_EQ(0u, WaitForExit(process, 30000));
  ::CloseHandle(process);

  EXPECT_EQ(Md5Of(LauncherPath()), Md5Of(target));
  EXPECT_FALSE(FileExists(target + L".update-tmp"));
  std::vector<std::wstring> expected = {L"Finish download,current file md5=" + Md5Of(LauncherPath()),
                                        L"Update success.Current Version:1.0.1.0", L"====================="};
  // The started launcher's own update check may already be logging after them.
  std::vector<std::wstring> messages = LogMessages();
  messages.resize(std::min(messages.size(), expected.size()));
  EXPECT_EQ(expected, messages);

  // The installed launcher now runs, as a plain launcher start.
  EXPECT_TRUE(WaitUntil([&] { return !ProcessesRunning(target).empty(); }, 15000));
  std::vector<DWORD> started = ProcessesRunning(target);
  ASSERT_FALSE(started.empty());
  EXPECT_TRUE(WaitUntil([&] { return HasLauncherWindow(started[0]); }, 15000));
}

TEST_F(FinishUpdateTest, LockedTargetStaysWholeAndTheDownloadedCopyRunsAsLauncher) {
  const std::wstring before = Md5Of(target);
  HANDLE lock = ::CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, lock);

  HANDLE process = StartProcess(downloaded, L"-d " + target);
  ASSERT_NE(nullptr, process);
  // The replacement is retried for a few seconds before giving up.
  EXPECT_TRUE(WaitUntil([&] { return LogMessages().size() >= 2; }, 30000));
  std::vector<std::wstring> messages = LogMessages();
  ASSERT_LE(2u, messages.size());  // then the launcher's own update check
  const std::wstring failure = L"Update failure.Error Code:";
  EXPECT_EQ(failure, messages[0].substr(0, failure.size()));
  EXPECT_NE(L"0", messages[0].substr(failure.size())) << "the system error code is logged";
  EXPECT_EQ(L"=====================", messages[1]);

  // No fall back to exit: the launcher comes up from the downloaded copy.
  EXPECT_TRUE(WaitUntil([&] { return HasLauncherWindow(::GetProcessId(process)); }, 15000));
  EXPECT_EQ(STILL_ACTIVE, WaitForExit(process, 0));
  ::CloseHandle(lock);
  EXPECT_EQ(before, Md5Of(target)) << "a failed update leaves the installed file whole";
  EXPECT_FALSE(FileExists(target + L".update-tmp"));
  ::TerminateProcess(process, 1);
  ::CloseHandle(process);
}

TEST_F(FinishUpdateTest, WaitsForTheOldLauncherToLetGoOfTheTarget) {
  // The old launcher may still be running from the target for a moment.
  ASSERT_TRUE(::CopyFileW((BuildFolder() + L"\\fixture_sleeper.exe").c_str(), target.c_str(), FALSE));
  HANDLE old = StartProcess(target, L"\"" + target + L"\" 1500");
  ASSERT_NE(nullptr, old);
  HANDLE lock = ::CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, lock);
  // Let go when the old process ends, as the system does for a running image.
  std::thread releaser([old, lock] {
    ::WaitForSingleObject(old, 10000);
    ::CloseHandle(lock);
  });

  HANDLE process = StartProcess(downloaded, L"-d " + target);
  ASSERT_NE(nullptr, process);
  EXPECT_EQ(0u, WaitForExit(process, 30000));
  ::CloseHandle(process);
  releaser.join();
  ::CloseHandle(old);
  EXPECT_EQ(Md5Of(LauncherPath()), Md5Of(target));
  ASSERT_LE(3u, LogMessages().size());
  EXPECT_EQ(L"Update success.Current Version:1.0.1.0", LogMessages()[1]);
}

TEST_F(FinishUpdateTest, DashDAloneStartsTheLauncherWithoutLogging) {
  HANDLE process = StartProcess(downloaded, L"-d");
  ASSERT_NE(nullptr, process);
  EXPECT_TRUE(WaitUntil([&] { return HasLauncherWindow(::GetProcessId(process)); }, 15000));
  // The launcher's own update check is the first to log: the role wrote nothing.
  std::vector<std::wstring> messages = LogMessages();
  ASSERT_FALSE(messages.empty());
  EXPECT_NE(std::wstring::npos, messages[0].find(L"/getClientVersion.php?")) << messages[0];
  ::TerminateProcess(process, 1);
  ::CloseHandle(process);
}

}  // namespace
}  // namespace quarrow
