// Which of its five jobs a start of the executable does, decided from the
// process command line alone.
#pragma once

#include <cstdint>
#include <string>

namespace quarrow {

enum class StartRole {
  FinishUpdate,      // "-d <installed path>": a downloaded copy installs itself
  UninstallConfirm,  // "... -u": ask, then hand over to a temporary copy
  UninstallCleanup,  // "-u <installed path>": the temporary copy removes the installation
  GameWindow,        // "... -frameWnd=<handle> -gameurl=<url>"
  Launcher,          // everything else
};

// Rows tested in order; the first match wins.
StartRole ChooseStartRole(const std::wstring& commandLine);

// The argument of the finish-update and uninstall-cleanup roles: the text
// from the fourth character on (after the switch and one separator).
std::wstring RoleArgument(const std::wstring& commandLine);

struct GameWindowArgs {
  int64_t frameHandle = 0;
  std::wstring gameUrl;
};

// The game-window/launcher choice on its own (the finish-update role falls
// back to it). True, with the arguments filled in, when the line asks for a
// game window with a non-zero frame handle.
bool ParseGameWindowArgs(const std::wstring& commandLine, GameWindowArgs* args);

}  // namespace quarrow
