#include "update/Updater.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <wininet.h>

#include <string>
#include <vector>

#include "app/FileUtils.h"
#include "tests/WinTestSupport.h"
#include "update/StandInServer.h"

namespace quarrow {
namespace {

using namespace testing_support;

const wchar_t kQueryPath[] = L"getClientVersion.php?p=orbix_v1&g=vor&v=";
const wchar_t kTempName[] = L"\\qvvortmp.exe";
const UpdateStallLimits kShortStall{1000, 1000};

std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// WinInet's own text for its time-out, as a request that timed out reports it.
std::wstring TimedOutText() {
  wchar_t text[256] = {};
  DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS,
                             ::GetModuleHandleW(L"wininet.dll"), ERROR_INTERNET_TIMEOUT, 0, text, 256, nullptr);
  while (n > 0 && (text[n - 1] == L'\r' || text[n - 1] == L'\n' || text[n - 1] == L' ')) text[--n] = 0;
  return text;
}

std::wstring CacheFolder() {
  wchar_t appData[MAX_PATH] = {};
  ::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
  return std::wstring(appData) + L"\\cache";
}

std::string Contents(const std::wstring& path) {
  std::vector<unsigned char> bytes = ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

// Binary contents compared without printing them: where they part is enough.
::testing::AssertionResult SameBytes(const std::string& expected, const std::string& actual) {
  if (expected == actual) return ::testing::AssertionSuccess();
  size_t i = 0;
  while (i < expected.size() && i < actual.size() && expected[i] == actual[i]) ++i;
  return ::testing::AssertionFailure() << "expected " << expected.size() << " bytes, got " << actual.size()
                                       << ", first difference at " << i;
}

// Bytes that differ from position to position, so a misplaced chunk shows.
std::string Payload(size_t size) {
  std::string bytes(size, '\0');
  uint32_t x = 2463534242u;
  for (char& c : bytes) {
    x ^= x << 13, x ^= x >> 17, x ^= x << 5;
    c = static_cast<char>(x);
  }
  return bytes;
}

// A clean account, a running stand-in, and nothing left behind.
class UpdaterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveLauncherInstallation();
    CreateDataResFolder();
    ASSERT_TRUE(standin.running());
  }
  void TearDown() override { RemoveLauncherInstallation(); }
  void ClearLog() { ::DeleteFileW((GetDataFolder() + L"res\\update.log").c_str()); }

  StandInServer standin;
  const std::wstring tempExe = CacheFolder() + kTempName;
};

TEST_F(UpdaterTest, VersionAnswerDecidesWhetherAnUpdateIsOffered) {
  const std::string url = "http://127.0.0.1:9/files/new.exe";
  const std::string longUrl = "http://127.0.0.1:9/files/" + std::string(1500, 'a') + ".exe";
  struct Case {
    const char* what;
    std::string body;
    std::wstring options;
    long status;
    bool offered;
  } cases[] = {
      {"a download URL", url, L"", 200, true},
      {"a single 0", "0", L"", 200, false},
      {"five digits", "12345", L"", 200, false},
      {"six digits", "123456", L"", 200, true},
      {"six characters, negative", "-12345", L"", 200, false},
      {"-1", "-1", L"", 200, false},
      {"an answer over 1024 bytes", longUrl, L"", 200, true},
      {"an answer that arrives in two pieces", url, L"split=12&pause=300", 200, true},
      {"404", url, L"status=404", 404, false},
      {"500", url, L"status=500", 500, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClearLog();
    ASSERT_TRUE(standin.SetVersionAnswer(c.body, c.options));
    CUpdater updater(kTempName);
    EXPECT_EQ(c.offered, updater.CheckVersion(standin.BaseUrl(), kQueryPath, L"1.0.1.0"));

    const std::wstring answer = c.status < 400 ? Widen(c.body) : L"";
    std::vector<std::wstring> expected = {L"Http QueryInfoStatusCode:" + std::to_wstring(c.status),
                                          L"Server response check version msg:" + answer};
    if (!c.offered) expected.insert(expected.end(), {L"Finish Update.", L"====================="});
    EXPECT_EQ(expected, UpdateLogMessages());
    EXPECT_EQ(c.offered ? answer : L"", updater.DownloadUrl());
    EXPECT_EQ(standin.BaseUrl() + L"/getClientVersion.php?p=orbix_v1&g=vor&v=1.0.1.0", updater.QueryUrl());
    EXPECT_EQ("GET /getClientVersion.php?p=orbix_v1&g=vor&v=1.0.1.0 -", standin.Requests().back());
  }
}

TEST_F(UpdaterTest, UnreachableVersionServerMeansNoUpdate) {
  const std::wstring base = standin.BaseUrl();
  standin.Stop();
  CUpdater updater(kTempName);
  EXPECT_FALSE(updater.CheckVersion(base, kQueryPath, L"1.0.1.0"));
  std::vector<std::wstring> messages = UpdateLogMessages();
  ASSERT_EQ(5u, messages.size());
  EXPECT_EQ(L"Try Download File Exception", messages[0]);
  EXPECT_FALSE(messages[1].empty()) << "the reason is logged";
  EXPECT_EQ((std::vector<std::wstring>{L"Server response check version msg:", L"Finish Update.",
                                       L"====================="}),
            std::vector<std::wstring>(messages.begin() + 2, messages.end()));
}

TEST_F(UpdaterTest, SilentVersionServerIsGivenUpAndLeavesNoTrace) {
  ASSERT_TRUE(standin.SetVersionAnswer("", L"stall=1"));
  CUpdater updater(kTempName, kShortStall);
  EXPECT_FALSE(updater.CheckVersion(standin.BaseUrl(), kQueryPath, L"1.0.1.0"));
  const std::vector<std::wstring> expected = {L"Try Download File Exception", TimedOutText(),
                                              L"Server response check version msg:", L"Finish Update.",
                                              L"====================="};
  EXPECT_EQ(expected, UpdateLogMessages());

  // The server lets go; the abandoned request fails, and must not log that.
  standin.Stop();
  ::Sleep(1000);
  EXPECT_EQ(expected, UpdateLogMessages());
}

TEST_F(UpdaterTest, CheckDropsAnOversizedLogFirst) {
  struct Case {
    uint64_t size;
    bool dropped;
  } cases[] = {{10485761, true}, {10485760, false}};
  const std::wstring log = GetDataFolder() + L"res\\update.log";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    ASSERT_TRUE(WriteFileText(log, std::string(c.size, 'x')));
    RunUpdateCheck(standin.BaseUrl(), kQueryPath, L"1.0.1.0");
    std::vector<unsigned char> bytes = ReadFileBytes(log);
    if (c.dropped) {
      const std::vector<std::wstring> expected = {
          standin.BaseUrl() + L"/getClientVersion.php?p=orbix_v1&g=vor&v=1.0.1.0", L"Http QueryInfoStatusCode:200",
          L"Server response check version msg:0", L"Finish Update.", L"====================="};
      EXPECT_EQ(expected, UpdateLogMessages());
    } else {
      ASSERT_GT(bytes.size(), c.size);
      EXPECT_EQ(std::string(c.size, 'x'), std::string(bytes.begin(), bytes.begin() + c.size));
    }
  }
}

