// The rules of the per-user installation that need no Windows: where the copy
// of the executable goes, what the uninstall entry says, which copy is newer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quarrow {

// The file-version text with every "." removed, read as a decimal integer
// (leading digits; 0 when there are none): "1.0.1.0" is 1010, and both ""
// (no file) and "None VerSion Supprot" (no version resource) are 0.
int64_t VersionNumber(std::wstring_view fileVersionText);

// True when the running executable should be copied over the installed one:
// the installed copy is missing, has no version, or is older.
bool InstalledCopyNeedsReplacing(int64_t installedVersion, int64_t runningVersion);

// Data folder (no trailing backslash) + "\" + the running executable's file
// name: the text after its last "\", or the whole path when there is none.
std::wstring InstalledExecutablePath(std::wstring_view dataFolder, std::wstring_view runningExecutable);

// The uninstall entry's command: the installed path, one space, "-u"; the path
// is not quoted, as existing entries have it.
std::wstring UninstallCommand(std::wstring_view installedExecutable);

// Icon of the uninstall shortcut: res\uninstall.ico in the target's folder.
std::wstring UninstallIconPath(std::wstring_view target);

}  // namespace quarrow
