#include "launcher/SettingHotKeys.h"

#include <gtest/gtest.h>

#include "app/FileUtils.h"
#include "tests/WinTestSupport.h"

namespace quarrow {
namespace {

using namespace testing_support;

const char kShippedSettings[] =
    "[Info]\r\ncode=\r\npwd=\r\nrem=1\r\n[Setting]\r\nsoundoff=0\r\nautostart=0\r\nautologin=0\r\n"
    "screenshots=Ctrl+Shift+A\r\nscreentoggle=F10\r\nfullscreen=F11\r\n[Start]\r\nfirststart=1\r\n";

// The main window stand-in, and another program's window competing for the
// same combinations.
class SettingHotKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetDataFolder();
    m_main = ::CreateWindowW(L"STATIC", L"main", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    m_other = ::CreateWindowW(L"STATIC", L"other", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(m_main && m_other);
  }
  void TearDown() override {
    for (int id : {HOTKEY_SHOW_HIDE, HOTKEY_FULLSCREEN}) ::UnregisterHotKey(m_main, id);
    ::UnregisterHotKey(m_other, kOtherId);
    ::DestroyWindow(m_main);
    ::DestroyWindow(m_other);
    ResetDataFolder();
  }

  void WriteSettings(const std::string& text) {
    CreateDataResFolder();
    ASSERT_TRUE(WriteFileText(GetDataFolder() + L"res\\systemset.ini", text));
  }

  // Whether some window holds the combination: the other window cannot take it.
  bool Held(UINT modifiers, UINT key) {
    if (!::RegisterHotKey(m_other, kOtherId, modifiers, key)) return true;
    ::UnregisterHotKey(m_other, kOtherId);
    return false;
  }

  static constexpr int kOtherId = 77;
  HWND m_main = nullptr;
  HWND m_other = nullptr;
};

TEST_F(SettingHotKeysTest, ShippedSettingsHoldF10AsShowHideAndF11AsFullScreen) {
  WriteSettings(kShippedSettings);
  ASSERT_FALSE(Held(0, VK_F10));
  ASSERT_FALSE(Held(0, VK_F11));

  RegisterSettingHotKeys(m_main);
  EXPECT_TRUE(Held(0, VK_F10));
  EXPECT_TRUE(Held(0, VK_F11));
  EXPECT_FALSE(Held(MOD_CONTROL | MOD_SHIFT, 'A')) << "screenshots is carried in the file only";

  ASSERT_TRUE(::UnregisterHotKey(m_main, HOTKEY_SHOW_HIDE));
  EXPECT_FALSE(Held(0, VK_F10));
  EXPECT_TRUE(Held(0, VK_F11));
  ASSERT_TRUE(::UnregisterHotKey(m_main, HOTKEY_FULLSCREEN));
  EXPECT_FALSE(Held(0, VK_F11));
}

TEST_F(SettingHotKeysTest, ModifiersComeFromTheText) {
  WriteSettings("[Setting]\r\nscreentoggle=Ctrl+Shift+A\r\nfullscreen=Alt+Num5\r\n");
  RegisterSettingHotKeys(m_main);
  EXPECT_TRUE(Held(MOD_CONTROL | MOD_SHIFT, 'A'));
  EXPECT_FALSE(Held(0, 'A'));
  EXPECT_FALSE(Held(MOD_CONTROL, 'A'));
  EXPECT_TRUE(Held(MOD_ALT, VK_NUMPAD5));
  EXPECT_TRUE(::UnregisterHotKey(m_main, HOTKEY_SHOW_HIDE));
  EXPECT_TRUE(::UnregisterHotKey(m_main, HOTKEY_FULLSCREEN));
}

TEST_F(SettingHotKeysTest, MissingEmptyOrZeroSettingRegistersNothing) {
  // A missing key reads as "0"; the bare 0 key must not be taken from every program.
  const char* files[] = {
      nullptr,  // no settings file at all
      "[Setting]\r\nsoundoff=0\r\n",
      "[Setting]\r\nscreentoggle=\r\nfullscreen=0\r\n",
  };
  for (const char* file : files) {
    ResetDataFolder();
    if (file) WriteSettings(file);
    RegisterSettingHotKeys(m_main);
    EXPECT_FALSE(Held(0, '0')) << (file ? file : "no file");
    EXPECT_FALSE(::UnregisterHotKey(m_main, HOTKEY_SHOW_HIDE)) << (file ? file : "no file");
    EXPECT_FALSE(::UnregisterHotKey(m_main, HOTKEY_FULLSCREEN)) << (file ? file : "no file");
  }
}

TEST_F(SettingHotKeysTest, OneSettingAloneRegistersOnlyItsHotKey) {
  WriteSettings("[Setting]\r\nfullscreen=F11\r\n");
  RegisterSettingHotKeys(m_main);
  EXPECT_TRUE(Held(0, VK_F11));
  EXPECT_FALSE(Held(0, VK_F10));
  EXPECT_FALSE(::UnregisterHotKey(m_main, HOTKEY_SHOW_HIDE));
  EXPECT_TRUE(::UnregisterHotKey(m_main, HOTKEY_FULLSCREEN));
}

TEST_F(SettingHotKeysTest, ACombinationHeldElsewhereIsLeftOutQuietly) {
  WriteSettings(kShippedSettings);
  ASSERT_TRUE(::RegisterHotKey(m_other, kOtherId, 0, VK_F10));
  RegisterSettingHotKeys(m_main);
  EXPECT_FALSE(::UnregisterHotKey(m_main, HOTKEY_SHOW_HIDE)) << "F10 stays with the other window";
  EXPECT_TRUE(::UnregisterHotKey(m_main, HOTKEY_FULLSCREEN)) << "F11 is registered all the same";
  EXPECT_TRUE(::UnregisterHotKey(m_other, kOtherId));
}

TEST_F(SettingHotKeysTest, RegisteringAgainReplacesTheEarlierCombination) {
  WriteSettings(kShippedSettings);
  RegisterSettingHotKeys(m_main);
  WriteSettings("[Setting]\r\nscreentoggle=Ctrl+F10\r\nfullscreen=F11\r\n");
  RegisterSettingHotKeys(m_main);
  EXPECT_FALSE(Held(0, VK_F10)) << "the old boss key is given back";
  EXPECT_TRUE(Held(MOD_CONTROL, VK_F10));
  EXPECT_TRUE(Held(0, VK_F11)) << "the same combination again for the same id";
}

}  // namespace
}  // namespace quarrow
