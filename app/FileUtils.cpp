#include "app/FileUtils.h"

#include <windows.h>
#include <shlobj.h>
#include <wincrypt.h>

#include <vector>

#include "app/UpdateLogLine.h"
#include "framework/ResourceString.h"
#include "res/resource.h"

namespace quarrow {
namespace {

// Closes a file handle on every way out.
struct FileHandle {
  HANDLE h = INVALID_HANDLE_VALUE;
  explicit FileHandle(HANDLE handle) : h(handle) {}
  ~FileHandle() {
    if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
  }
  bool ok() const { return h != INVALID_HANDLE_VALUE; }
};

}  // namespace

std::wstring GetDataFolder() {
  static std::wstring cached;
  if (!cached.empty()) return cached;
  wchar_t appData[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData))) return L"";
  cached = std::wstring(appData) + L"\\" + fw::LoadResString(IDS_INSTALL_FOLDER) + L"\\" +
           fw::LoadResString(IDS_GAME_CODE) + L"\\";
  return cached;
}

int WriteUpdateLog(const std::wstring& message) {
  try {
    std::wstring path = GetDataFolder() + L"res\\update.log";
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    std::wstring line = FormatUpdateLogLine(
        {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond}, message);
    line += L"\r\n";

    // Readers and other writers may have it open too; each line is one write.
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) {
      file.h = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
      if (!file.ok()) return -1;
    }
    if (::SetFilePointer(file.h, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR)
      return -1;
    DWORD bytes = static_cast<DWORD>(line.size() * sizeof(wchar_t));
    DWORD written = 0;
    if (!::WriteFile(file.h, line.data(), bytes, &written, nullptr) || written != bytes) return -1;
    return 0;
  } catch (...) {
    return -1;
  }
}

std::wstring GetFileVersionString(const std::wstring& path) {
  if (!FileExists(path)) return L"";
  DWORD ignored = 0;
  DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return L"None VerSion Supprot";
  std::vector<BYTE> info(size);
  if (!::GetFileVersionInfoW(path.c_str(), 0, size, info.data())) return L"";

  struct Translation {
    WORD language;
    WORD codePage;
  };
  Translation* table = nullptr;
  UINT tableBytes = 0;
  if (!::VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&table),
                        &tableBytes)) {
    return L"";
  }
  std::wstring result;
  for (UINT i = 0; i < tableBytes / sizeof(Translation); ++i) {
    wchar_t query[64];
    swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\FileVersion", table[i].language, table[i].codePage);
    wchar_t* text = nullptr;
    UINT chars = 0;
    if (::VerQueryValueW(info.data(), query, reinterpret_cast<void**>(&text), &chars) && text && chars > 0) {
      result += text;
    }
  }
  return result;
}

bool GetFileMd5(const std::wstring& path, std::wstring* digest) {
  FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.ok()) return false;

  HCRYPTPROV provider = 0;
  if (!::CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT)) return false;
  HCRYPTHASH hash = 0;
  if (!::CryptCreateHash(provider, CALG_MD5, 0, 0, &hash)) {
    ::CryptReleaseContext(provider, 0);
    return false;
  }

  // Block by block: memory stays flat however large the executable is.
  bool ok = true;
  std::vector<BYTE> block(64 * 1024);
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.h, block.data(), static_cast<DWORD>(block.size()), &got, nullptr)) {
      ok = false;
      break;
    }
    if (got == 0) break;
    if (!::CryptHashData(hash, block.data(), got, 0)) {
      ok = false;
      break;
    }
  }

  BYTE value[64];
  DWORD length = sizeof(value);
  if (ok && ::CryptGetHashParam(hash, HP_HASHVAL, value, &length, 0)) {
    static const wchar_t kHex[] = L"0123456789abcdef";
    for (DWORD i = 0; i < length; ++i) {
      digest->push_back(kHex[value[i] >> 4]);
      digest->push_back(kHex[value[i] & 15]);
    }
  } else {
    ok = false;
  }
  if (!::CryptDestroyHash(hash)) ok = false;
  if (!::CryptReleaseContext(provider, 0)) ok = false;
  return ok;
}

bool IsFolderEmpty(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW((folder + L"\\*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return true;
  bool empty = true;
  do {
    if (wcscmp(found.cFileName, L".") != 0 && wcscmp(found.cFileName, L"..") != 0) {
      empty = false;
      break;
    }
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return empty;
}

std::wstring ReadSetting(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue) {
  std::wstring path = GetDataFolder() + fw::LoadResString(IDS_SETTINGS_FILE);
  wchar_t value[MAX_PATH] = {};
  ::GetPrivateProfileStringW(section, key, defaultValue, value, MAX_PATH, path.c_str());
  return value;
}

std::wstring GetModulePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return L"";
    if (n < buffer.size()) return std::wstring(buffer.data(), n);
    if (buffer.size() >= 32768) return L"";
    buffer.resize(buffer.size() * 2);
  }
}

bool FileExists(const std::wstring& path) {
  DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
  DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace quarrow
