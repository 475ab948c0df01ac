// Hotkey texts of the settings file ("F10", "Ctrl+Shift+A"): the fixed table
// of key names and the parse into modifier flags and a virtual-key code.
// No Windows calls.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace quarrow {

// The system's hotkey modifier flags (MOD_ALT, MOD_CONTROL, MOD_SHIFT).
constexpr uint32_t kHotKeyModAlt = 0x1;
constexpr uint32_t kHotKeyModControl = 0x2;
constexpr uint32_t kHotKeyModShift = 0x4;

// Key names to virtual-key codes; names match exactly, case included.
class CHotKeyTable {
 public:
  CHotKeyTable();

  // False when the name is not in the table (*code is left alone then).
  bool Lookup(const std::wstring& name, uint32_t* code) const;
  size_t size() const { return m_keys.size(); }

 private:
  std::map<std::wstring, uint32_t> m_keys;
};

// Modifier names, each followed by '+', then one key name. Unknown modifier
// tokens are ignored; an unknown key name gives code 0. A '+' always
// separates, so the key names "+" and "Num+" cannot be reached.
void ParseHotKey(const CHotKeyTable& table, std::wstring text, uint32_t* modifiers, uint32_t* keyCode);

// A hotkey setting that asks for no hotkey: empty, or "0" - the value the
// settings reader gives for a missing key and the file's word for "off".
// Read as a key name it would be the bare digit 0 taken from every program.
bool IsHotKeySettingOff(const std::wstring& text);

}  // namespace quarrow
