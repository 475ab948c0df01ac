#include "launcher/SettingHotKeys.h"

#include "app/FileUtils.h"
#include "launcher/HotKeyText.h"

static_assert(quarrow::kHotKeyModAlt == MOD_ALT && quarrow::kHotKeyModControl == MOD_CONTROL &&
                  quarrow::kHotKeyModShift == MOD_SHIFT,
              "hotkey texts carry the system's modifier flags");

namespace quarrow {
namespace {

void RegisterFromSetting(HWND mainWindow, const CHotKeyTable& table, const wchar_t* key, int id) {
  const std::wstring text = ReadSetting(L"Setting", key, L"0");
  if (IsHotKeySettingOff(text)) return;
  ::UnregisterHotKey(mainWindow, id);
  uint32_t modifiers = 0, code = 0;
  ParseHotKey(table, text, &modifiers, &code);
  // Taken by another program: the launcher simply runs without this hotkey.
  ::RegisterHotKey(mainWindow, id, modifiers, code);
}

}  // namespace

void RegisterSettingHotKeys(HWND mainWindow) {
  const CHotKeyTable table;
  RegisterFromSetting(mainWindow, table, L"screentoggle", HOTKEY_SHOW_HIDE);
  RegisterFromSetting(mainWindow, table, L"fullscreen", HOTKEY_FULLSCREEN);
}

}  // namespace quarrow
