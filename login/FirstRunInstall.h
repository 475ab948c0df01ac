// The launcher's own installation, repeated on every start: data folder,
// default files, shortcuts, the uninstall entry and the installed copy of the
// executable. Needs COM initialised on the calling thread.
#pragma once

#include <string>

namespace quarrow {

// Name of the uninstall entry's key and of its per-user copy's section.
extern const wchar_t kUninstallKeyName[];

// Installs the running executable. Failures are ignored step by step.
void FirstRunInstall();
// The same, as if the given executable were the one running.
void FirstRunInstall(const std::wstring& runningExecutable);

// Saves folder\fileName as a shortcut to target with the arguments; with
// uninstallIcon its icon is res\uninstall.ico beside the target. True when saved.
bool CreateShortcut(const std::wstring& arguments, const std::wstring& target, const std::wstring& folder,
                    const std::wstring& fileName, bool uninstallIcon);

}  // namespace quarrow
