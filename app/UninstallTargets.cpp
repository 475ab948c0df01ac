#include "app/UninstallTargets.h"

namespace quarrow {

namespace {

std::wstring Join(std::wstring_view folder, std::wstring_view name) {
  std::wstring path(folder);
  path += L'\\';
  path += name;
  return path;
}

}  // namespace

UninstallTargets BuildUninstallTargets(std::wstring_view desktop, std::wstring_view programs,
                                       const UninstallNames& names, std::wstring_view installedExecutable) {
  UninstallTargets targets;
  if (!desktop.empty()) targets.shortcuts.push_back(Join(desktop, names.publisherLink + names.product + L".lnk"));
  if (!programs.empty()) {
    const std::wstring publisherFolder = Join(programs, names.publisher);
    const std::wstring startMenu = Join(publisherFolder, names.product);
    targets.shortcuts.push_back(Join(startMenu, names.uninstallLink + L".lnk"));
    targets.shortcuts.push_back(Join(startMenu, names.product + L".lnk"));
    targets.startMenuFolders = {startMenu, publisherFolder};
  }
  targets.installedExecutable = installedExecutable;
  // Without a folder part "\res" would name the res folder at the drive's root.
  const std::wstring folder = FolderOf(installedExecutable);
  if (installedExecutable.find(L'\\') != std::wstring_view::npos) targets.resFolder = Join(folder, L"res");
  return targets;
}

std::wstring FolderOf(std::wstring_view path) {
  const size_t slash = path.find_last_of(L'\\');
  return slash == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, slash));
}

}  // namespace quarrow
