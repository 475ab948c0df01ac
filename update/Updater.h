// The self-update: ask the version server whether a newer launcher exists,
// download it next to the user's data and hand over to it. Nothing is shown;
// every step goes to the update log.
#pragma once

#include <windows.h>

#include <string>

namespace quarrow {

// How long the network may stay silent before the check or the download is
// given up. Progress restarts the clock, so a slow line that keeps moving is
// never cut off; a hung server costs at most this long.
struct UpdateStallLimits {
  DWORD versionQueryMs = 20000;
  DWORD downloadMs = 30000;
};

class CUpdater {
 public:
  // tempFileName is string 118 ("\qvvortmp.exe"). Creates %APPDATA%\cache
  // and deletes a download left there by an earlier check.
  explicit CUpdater(const std::wstring& tempFileName, const UpdateStallLimits& limits = {});

  // Asks "<base>/<path><version>"; true, with DownloadUrl() set, when the
  // answer names a new launcher.
  bool CheckVersion(const std::wstring& baseUrl, const std::wstring& queryPath, const std::wstring& version);

  // The body of a GET, "" on any failure (which is logged).
  std::wstring HttpGetText(const std::wstring& url);

  // Downloads url and hands over to it; returns only when that failed. On
  // success this process ends with exit code 0.
  void ExcuUpdate(const std::wstring& url);

  // ExcuUpdate up to the hand-over: true when the temporary file holds
  // exactly the announced length (its size and MD5 are logged).
  bool DownloadUpdate(const std::wstring& url);

  const std::wstring& QueryUrl() const { return m_strQueryUrl; }
  const std::wstring& DownloadUrl() const { return m_strDownloadUrl; }
  const std::wstring& TempExePath() const { return m_strTempExePath; }
  const std::wstring& InstalledExePath() const { return m_strInstalledExePath; }

 private:
  // Starts the download with "-d <installed path>" and ends this process.
  [[noreturn]] void HandOver();

  std::wstring m_strQueryUrl;
  std::wstring m_strTempExePath;
  std::wstring m_strInstalledExePath;
  std::wstring m_strDownloadUrl;
  UpdateStallLimits m_limits;
};

// The whole check with this build's version server (string 191), query path
// (string 192) and the running executable's version.
void RunUpdateCheck();
// The same against the server and version given.
void RunUpdateCheck(const std::wstring& baseUrl, const std::wstring& queryPath, const std::wstring& version);

}  // namespace quarrow
