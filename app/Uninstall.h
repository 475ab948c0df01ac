// The two stages of uninstalling. A running executable cannot delete itself,
// so the installed launcher only asks and hands the removal to a temporary
// copy of itself, which removes the installation once started.
#pragma once

#include <string>

namespace quarrow {

// Uninstall-confirm: asks the player; unless the answer is cancel (or the box
// could not be shown), copies self to %APPDATA%\cache\qvtstmpu.exe, starts
// that copy with "-u <self>" and deletes the machine-wide uninstall entry.
void RunUninstallConfirm();
void RunUninstallConfirm(const std::wstring& self);

// Uninstall-cleanup: the desktop and start-menu shortcuts and the res folder
// beside installedExecutable go to the recycle bin, the executable itself is
// deleted, and the start-menu folders left empty go too. Every step runs
// whatever became of the one before.
void RunUninstallCleanup(const std::wstring& installedExecutable);

// Sends a file or folder to the recycle bin without any dialog. True when the
// shell reports success.
bool RecycleItem(const std::wstring& path);
// Tells the shell that path was removed and that its parent folder changed.
void NotifyShellRemoved(const std::wstring& path);
// RecycleItem, then NotifyShellRemoved when it succeeded.
bool RecycleAndNotify(const std::wstring& path);

}  // namespace quarrow
