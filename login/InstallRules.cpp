#include "login/InstallRules.h"

#include "app/NumberText.h"

namespace quarrow {

int64_t VersionNumber(std::wstring_view fileVersionText) {
  std::wstring digits;
  for (wchar_t c : fileVersionText) {
    if (c != L'.') digits.push_back(c);
  }
  return ParseLeadingInteger(digits);
}

bool InstalledCopyNeedsReplacing(int64_t installedVersion, int64_t runningVersion) {
  return installedVersion == 0 || installedVersion < runningVersion;
}

std::wstring InstalledExecutablePath(std::wstring_view dataFolder, std::wstring_view runningExecutable) {
  const size_t slash = runningExecutable.find_last_of(L'\\');
  const std::wstring_view name = slash == std::wstring_view::npos ? runningExecutable : runningExecutable.substr(slash + 1);
  return std::wstring(dataFolder) + L"\\" + std::wstring(name);
}

std::wstring UninstallCommand(std::wstring_view installedExecutable) {
  return std::wstring(installedExecutable) + L" -u";
}

std::wstring UninstallIconPath(std::wstring_view target) {
  const size_t slash = target.find_last_of(L'\\');
  const std::wstring_view folder = slash == std::wstring_view::npos ? std::wstring_view() : target.substr(0, slash);
  return std::wstring(folder) + L"\\res\\uninstall.ico";
}

}  // namespace quarrow
