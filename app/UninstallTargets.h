// What uninstalling removes, as paths: built from the shell's folders, the
// product's names and the installed executable's path. No Windows calls.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quarrow {

struct UninstallNames {
  std::wstring product;        // start-menu folder and shortcut names
  std::wstring publisher;      // start-menu parent folder
  std::wstring publisherLink;  // prefix of the desktop shortcut's name
  std::wstring uninstallLink;  // the uninstall shortcut's name, without ".lnk"
};

struct UninstallTargets {
  // To the recycle bin, in this order: desktop, uninstall, start menu.
  std::vector<std::wstring> shortcuts;
  // Deleted for good; may not exist.
  std::wstring installedExecutable;
  // The res folder beside the executable; empty when its path names no folder.
  std::wstring resFolder;
  // To the recycle bin when empty, innermost first.
  std::vector<std::wstring> startMenuFolders;
};

// A folder the shell could not name (empty) contributes nothing: a path built
// on it would point at the root of the current drive instead.
UninstallTargets BuildUninstallTargets(std::wstring_view desktop, std::wstring_view programs,
                                       const UninstallNames& names, std::wstring_view installedExecutable);

// The path cut before its last backslash; empty when it has none.
std::wstring FolderOf(std::wstring_view path);

}  // namespace quarrow
