#include "app/FinishUpdate.h"

#include <exception>

#include "app/FileUtils.h"

namespace quarrow {
namespace {

constexpr DWORD kReplaceRetryMs = 5000;
constexpr DWORD kRetryStepMs = 100;

bool IsTransient(DWORD error) {
  return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
         error == ERROR_USER_MAPPED_FILE;
}

void StartWithoutArguments(const std::wstring& path) {
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  // The program's own path, quoted, is the whole command line: no arguments.
  std::wstring commandLine = L"\"" + path + L"\"";
  if (::CreateProcessW(path.c_str(), &commandLine[0], &inheritable, &inheritable, FALSE, CREATE_DEFAULT_ERROR_MODE,
                       nullptr, nullptr, &startup, &process)) {
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  }
}

}  // namespace

bool ReplaceFileWithCopy(const std::wstring& source, const std::wstring& target, DWORD retryMs, DWORD* error) {
  std::wstring temporary = target + L".update-tmp";
  if (!::CopyFileW(source.c_str(), temporary.c_str(), FALSE)) {
    *error = ::GetLastError();
    ::DeleteFileW(temporary.c_str());
    return false;
  }
  ::SetFileAttributesW(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
  DWORD waited = 0;
  for (;;) {
    if (::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return true;
    }
    *error = ::GetLastError();
    if (!IsTransient(*error) || waited >= retryMs) break;
    ::Sleep(kRetryStepMs);
    waited += kRetryStepMs;
  }
  ::DeleteFileW(temporary.c_str());
  return false;
}

void RunFinishUpdate(const std::wstring& target) {
  try {
    DWORD error = 0;
    if (ReplaceFileWithCopy(GetModulePath(), target, kReplaceRetryMs, &error)) {
      std::wstring md5;
      GetFileMd5(target, &md5);
      WriteUpdateLog(L"Finish download,current file md5=" + md5);
      WriteUpdateLog(L"Update success.Current Version:" + GetFileVersionString(target));
      WriteUpdateLog(L"=====================");
      StartWithoutArguments(target);
      ::ExitProcess(0);
    }
    WriteUpdateLog(L"Update failure.Error Code:" + std::to_wstring(static_cast<long>(error)));
    WriteUpdateLog(L"=====================");
  } catch (const std::exception& e) {
    WriteUpdateLog(L"Try Commond -d Exception");
    std::string what = e.what();
    WriteUpdateLog(std::wstring(what.begin(), what.begin() + std::min<size_t>(what.size(), 255)));
  }
}

}  // namespace quarrow
