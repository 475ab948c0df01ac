#include "launcher/HotKeyText.h"

namespace quarrow {

CHotKeyTable::CHotKeyTable() {
  m_keys = {
      {L"Alt", 0x12},    {L"Ctrl", 0x11},     {L"Shift", 0x10},    {L"Space", 0x20},
      {L"PageUp", 0x21}, {L"PageDown", 0x22}, {L"End", 0x23},      {L"Home", 0x24},
      {L"Left", 0x25},   {L"Up", 0x26},       {L"Right", 0x27},    {L"Down", 0x28},
      {L"Insert", 0x2D}, {L"Delete", 0x2E},   {L"Num*", 0x6A},     {L"Num+", 0x6B},
      {L"Num-", 0x6D},   {L"NumDel", 0x6E},   {L"Num/", 0x6F},     {L";", 0xBA},
      {L"+", 0xBB},      {L",", 0xBC},        {L"-", 0xBD},        {L".", 0xBE},
      {L"/", 0xBF},      {L"`", 0xC0},        {L"[", 0xDB},        {L"\\", 0xDC},
      {L"]", 0xDD},      {L"'", 0xDE},
  };
  for (uint32_t i = 0; i < 12; ++i) m_keys[L"F" + std::to_wstring(i + 1)] = 0x70 + i;
  for (uint32_t i = 0; i < 10; ++i) {
    m_keys[std::wstring(1, static_cast<wchar_t>(L'0' + i))] = 0x30 + i;
    m_keys[L"Num" + std::to_wstring(i)] = 0x60 + i;
  }
  for (uint32_t i = 0; i < 26; ++i) m_keys[std::wstring(1, static_cast<wchar_t>(L'A' + i))] = 0x41 + i;
}

bool CHotKeyTable::Lookup(const std::wstring& name, uint32_t* code) const {
  auto found = m_keys.find(name);
  if (found == m_keys.end()) return false;
  *code = found->second;
  return true;
}

void ParseHotKey(const CHotKeyTable& table, std::wstring text, uint32_t* modifiers, uint32_t* keyCode) {
  *modifiers = 0;
  *keyCode = 0;
  for (size_t plus; (plus = text.find(L'+')) != std::wstring::npos;) {
    const std::wstring token = text.substr(0, plus);
    text.erase(0, plus + 1);
    if (token == L"Alt") {
      *modifiers |= kHotKeyModAlt;
    } else if (token == L"Ctrl") {
      *modifiers |= kHotKeyModControl;
    } else if (token == L"Shift") {
      *modifiers |= kHotKeyModShift;
    }
  }
  table.Lookup(text, keyCode);
}

bool IsHotKeySettingOff(const std::wstring& text) { return text.empty() || text == L"0"; }

}  // namespace quarrow
