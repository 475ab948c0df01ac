#include "launcher/CacheCleaning.h"

#include <gtest/gtest.h>
#include <wininet.h>

#include <algorithm>
#include <mutex>

#include "tests/WinTestSupport.h"

namespace quarrow {
namespace {

using namespace testing_support;

// Debugger output of every thread while it lives, seen as the exception
// OutputDebugString raises for a debugger. Wine passes the text through the
// 8-bit code page only, so lines are kept and compared in that code page.
class DebuggerOutput {
 public:
  DebuggerOutput() {
    s_current = this;
    m_handler = ::AddVectoredExceptionHandler(1, &DebuggerOutput::Capture);
  }
  ~DebuggerOutput() {
    ::RemoveVectoredExceptionHandler(m_handler);
    s_current = nullptr;
  }
  std::vector<std::string> Lines() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lines;
  }
  bool Has(const std::wstring& line) {
    std::vector<std::string> lines = Lines();
    return std::find(lines.begin(), lines.end(), InCodePage(line)) != lines.end();
  }
  static std::string InCodePage(const std::wstring& text) {
    std::string narrow(text.size() * 4 + 1, '\0');
    int n = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &narrow[0],
                                  static_cast<int>(narrow.size()), nullptr, nullptr);
    narrow.resize(n > 0 ? n : 0);
    return narrow;
  }

 private:
  static LONG CALLBACK Capture(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    DebuggerOutput* self = s_current;
    if (!self || record->NumberParameters < 2) return EXCEPTION_CONTINUE_SEARCH;
    if (record->ExceptionCode == DBG_PRINTEXCEPTION_WIDE_C) {
      self->Add(InCodePage(reinterpret_cast<const wchar_t*>(record->ExceptionInformation[1])));
      return EXCEPTION_CONTINUE_EXECUTION;  // taken: no second, 8-bit copy of the line
    }
    if (record->ExceptionCode == DBG_PRINTEXCEPTION_C) {
      self->Add(reinterpret_cast<const char*>(record->ExceptionInformation[1]));
    }
    return EXCEPTION_CONTINUE_SEARCH;
  }
  void Add(std::string line) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.push_back(std::move(line));
  }

  static DebuggerOutput* s_current;
  PVOID m_handler = nullptr;
  std::mutex m_mutex;
  std::vector<std::string> m_lines;
};
DebuggerOutput* DebuggerOutput::s_current = nullptr;

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A URL cache entry with a file behind it, as a page load leaves one.
bool AddCacheEntry(const std::wstring& url) {
  wchar_t file[MAX_PATH] = {};
  if (!::CreateUrlCacheEntryW(url.c_str(), 0, L"txt", file, 0)) return false;
  if (!WriteFileText(file, "cached")) return false;
  FILETIME never = {};
  return ::CommitUrlCacheEntryW(url.c_str(), file, never, never, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr, nullptr);
}

bool InUrlCache(const std::wstring& url) {
  DWORD size = 0;
  ::GetUrlCacheEntryInfoW(url.c_str(), nullptr, &size);
  return ::GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

std::wstring CookieOf(const wchar_t* url) {
  wchar_t value[256] = {};
  DWORD size = ARRAYSIZE(value);
  return ::InternetGetCookieW(url, nullptr, value, &size) ? value : L"";
}

const wchar_t kPageUrl[] = L"http://cache-test.example.test/page.html";
const wchar_t kCookieUrl[] = L"http://cookie-test.example.test/";
const wchar_t kManualCookieEntry[] = L"Cookie:player@manual-cookie.example.test/";

// A cached page and two cookie entries: one set as a site sets it, one
// written into the cache directly. Removed again at the end.
class UrlCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(AddCacheEntry(kPageUrl));
    ASSERT_TRUE(::InternetSetCookieW(kCookieUrl, L"kept", L"yes; expires=Sat, 01-Jan-2050 00:00:00 GMT"));
    FILETIME never = {};
    ASSERT_TRUE(::CommitUrlCacheEntryW(kManualCookieEntry, nullptr, never, never, COOKIE_CACHE_ENTRY, nullptr, 0,
                                       nullptr, nullptr));
    ASSERT_TRUE(InUrlCache(kPageUrl));
  }
  void TearDown() override {
    ::DeleteUrlCacheEntryW(kPageUrl);
    ::InternetSetCookieW(kCookieUrl, L"kept", L"gone; expires=Thu, 01-Jan-1970 00:00:00 GMT");
    ::DeleteUrlCacheEntryW(kManualCookieEntry);
  }
};

