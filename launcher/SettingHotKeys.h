// The system-wide hotkeys of the main window, read from the settings file.
#pragma once

#include <windows.h>

// Hotkey ids of the main window (WM_HOTKEY's wParam).
constexpr int HOTKEY_SHOW_HIDE = 2;   // [Setting] screentoggle, the boss key
constexpr int HOTKEY_FULLSCREEN = 3;  // [Setting] fullscreen

namespace quarrow {

// Registers [Setting] screentoggle and fullscreen for the main window, once
// while it initialises. A setting that is missing, empty or "0" registers
// nothing; a combination another program holds is silently left out.
void RegisterSettingHotKeys(HWND mainWindow);

}  // namespace quarrow