TEST_F(UpdaterTest, CheckStartsWithoutAStaleDownload) {
  ::RemoveDirectoryW(CacheFolder().c_str());
  CUpdater first(kTempName);
  EXPECT_TRUE(FolderExists(CacheFolder()));
  EXPECT_EQ(CacheFolder() + L"\\qvvortmp.exe", first.TempExePath());
  EXPECT_EQ(GetDataFolder() + L"win_tests.exe", first.InstalledExePath());

  ASSERT_TRUE(WriteFileText(tempExe, "half a launcher"));
  RunUpdateCheck(standin.BaseUrl(), kQueryPath, L"1.0.1.0");
  EXPECT_FALSE(FileExists(tempExe));
}

// --- the download ---------------------------------------------------------

class DownloadTest : public UpdaterTest {
 protected:
  std::string Md5Of(const std::string& bytes) {
    ScratchFolder folder;
    WriteFileText(folder / L"f", bytes);
    std::wstring digest;
    GetFileMd5(folder / L"f", &digest);
    return std::string(digest.begin(), digest.end());
  }
  const std::string payload = Payload(5000);
};

TEST_F(DownloadTest, OutcomesFollowWhatTheServerSends) {
  const std::wstring length = L"Content length:5000";
  const std::wstring status200 = L"Http QueryInfoStatusCode:200";
  const std::vector<std::wstring> finished = {status200, length, L"Finish download,file size=5000",
                                              L"Finish download,file md5=" + Widen(Md5Of(payload))};
  const std::string wholeFile = "GET /files/f bytes=0-5000";
  struct Case {
    const char* what;
    std::wstring options;
    std::string existing;  // in the temporary file before the download
    bool complete;
    std::vector<std::wstring> log;  // after "ExcuUpdate,URL=..."
    std::vector<std::string> requests;
    std::string fileAfter;
  } cases[] = {
      {"complete, empty file", L"", "", true, finished, {"GET /files/f -", wholeFile}, payload},
      {"the first part already there", L"", payload.substr(0, 1000), true, finished,
       {"GET /files/f -", "GET /files/f bytes=1000-5000"}, payload},
      {"no Content-Length",
       L"length=0",
       "",
       false,
       {status200, L"Content length:0", L"ERROR!Before download dwFileSize == dwToatlSize,exit"},
       {"GET /files/f -"},
       ""},
      {"already complete",
       L"",
       payload,
       false,
       {status200, length, L"ERROR!Before download dwFileSize == dwToatlSize,exit"},
       {"GET /files/f -"},
       payload},
      {"connection closed early", L"close_after=2000", "", false, {status200, length},
       {"GET /files/f -", wholeFile}, payload.substr(0, 2000)},
      {"server ignores the range", L"range=0", payload.substr(0, 1000), false, {status200, length},
       {"GET /files/f -", "GET /files/f bytes=1000-5000"}, payload.substr(0, 1000) + payload},
      {"404", L"status=404", "", false, {L"Http QueryInfoStatusCode:404"}, {"GET /files/f -"}, ""},
      {"500", L"status=500", "", false, {L"Http QueryInfoStatusCode:500"}, {"GET /files/f -"}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClearLog();
    ASSERT_TRUE(standin.SetFile(L"f", payload, c.options));
    CUpdater updater(kTempName);
    if (!c.existing.empty()) ASSERT_TRUE(WriteFileText(tempExe, c.existing));
    size_t before = standin.Requests().size();

    const std::wstring url = standin.FileUrl(L"f");
    EXPECT_EQ(c.complete, updater.DownloadUpdate(url));
    std::vector<std::wstring> log = {L"ExcuUpdate,URL=" + url};
    log.insert(log.end(), c.log.begin(), c.log.end());
    EXPECT_EQ(log, UpdateLogMessages());
    std::vector<std::string> requests = standin.Requests();
    EXPECT_EQ(c.requests, std::vector<std::string>(requests.begin() + before, requests.end()));
    EXPECT_TRUE(SameBytes(c.fileAfter, Contents(tempExe)));
  }
}

TEST_F(DownloadTest, BytesBeyondTheAnnouncedLengthNeverReachAHandOver) {
  // How much of the surplus a client reads, and as what, is up to WinInet;
  // what matters is that only the announced file can pass the length check.
  ASSERT_TRUE(standin.SetFile(L"f", payload, L"extra=3000"));
  CUpdater updater(kTempName);
  bool complete = updater.DownloadUpdate(standin.FileUrl(L"f"));
  std::string file = Contents(tempExe);
  if (complete) {
    EXPECT_TRUE(SameBytes(payload, file));
  } else {
    EXPECT_EQ(3u, UpdateLogMessages().size()) << "no size or MD5 line for a rejected file";
  }
}

TEST_F(DownloadTest, UnusableUrlsAndLockedFilesEndQuietly) {
  standin.SetFile(L"f", payload);
  {
    SCOPED_TRACE("not a URL");
    CUpdater updater(kTempName);
    EXPECT_FALSE(updater.DownloadUpdate(L"123456"));
    std::vector<std::wstring> log = UpdateLogMessages();
    ASSERT_EQ(3u, log.size());
    EXPECT_EQ(L"ExcuUpdate,URL=123456", log[0]);
    EXPECT_EQ(L"Try Download File Exception", log[1]);
    EXPECT_FALSE(log[2].empty());
  }
  {
    SCOPED_TRACE("temporary file held open by someone else");
    ClearLog();
    CUpdater updater(kTempName);
    HANDLE held = ::CreateFileW(tempExe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_FALSE(updater.DownloadUpdate(standin.FileUrl(L"f")));
    ::CloseHandle(held);
    EXPECT_EQ((std::vector<std::wstring>{L"ExcuUpdate,URL=" + standin.FileUrl(L"f"), L"Http QueryInfoStatusCode:200",
                                         L"Content length:5000"}),
              UpdateLogMessages());
    EXPECT_EQ("", Contents(tempExe));
  }
}

TEST_F(DownloadTest, SilentServerIsGivenUpBeforeOrDuringTheBody) {
  struct Case {
    const char* what;
    std::wstring options;
    std::vector<std::wstring> logBeforeTimeOut;
    bool fileStarted;
  } cases[] = {
      {"no answer at all", L"stall=1", {}, false},
      {"stops after 3000 bytes", L"stall_after=3000", {L"Http QueryInfoStatusCode:200", L"Content length:5000"},
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClearLog();
    ASSERT_TRUE(standin.SetFile(L"f", payload, c.options));
    CUpdater updater(kTempName, kShortStall);
    const std::wstring url = standin.FileUrl(L"f");
    EXPECT_FALSE(updater.DownloadUpdate(url));
    std::vector<std::wstring> expected = {L"ExcuUpdate,URL=" + url};
    expected.insert(expected.end(), c.logBeforeTimeOut.begin(), c.logBeforeTimeOut.end());
    expected.insert(expected.end(), {L"Try Download File Exception", TimedOutText()});
    EXPECT_EQ(expected, UpdateLogMessages());
    if (c.fileStarted) {
      // Let go at once, holding what had arrived, so a later check can remove it.
      HANDLE free = ::CreateFileW(tempExe.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      EXPECT_NE(INVALID_HANDLE_VALUE, free) << "the temporary file is still held";
      ::CloseHandle(free);
      const std::string arrived = Contents(tempExe);
      EXPECT_LE(arrived.size(), 3000u);
      EXPECT_TRUE(SameBytes(payload.substr(0, arrived.size()), arrived));
    }
  }
  // Once the server lets go, the abandoned downloads fail: without a word
  // and without touching the file.
  const std::vector<std::wstring> log = UpdateLogMessages();
  const std::string file = Contents(tempExe);
  standin.Stop();
  ::Sleep(1000);
  EXPECT_EQ(log, UpdateLogMessages());
  EXPECT_TRUE(SameBytes(file, Contents(tempExe)));
}

}  // namespace
}  // namespace quarrow
