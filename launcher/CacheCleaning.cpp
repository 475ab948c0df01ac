#include "launcher/CacheCleaning.h"

#include <shlobj.h>
#include <wininet.h>

#include <vector>

#include "framework/ResourceString.h"

namespace quarrow {
namespace {

template <class... Args>
void WriteToDebugger(const wchar_t* format, Args... args) {
  ::OutputDebugStringW(fw::Format(format, args...).c_str());
}

// One URL cache entry at a time, in a buffer sized as the enumeration asks.
class UrlCacheEntry {
 public:
  INTERNET_CACHE_ENTRY_INFOW* info() { return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(m_buffer.data()); }
  DWORD* size() { return &m_size; }

  void Resize() { m_buffer.assign(m_size == 0 ? 1 : m_size, 0); }

  // The next entry: its size first, then the entry into a buffer of that size.
  bool Next(HANDLE find) {
    m_size = 0;
    ::FindNextUrlCacheEntryW(find, nullptr, &m_size);
    Resize();
    return ::FindNextUrlCacheEntryW(find, info(), &m_size);
  }

 private:
  std::vector<BYTE> m_buffer;
  DWORD m_size = 0;
};

bool IsDesktopIni(const wchar_t* name) { return ::lstrcmpiW(name, L"desktop.ini") == 0; }

}  // namespace

bool ClearUrlCache() {
  UrlCacheEntry entry;
  HANDLE find = ::FindFirstUrlCacheEntryW(nullptr, nullptr, entry.size());
  if (find) {
    WriteToDebugger(L"*******第一次查找缓存:缓存大小为:%d。************\r\n", static_cast<int>(*entry.size()));
    ::FindCloseUrlCache(find);
  } else {
    WriteToDebugger(L"*******第一次查找缓存:未找到缓存。************\r\n");
  }

  entry.Resize();
  find = ::FindFirstUrlCacheEntryW(nullptr, entry.info(), entry.size());
  if (!find) {
    WriteToDebugger(L"*******第二次查找缓存:未找到缓存。************\r\n");
    return false;
  }
  WriteToDebugger(L"*******第二次查找缓存:缓存大小为:%d。************\r\n", static_cast<int>(*entry.size()));
  do {
    if (!(entry.info()->CacheEntryType & COOKIE_CACHE_ENTRY)) {
      ::DeleteUrlCacheEntryW(entry.info()->lpszSourceUrlName);
    }
  } while (entry.Next(find));
  ::FindCloseUrlCache(find);
  return true;
}

bool CleanFolder(const std::wstring& folder) {
  WriteToDebugger(L"开始清理%ls文件夹\r\n", folder.c_str());
  // An empty path would list the root of the current drive.
  if (folder.empty()) return false;
  WIN32_FIND_DATAW item;
  HANDLE find = ::FindFirstFileW((folder + L"\\*.*").c_str(), &item);
  if (find == INVALID_HANDLE_VALUE) return false;
  do {
    const std::wstring name = item.cFileName;
    if (name == L"." || name == L".." || IsDesktopIni(item.cFileName)) continue;
    const std::wstring path = folder + L"\\" + name;
    if (item.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
      ::SetFileAttributesW(path.c_str(), item.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
    }
    if (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      // A link to a folder elsewhere goes by itself: what it points at is
      // not the cache's to empty.
      if (!(item.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) CleanFolder(path);
      ::RemoveDirectoryW(path.c_str());
    } else if (!::DeleteFileW(path.c_str())) {
      WriteToDebugger(L"***********删除文件:%ls失败，错误代码:%d******************\r\n", name.c_str(),
                      static_cast<int>(::GetLastError()));
    }
  } while (::FindNextFileW(find, &item));
  ::FindClose(find);
  return true;
}

DWORD WINAPI CleanCacheThread(LPVOID mainWindow) {
  ClearUrlCache();
  wchar_t folder[MAX_PATH] = {};
  if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_INTERNET_CACHE, nullptr, SHGFP_TYPE_CURRENT, folder)) && folder[0]) {
    WriteToDebugger(L"临时文件夹路径为:%ls\r\n", folder);
    CleanFolder(folder);
  }
  ::SendMessageW(static_cast<HWND>(mainWindow), WM_COMMAND, MAKEWPARAM(ID_CACHE_DONE, 0), 0);
  return 0;
}

}  // namespace quarrow
