#include "launcher/HotKeyText.h"

#include <gtest/gtest.h>

namespace quarrow {
namespace {

TEST(HotKeyTable, HoldsExactlyTheNamedKeys) {
  const CHotKeyTable table;
  EXPECT_EQ(88u, table.size());
  struct Case {
    const wchar_t* name;
    uint32_t code;
  } cases[] = {
      {L"Alt", 0x12},    {L"Ctrl", 0x11},   {L"Shift", 0x10},  {L"Space", 0x20}, {L"PageUp", 0x21},
      {L"PageDown", 0x22}, {L"End", 0x23},  {L"Home", 0x24},   {L"Left", 0x25},  {L"Up", 0x26},
      {L"Right", 0x27},  {L"Down", 0x28},   {L"Insert", 0x2D}, {L"Delete", 0x2E}, {L"F1", 0x70},
      {L"F9", 0x78},     {L"F10", 0x79},    {L"F12", 0x7B},    {L"0", 0x30},     {L"9", 0x39},
      {L"A", 0x41},      {L"Z", 0x5A},      {L"Num0", 0x60},   {L"Num9", 0x69},  {L"Num*", 0x6A},
      {L"Num+", 0x6B},   {L"Num-", 0x6D},   {L"NumDel", 0x6E}, {L"Num/", 0x6F},  {L";", 0xBA},
      {L"+", 0xBB},      {L",", 0xBC},      {L"-", 0xBD},      {L".", 0xBE},     {L"/", 0xBF},
      {L"`", 0xC0},      {L"[", 0xDB},      {L"\\", 0xDC},     {L"]", 0xDD},     {L"'", 0xDE},
  };
  for (const Case& c : cases) {
    uint32_t code = 0;
    EXPECT_TRUE(table.Lookup(c.name, &code)) << testing::PrintToString(std::wstring(c.name));
    EXPECT_EQ(c.code, code) << testing::PrintToString(std::wstring(c.name));
  }
  for (const wchar_t* absent : {L"a", L"F13", L"F0", L"Num.", L"Num10", L"ctrl", L"Esc", L"Tab", L"", L" A", L"Win"}) {
    uint32_t code = 0x1234;
    EXPECT_FALSE(table.Lookup(absent, &code)) << testing::PrintToString(std::wstring(absent));
    EXPECT_EQ(0x1234u, code);
  }
}

TEST(ParseHotKey, ModifiersBeforePlusSignsThenOneKeyName) {
  const CHotKeyTable table;
  struct Case {
    const wchar_t* text;
    uint32_t modifiers;
    uint32_t code;
  } cases[] = {
      {L"F10", 0, 0x79},
      {L"F11", 0, 0x7A},
      {L"Ctrl+Shift+A", 6, 0x41},
      {L"Shift+Ctrl+Alt+Delete", 7, 0x2E},
      {L"Alt+F1", 1, 0x70},
      {L"ctrl+a", 0, 0},           // lower case is neither a modifier nor a key
      {L"Win+A", 0, 0x41},         // unknown token ignored
      {L"Ctrl+Ctrl+A", 2, 0x41},   // flags combine
      {L"Ctrl++", 2, 0},           // '+' always separates: the keys "+" and "Num+" are out of reach
      {L"Ctrl+Num+", 2, 0},
      {L"+", 0, 0},
      {L"Num+", 0, 0},
      {L"Ctrl + A", 0, 0},         // no spaces allowed
      {L"A", 0, 0x41},
      {L"Ctrl", 0, 0x11},          // a modifier name alone is the key itself
      {L"Alt+Shift", 1, 0x10},
      {L"", 0, 0},
      {L"Ctrl+", 2, 0},
      {L"+A", 0, 0x41},            // empty token ignored
      {L"Ctrl+Shift+Nope", 6, 0},  // registration still gets the modifiers
      {L"Num-", 0, 0x6D},
      {L"Shift+\\", 4, 0xDC},
  };
  for (const Case& c : cases) {
    uint32_t modifiers = 0xFFFF, code = 0xFFFF;  // both outputs are always written
    ParseHotKey(table, c.text, &modifiers, &code);
    EXPECT_EQ(c.modifiers, modifiers) << testing::PrintToString(std::wstring(c.text));
    EXPECT_EQ(c.code, code) << testing::PrintToString(std::wstring(c.text));
  }
}

TEST(HotKeySetting, OffOnlyWhenEmptyOrZero) {
  EXPECT_TRUE(IsHotKeySettingOff(L""));
  EXPECT_TRUE(IsHotKeySettingOff(L"0"));
  for (const wchar_t* on : {L"F10", L"Ctrl+0", L"Num0", L"00", L" 0", L"1"}) {
    EXPECT_FALSE(IsHotKeySettingOff(on)) << testing::PrintToString(std::wstring(on));
  }
}

}  // namespace
}  // namespace quarrow