TEST_F(UrlCacheTest, DeletesEveryEntryButCookies) {
  DebuggerOutput output;
  EXPECT_TRUE(ClearUrlCache());
  EXPECT_FALSE(InUrlCache(kPageUrl));
  EXPECT_TRUE(InUrlCache(kManualCookieEntry));
  EXPECT_EQ(L"kept=yes", CookieOf(kCookieUrl));

  // The first look asks for no entry, only its size; the second reads it.
  std::vector<std::string> lines = output.Lines();
  ASSERT_EQ(2u, lines.size());
  EXPECT_EQ(DebuggerOutput::InCodePage(L"*******第一次查找缓存:未找到缓存。************\r\n"), lines[0]);
  const std::string second = DebuggerOutput::InCodePage(L"*******第二次查找缓存:缓存大小为:");
  EXPECT_EQ(second, lines[1].substr(0, second.size()));
  EXPECT_GT(atoi(lines[1].c_str() + second.size()), static_cast<int>(sizeof(INTERNET_CACHE_ENTRY_INFOW)));
  const std::string tail = DebuggerOutput::InCodePage(L"。************\r\n");
  EXPECT_EQ(tail, lines[1].substr(lines[1].size() - std::min(lines[1].size(), tail.size())));
}

TEST_F(UrlCacheTest, ManyEntriesAreAllDeletedInOneWalk) {
  // Entries of different sizes: each needs a buffer of its own size.
  std::vector<std::wstring> urls;
  for (int i = 0; i < 40; ++i) {
    urls.push_back(L"http://cache-test.example.test/" + std::wstring(i * 7 + 1, L'p') + L"/" + std::to_wstring(i));
    ASSERT_TRUE(AddCacheEntry(urls.back()));
  }
  EXPECT_TRUE(ClearUrlCache());
  for (const std::wstring& url : urls) EXPECT_FALSE(InUrlCache(url)) << Narrow(url);
  EXPECT_TRUE(InUrlCache(kManualCookieEntry));
}

