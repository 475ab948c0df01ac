// Clearing the system's browser cache: the URL cache (cookies kept) and the
// temporary-internet-files folder (desktop.ini kept). Runs on a worker thread
// and reports to the debugger output only.
#pragma once

#include <windows.h>

#include <string>

// WM_COMMAND id the worker sends to the main window when it has finished.
constexpr UINT ID_CACHE_DONE = 10002;

namespace quarrow {

// Deletes every URL cache entry that is not a cookie. False when not even
// the first entry could be read (an empty cache, for one).
bool ClearUrlCache();

// Empties the folder (path without a trailing backslash) except for every
// desktop.ini and the folders holding one; the folder itself stays. A linked
// folder is never followed: only the link is removed, where the system lets
// it go (Wine keeps a link to a non-empty folder). False when it cannot be
// listed.
bool CleanFolder(const std::wstring& folder);

// Worker thread routine, argument = the main window: the URL cache, then the
// temporary-internet-files folder, then WM_COMMAND ID_CACHE_DONE sent (and
// waited for) to the main window. Returns 0.
DWORD WINAPI CleanCacheThread(LPVOID mainWindow);

}  // namespace quarrow
