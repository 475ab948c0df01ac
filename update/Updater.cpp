#include "update/Updater.h"

#include <shlobj.h>
#include <wininet.h>

#include <cstdlib>
#include <exception>
#include <string>
#include <utility>

#include "app/FileUtils.h"
#include "app/NumberText.h"
#include "framework/ResourceString.h"
#include "res/resource.h"
#include "update/HttpBody.h"
#include "update/StallLimit.h"
#include "update/UpdateCheckRules.h"

namespace quarrow {
namespace {

constexpr DWORD kConnectTimeoutMs = 5000;
constexpr size_t kErrorTextLimit = 255;
const wchar_t kFailureLine[] = L"Try Download File Exception";

class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET handle) : m_handle(handle) {}
  ~InternetHandle() { Close(); }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  HINTERNET get() const { return m_handle; }
  explicit operator bool() const { return m_handle != nullptr; }
  void Reset(HINTERNET handle) {
    Close();
    m_handle = handle;
  }
  void Close() {
    if (m_handle) ::InternetCloseHandle(m_handle);
    m_handle = nullptr;
  }

 private:
  HINTERNET m_handle;
};

class FileHandle {
 public:
  FileHandle() = default;
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  void Reset(HANDLE handle) {
    Close();
    m_handle = handle;
  }
  HANDLE get() const { return m_handle; }
  bool ok() const { return m_handle != INVALID_HANDLE_VALUE; }
  void Close() {
    if (ok()) ::CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE m_handle = INVALID_HANDLE_VALUE;
};

// Without an agent string of its own a session names itself after the program.
std::wstring UserAgent() {
  std::wstring path = GetModulePath();
  std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
  size_t dot = name.find_last_of(L'.');
  return dot == std::wstring::npos ? name : name.substr(0, dot);
}

// The system's text for an error code; WinInet's own codes live in wininet.dll.
std::wstring ErrorText(DWORD code) {
  DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  HMODULE source = nullptr;
  if (code >= INTERNET_ERROR_BASE && code <= INTERNET_ERROR_LAST) {
    source = ::GetModuleHandleW(L"wininet.dll");
    if (source) flags |= FORMAT_MESSAGE_FROM_HMODULE;
  }
  wchar_t* buffer = nullptr;
  DWORD length = ::FormatMessageW(flags, source, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length && buffer ? std::wstring(buffer, length) : L"Error " + std::to_wstring(code);
  if (buffer) ::LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
  return text.substr(0, kErrorTextLimit);
}

std::wstring ToWide(const std::string& text) {
  if (text.empty()) return std::wstring();
  int length = ::MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
  return wide;
}

void Log(JobGate& gate, const std::wstring& text) {
  gate.Commit([&] { WriteUpdateLog(text); });
}

// A failure of the network or file layer: the fixed line, then the reason.
void LogFailure(JobGate& gate, const std::wstring& reason) {
  gate.Commit([&] {
    WriteUpdateLog(kFailureLine);
    WriteUpdateLog(reason.substr(0, kErrorTextLimit));
  });
}

void LogFailure(JobGate& gate, DWORD code) { LogFailure(gate, ErrorText(code)); }

// A job given up for silence is logged as WinInet would log its own time-out.
void LogStalled() {
  WriteUpdateLog(kFailureLine);
  WriteUpdateLog(ErrorText(ERROR_INTERNET_TIMEOUT));
}

// Opens url the way every update request does; logs the failure.
HINTERNET OpenUrl(JobGate& gate, HINTERNET session, const std::wstring& url) {
  HINTERNET file = ::InternetOpenUrlW(session, url.c_str(), nullptr, 0, INTERNET_FLAG_TRANSFER_ASCII, 1);
  if (!file) LogFailure(gate, ::GetLastError());
  return file;
}

HINTERNET OpenSession(JobGate& gate) {
  HINTERNET session = ::InternetOpenW(UserAgent().c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  if (!session) LogFailure(gate, ::GetLastError());
  return session;
}

// Queries and logs the status; false (after logging why) when it cannot be read.
bool QueryStatus(JobGate& gate, HINTERNET file, DWORD* status) {
  DWORD size = sizeof(*status);
  if (!::HttpQueryInfoW(file, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, status, &size, nullptr)) {
    LogFailure(gate, ::GetLastError());
    return false;
  }
  Log(gate, L"Http QueryInfoStatusCode:" + std::to_wstring(static_cast<long>(*status)));
  return true;
}

// Content-Length as the server wrote it; "" when it sent none.
std::wstring ContentLengthText(HINTERNET file) {
  wchar_t text[64] = {};
  DWORD size = sizeof(text) - sizeof(wchar_t);
  if (!::HttpQueryInfoW(file, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) return std::wstring();
  return text;
}

BodyCopy ReadBody(JobGate& gate, HINTERNET file, const ChunkWriter& write, DWORD* readError) {
  return CopyBodyInChunks(
      [&](char* buffer, uint32_t capacity, uint32_t* got) {
        DWORD n = 0;
        if (!::InternetReadFile(file, buffer, capacity, &n)) {
          *readError = ::GetLastError();
          return false;
        }
        gate.Progress();
        *got = n;
        return true;
      },
      write);
}

// The version query on the worker: the raw answer, or nothing.
std::string FetchText(JobGate& gate, const std::wstring& url) {
  InternetHandle session(OpenSession(gate));
  if (!session) return std::string();
  DWORD timeout = kConnectTimeoutMs;
  ::InternetSetOptionW(session.get(), INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof(timeout));
  InternetHandle file(OpenUrl(gate, session.get(), url));
  if (!file) return std::string();
  gate.Progress();
  DWORD status = 0;
  if (!QueryStatus(gate, file.get(), &status) || status >= 400) return std::string();

  std::string body;
  DWORD readError = 0;
  if (ReadBody(gate, file.get(), [&](const char* data, uint32_t size) { return body.append(data, size), true; },
               &readError) != BodyCopy::Complete) {
    LogFailure(gate, readError);
    return std::string();
  }
  return body;
}

// A GET of url on a connection of its own, carrying the range header. Logs
// the failure and returns false when it cannot be sent.
bool SendRangedRequest(JobGate& gate, HINTERNET session, const std::wstring& url, const std::wstring& range,
                       InternetHandle* connection, InternetHandle* request) {
  URL_COMPONENTSW parts{};
  parts.dwStructSize = sizeof(parts);
  // Non-zero lengths without buffers ask for pointers into url itself.
  parts.dwHostNameLength = parts.dwUserNameLength = parts.dwPasswordLength = 1;
  parts.dwUrlPathLength = parts.dwExtraInfoLength = 1;
  if (!::InternetCrackUrlW(url.c_str(), 0, 0, &parts)) {
    LogFailure(gate, ::GetLastError());
    return false;
  }
  auto piece = [](const wchar_t* text, DWORD length) { return text ? std::wstring(text, length) : std::wstring(); };
  const std::wstring host = piece(parts.lpszHostName, parts.dwHostNameLength);
  const std::wstring user = piece(parts.lpszUserName, parts.dwUserNameLength);
  const std::wstring password = piece(parts.lpszPassword, parts.dwPasswordLength);
  const std::wstring object =
      piece(parts.lpszUrlPath, parts.dwUrlPathLength) + piece(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  DWORD flags = INTERNET_FLAG_TRANSFER_ASCII;
  if (parts.nScheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;

  connection->Reset(::InternetConnectW(session, host.c_str(), parts.nPort, user.empty() ? nullptr : user.c_str(),
                                       password.empty() ? nullptr : password.c_str(), INTERNET_SERVICE_HTTP, 0, 1));
  if (*connection) {
    request->Reset(::HttpOpenRequestW(connection->get(), L"GET", object.empty() ? L"/" : object.c_str(), nullptr,
                                      nullptr, nullptr, flags, 1));
  }
  const std::wstring header = range + L"\r\n";
  if (!*connection || !*request ||
      !::HttpAddRequestHeadersW(request->get(), header.c_str(), static_cast<DWORD>(-1),
                                HTTP_ADDREQ_FLAG_ADD_IF_NEW) ||
      !::HttpSendRequestW(request->get(), nullptr, 0, nullptr, 0)) {
    LogFailure(gate, ::GetLastError());
    return false;
  }
  return true;
}

struct DownloadResult {
  bool complete = false;
  int32_t total = 0;
};

// The download on the worker, up to the length check.
DownloadResult Download(JobGate& gate, const std::wstring& url, const std::wstring& target) {
  InternetHandle session(OpenSession(gate));
  if (!session) return {};
  InternetHandle file(OpenUrl(gate, session.get(), url));
  if (!file) return {};
  gate.Progress();
  DWORD status = 0;
  if (!QueryStatus(gate, file.get(), &status) || status >= 400) return {};
  const int32_t total = ParseLeadingInt32(ContentLengthText(file.get()));
  Log(gate, L"Content length:" + std::to_wstring(static_cast<long>(total)));

  // What an earlier attempt left behind; opening it exclusively also makes
  // sure nobody else is writing it.
  DWORD existing = 0;
  bool probed = false;
  gate.Commit([&] {
    FileHandle probe;
    probe.Reset(::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!probe.ok()) return;
    existing = ::GetFileSize(probe.get(), nullptr);
    probed = existing != INVALID_FILE_SIZE;
  });
  if (!probed) return {};
  if (static_cast<int64_t>(existing) == total) {
    Log(gate, L"ERROR!Before download dwFileSize == dwToatlSize,exit");
    return {};
  }

  // The range has to be on the request whose body is read. Sending the first
  // request again would make WinInet read the whole of its body first, just
  // to throw it away, so the file would cross the network twice: the first
  // request is let go, and a second one asks for the range.
  file.Close();
  gate.Progress();
  InternetHandle connection(nullptr), ranged(nullptr);
  if (!SendRangedRequest(gate, session.get(), url, RangeHeader(existing, total), &connection, &ranged)) return {};
  gate.Progress();

  FileHandle out;
  gate.Commit([&] {
    out.Reset(::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (out.ok() && ::SetFilePointer(out.get(), 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
        ::GetLastError() != NO_ERROR) {
      out.Close();
    }
  });
  if (!out.ok()) return {};
  // A caller that gives up on a stalled download must not find the file
  // still locked by this worker.
  gate.WhenAbandoned([&] { out.Close(); });

  uint64_t received = 0;
  DWORD readError = 0, writeError = 0;
  BodyCopy copy = ReadBody(
      gate, ranged.get(),
      [&](const char* data, uint32_t size) {
        bool written = false;
        gate.Commit([&] {
          DWORD done = 0;
          written = ::WriteFile(out.get(), data, size, &done, nullptr) && done == size;
          if (!written) writeError = ::GetLastError();
        });
        if (written) received += size;
        return written;
      },
      &readError);
  gate.WhenAbandoned(nullptr);
  out.Close();
  ranged.Close();
  if (copy == BodyCopy::ReadFailed) {
    LogFailure(gate, readError);
    return {};
  }
  if (copy == BodyCopy::WriteFailed) {
    LogFailure(gate, writeError);
    return {};
  }
  return {IsDownloadComplete(existing, received, total), total};
}

uint64_t FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

CUpdater::CUpdater(const std::wstring& tempFileName, const UpdateStallLimits& limits) : m_limits(limits) {
  wchar_t appData[MAX_PATH] = {};
  ::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
  std::wstring cache = std::wstring(appData) + L"\\cache";
  if (!FolderExists(cache)) ::CreateDirectoryW(cache.c_str(), nullptr);
  m_strTempExePath = cache + tempFileName;
  if (FileExists(m_strTempExePath)) ::DeleteFileW(m_strTempExePath.c_str());

  std::wstring module = GetModulePath();
  m_strInstalledExePath = GetDataFolder() + module.substr(module.find_last_of(L'\\') + 1);
}

bool CUpdater::CheckVersion(const std::wstring& baseUrl, const std::wstring& queryPath, const std::wstring& version) {
  m_strQueryUrl = VersionQueryUrl(baseUrl, queryPath, version);
  std::wstring answer = HttpGetText(m_strQueryUrl);
  WriteUpdateLog(L"Server response check version msg:" + answer);
  if (!IsUpdateOffered(answer)) {
    WriteUpdateLog(L"Finish Update.");
    WriteUpdateLog(L"=====================");
    return false;
  }
  m_strDownloadUrl = answer;
  return true;
}

std::wstring CUpdater::HttpGetText(const std::wstring& url) {
  std::string body;
  bool finished = RunWithStallLimit(
      [url, &body](JobGate& gate) {
        try {
          std::string text = FetchText(gate, url);
          gate.Commit([&] { body = std::move(text); });
        } catch (const std::exception& e) {
          LogFailure(gate, ToWide(e.what()));
        }
      },
      m_limits.versionQueryMs);
  if (!finished) {
    LogStalled();
    return std::wstring();
  }
  // The answer is 8-bit text that ends at its first zero byte.
  body.resize(body.find('\0') == std::string::npos ? body.size() : body.find('\0'));
  return ToWide(body);
}

bool CUpdater::DownloadUpdate(const std::wstring& url) {
  WriteUpdateLog(L"ExcuUpdate,URL=" + url);
  DownloadResult result;
  const std::wstring target = m_strTempExePath;
  bool finished = RunWithStallLimit(
      [url, target, &result](JobGate& gate) {
        try {
          DownloadResult outcome = Download(gate, url, target);
          gate.Commit([&] { result = outcome; });
        } catch (const std::exception& e) {
          LogFailure(gate, ToWide(e.what()));
        }
      },
      m_limits.downloadMs);
  if (!finished) {
    LogStalled();
    return false;
  }
  // Fewer or more bytes than announced: the partial file stays for the next
  // check to delete.
  if (!result.complete) return false;
  WriteUpdateLog(L"Finish download,file size=" + std::to_wstring(static_cast<long>(result.total)));
  std::wstring md5;
  GetFileMd5(m_strTempExePath, &md5);
  WriteUpdateLog(L"Finish download,file md5=" + md5);
  return true;
}

void CUpdater::ExcuUpdate(const std::wstring& url) {
  if (DownloadUpdate(url)) HandOver();
}

void CUpdater::HandOver() {
  // No program name in front: the finish-update role reads the path from the
  // fourth character on.
  std::wstring commandLine = L"-d " + m_strInstalledExePath;
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (::CreateProcessW(m_strTempExePath.c_str(), &commandLine[0], &inheritable, &inheritable, FALSE,
                       CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr, &startup, &process)) {
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  }
  // The new copy takes over whether or not it could be started.
  std::exit(0);
}

void RunUpdateCheck(const std::wstring& baseUrl, const std::wstring& queryPath, const std::wstring& version) {
  std::wstring log = GetDataFolder() + L"res\\update.log";
  if (FileExists(log) && ShouldDropUpdateLog(FileSize(log))) ::DeleteFileW(log.c_str());

  CUpdater updater(fw::LoadResString(IDS_DOWNLOAD_TEMP_NAME));
  WriteUpdateLog(VersionQueryUrl(baseUrl, queryPath, version));
  if (updater.CheckVersion(baseUrl, queryPath, version)) updater.ExcuUpdate(updater.DownloadUrl());
}

void RunUpdateCheck() {
  RunUpdateCheck(fw::LoadResString(IDS_VERSION_BASE_URL), fw::LoadResString(IDS_VERSION_QUERY_PATH),
                 GetFileVersionString(GetModulePath()));
}

}  // namespace quarrow