// A folder laid out as the temporary internet files can be.
void FillCacheFolder(const std::wstring& root) {
  for (const wchar_t* folder : {L"sub", L"sub\\deep", L"keeps", L"keeps\\inner", L"empty", L"readonly"}) {
    ASSERT_TRUE(::CreateDirectoryW((root + L"\\" + folder).c_str(), nullptr));
  }
  for (const wchar_t* file : {L"a.htm", L"desktop.ini", L"ro.dat", L"sub\\b.gif", L"sub\\deep\\c.js",
                              L"keeps\\DESKTOP.INI", L"keeps\\d.css", L"keeps\\inner\\Desktop.ini",
                              L"keeps\\inner\\e.png", L"readonly\\f.txt"}) {
    ASSERT_TRUE(WriteFileText(root + L"\\" + file, "x"));
  }
  ASSERT_TRUE(::SetFileAttributesW((root + L"\\ro.dat").c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(::SetFileAttributesW((root + L"\\readonly\\f.txt").c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(::SetFileAttributesW((root + L"\\readonly").c_str(), FILE_ATTRIBUTE_READONLY));
}

void ExpectOnlyDesktopIniFilesLeft(const std::wstring& root) {
  EXPECT_TRUE(Exists(root)) << "the folder itself stays";
  for (const wchar_t* kept : {L"desktop.ini", L"keeps\\DESKTOP.INI", L"keeps\\inner\\Desktop.ini"}) {
    EXPECT_TRUE(Exists(root + L"\\" + kept)) << Narrow(kept);
  }
  for (const wchar_t* gone : {L"a.htm", L"ro.dat", L"sub", L"empty", L"readonly", L"keeps\\d.css",
                              L"keeps\\inner\\e.png"}) {
    EXPECT_FALSE(Exists(root + L"\\" + gone)) << Narrow(gone);
  }
}

TEST(CleanFolder, EmptiesTheFolderButKeepsEveryDesktopIniAndItsFolder) {
  ScratchFolder scratch;
  FillCacheFolder(scratch.path());
  DebuggerOutput output;
  EXPECT_TRUE(CleanFolder(scratch.path()));
  ExpectOnlyDesktopIniFilesLeft(scratch.path());

  EXPECT_TRUE(output.Has(L"开始清理" + scratch.path() + L"文件夹\r\n"));
  EXPECT_TRUE(output.Has(L"开始清理" + scratch.path() + L"\\keeps\\inner文件夹\r\n")) << "subfolders are walked too";
  EXPECT_EQ(7u, output.Lines().size()) << "one line per folder walked, no failures";
}

TEST(CleanFolder, AFolderThatCannotBeListedIsAFailure) {
  ScratchFolder scratch;
  DebuggerOutput output;
  EXPECT_FALSE(CleanFolder(scratch / L"missing"));
  EXPECT_TRUE(output.Has(L"开始清理" + (scratch / L"missing") + L"文件夹\r\n"));
  ASSERT_TRUE(WriteFileText(scratch / L"file", "x"));
  EXPECT_FALSE(CleanFolder(scratch / L"file"));
  EXPECT_TRUE(Exists(scratch / L"file"));
}

TEST(CleanFolder, ALockedFileStaysWithOneLineAndTheWalkGoesOn) {
  ScratchFolder scratch;
  for (const wchar_t* file : {L"1.txt", L"locked.dat", L"z.txt"}) ASSERT_TRUE(WriteFileText(scratch / file, "x"));
  ASSERT_TRUE(::CreateDirectoryW((scratch / L"held").c_str(), nullptr));
  ASSERT_TRUE(WriteFileText(scratch / L"held\\index.dat", "x"));
  HANDLE locked = ::CreateFileW((scratch / L"locked.dat").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
  HANDLE index = ::CreateFileW((scratch / L"held\\index.dat").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, locked);
  ASSERT_NE(INVALID_HANDLE_VALUE, index);

  DebuggerOutput output;
  EXPECT_TRUE(CleanFolder(scratch.path()));
  ::CloseHandle(locked);
  ::CloseHandle(index);

  EXPECT_FALSE(Exists(scratch / L"1.txt"));
  EXPECT_FALSE(Exists(scratch / L"z.txt"));
  EXPECT_TRUE(Exists(scratch / L"locked.dat"));
  EXPECT_TRUE(Exists(scratch / L"held\\index.dat")) << "and its folder with it";
  EXPECT_TRUE(output.Has(L"***********删除文件:locked.dat失败，错误代码:32******************\r\n"));
  EXPECT_TRUE(output.Has(L"***********删除文件:index.dat失败，错误代码:32******************\r\n"));
}

// Linux path of a Windows path, through Wine's own export; empty elsewhere.
std::string UnixPath(const std::wstring& path) {
  using Convert = char*(CDECL*)(const wchar_t*);
  auto convert = reinterpret_cast<Convert>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return "";
  char* unix = convert(path.c_str());
  std::string result = unix ? unix : "";
  ::HeapFree(::GetProcessHeap(), 0, unix);
  return result;
}

TEST(CleanFolder, ALinkedFolderIsNotFollowed) {
  ScratchFolder scratch;
  ASSERT_TRUE(::CreateDirectoryW((scratch / L"cache").c_str(), nullptr));
  ASSERT_TRUE(::CreateDirectoryW((scratch / L"elsewhere").c_str(), nullptr));
  ASSERT_TRUE(WriteFileText(scratch / L"elsewhere\\precious.txt", "x"));
  // Wine shows a Linux symbolic link to a folder as a linked folder
  // (directory + reparse point), as Windows shows a junction.
  const std::string target = UnixPath(scratch / L"elsewhere");
  const std::string link = UnixPath(scratch / L"cache") + "/link";
  if (target.empty()) GTEST_SKIP() << "needs Wine to make the link";
  HANDLE ln = StartProcess(L"Z:\\usr\\bin\\ln", L"ln -s \"" + std::wstring(target.begin(), target.end()) + L"\" \"" +
                                                    std::wstring(link.begin(), link.end()) + L"\"");
  if (ln) ::CloseHandle(ln);  // Wine gives no usable handle for a Linux process
  ASSERT_TRUE(WaitUntil([&] { return Exists(scratch / L"cache\\link\\precious.txt"); }, 10000));
  DWORD attributes = ::GetFileAttributesW((scratch / L"cache\\link").c_str());
  ASSERT_EQ(DWORD{FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT},
            attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));

  EXPECT_TRUE(CleanFolder(scratch / L"cache"));
  EXPECT_TRUE(Exists(scratch / L"elsewhere\\precious.txt"));
  // Whether the link itself goes is the system's matter: Windows removes a
  // junction, Wine refuses to remove a link to a folder that is not empty.
}

// Stands in for the main window: records the commands it is sent.
struct Received {
  std::vector<WPARAM> commands;
  std::vector<LPARAM> sources;
  DWORD thread = 0;
};
Received* g_received = nullptr;

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && g_received) {
    g_received->commands.push_back(wParam);
    g_received->sources.push_back(lParam);
    g_received->thread = ::GetCurrentThreadId();
    return 0;
  }
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// The shell's temporary-internet-files folder pointed at a scratch folder
// for one test; the user's own setting is put back afterwards.
class ShellCacheFolder {
 public:
  explicit ShellCacheFolder(const std::wstring& folder) {
    ::RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &m_key);
    DWORD size = sizeof(m_old);
    m_had = ::RegQueryValueExW(m_key, L"Cache", nullptr, &m_type, reinterpret_cast<BYTE*>(m_old), &size) ==
            ERROR_SUCCESS;
    m_oldSize = size;
    ::RegSetValueExW(m_key, L"Cache", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                     static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
  }
  ~ShellCacheFolder() {
    if (m_had) {
      ::RegSetValueExW(m_key, L"Cache", 0, m_type, reinterpret_cast<const BYTE*>(m_old), m_oldSize);
    } else {
      ::RegDeleteValueW(m_key, L"Cache");
    }
    ::RegCloseKey(m_key);
  }

 private:
  static constexpr const wchar_t* kKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
  HKEY m_key = nullptr;
  bool m_had = false;
  DWORD m_type = REG_SZ;
  wchar_t m_old[MAX_PATH] = {};
  DWORD m_oldSize = 0;
};

TEST_F(UrlCacheTest, WorkerCleansBothThenTellsTheMainWindowOnItsOwnThread) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"CacheCleaningTestMain";
  ::RegisterClassW(&windowClass);
  HWND main = ::CreateWindowW(windowClass.lpszClassName, L"main", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                              windowClass.hInstance, nullptr);
  ASSERT_TRUE(main);
  Received received;
  g_received = &received;

  ScratchFolder cache;
  FillCacheFolder(cache.path());
  DWORD exitCode = STILL_ACTIVE;
  {
    ShellCacheFolder redirected(cache.path());
    DebuggerOutput output;
    HANDLE worker = ::CreateThread(nullptr, 0, CleanCacheThread, main, 0, nullptr);
    ASSERT_TRUE(worker);
    // The worker waits for the main window to take the command: keep it answering.
    EXPECT_TRUE(WaitUntil([&] { return ::WaitForSingleObject(worker, 0) == WAIT_OBJECT_0; }, 30000));
    ::GetExitCodeThread(worker, &exitCode);
    ::CloseHandle(worker);
    EXPECT_TRUE(output.Has(L"临时文件夹路径为:" + cache.path() + L"\r\n"));
    EXPECT_TRUE(output.Has(L"开始清理" + cache.path() + L"文件夹\r\n"));
  }
  g_received = nullptr;
  ::DestroyWindow(main);

  EXPECT_EQ(0u, exitCode);
  EXPECT_EQ(std::vector<WPARAM>{MAKEWPARAM(ID_CACHE_DONE, 0)}, received.commands);
  EXPECT_EQ(std::vector<LPARAM>{0}, received.sources);
  EXPECT_EQ(::GetCurrentThreadId(), received.thread);
  EXPECT_FALSE(InUrlCache(kPageUrl));
  EXPECT_EQ(L"kept=yes", CookieOf(kCookieUrl));
  ExpectOnlyDesktopIniFilesLeft(cache.path());
}

}  // namespace
}  // namespace quarrow
