#include "login/DefaultResources.h"

#include <gtest/gtest.h>

#include "app/FileUtils.h"
#include "framework/Application.h"
#include "login/Settings.h"
#include "res/resource.h"
#include "tests/WinTestSupport.h"
#include "update/ZipReader.h"
#include "update/ZipTestArchive.h"

namespace quarrow {
namespace {

using namespace testing_support;

const char kDefaultSettings[] =
    "[Info]\r\ncode=\r\npwd=\r\nrem=1\r\n[Setting]\r\nsoundoff=0\r\nautostart=0\r\nautologin=0\r\n"
    "screenshots=Ctrl+Shift+A\r\nscreentoggle=F10\r\nfullscreen=F11\r\n[Start]\r\nfirststart=1\r\n";

std::string FileText(const std::wstring& path) {
  std::vector<unsigned char> bytes = ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

// A data folder (both levels) without its res folder, as the first-run step
// leaves it before unpacking.
class DefaultResourcesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetDataFolder();
    CreateDataResFolder();
    ::RemoveDirectoryW(Res().c_str());
  }
  void TearDown() override { ResetDataFolder(); }
  static std::wstring Data() {
    std::wstring data = GetDataFolder();
    return data.substr(0, data.size() - 1);
  }
  static std::wstring Res() { return Data() + L"\\res"; }
};

TEST(DefaultsArchive, TwoDeflatedItemsInOrder) {
  HMODULE module = fw::Application::ResourceModule();
  HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(IDR_DEFAULTS_ZIP), L"ZIP");
  ASSERT_NE(resource, nullptr);
  const void* data = ::LockResource(::LoadResource(module, resource));
  std::unique_ptr<CZipReader> reader = CZipReader::OpenFromMemory(data, ::SizeofResource(module, resource));
  ASSERT_TRUE(reader);
  ZipItemInfo info;
  ASSERT_EQ(reader->GetItem(-1, &info), 0);
  ASSERT_EQ(info.index, 2);
  ASSERT_EQ(reader->GetItem(0, &info), 0);
  EXPECT_EQ(info.name, L"systemset.ini");
  EXPECT_EQ(info.uncompressedSize, 160u);
  EXPECT_LT(info.compressedSize, info.uncompressedSize) << "deflated, not stored";
  EXPECT_EQ(info.attributes, static_cast<uint32_t>(FILE_ATTRIBUTE_ARCHIVE));
  ASSERT_EQ(reader->GetItem(1, &info), 0);
  EXPECT_EQ(info.name, L"uninstall.ico");
  EXPECT_EQ(info.uncompressedSize, 1150u);
  EXPECT_LT(info.compressedSize, info.uncompressedSize);
}

TEST_F(DefaultResourcesTest, FirstStartUnpacksBothFilesAndMarksTheSettings) {
  ExtractDefaultResources(Data());
  ASSERT_TRUE(FolderExists(Res()));
  std::string expected = kDefaultSettings;
  expected.insert(expected.find("[Start]"), "start=1001\r\n");
  EXPECT_EQ(FileText(Res() + L"\\systemset.ini"), expected);

  std::vector<unsigned char> icon = ReadFileBytes(Res() + L"\\uninstall.ico");
  ASSERT_EQ(icon.size(), 1150u);
  const unsigned char header[] = {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0};
  EXPECT_TRUE(std::equal(std::begin(header), std::end(header), icon.begin())) << "one 16x16 entry, 32 bpp";
}

TEST_F(DefaultResourcesTest, ExistingSettingsAreKeptAndOnlyMarked) {
  ::CreateDirectoryW(Res().c_str(), nullptr);
  ASSERT_TRUE(WriteFileText(Res() + L"\\systemset.ini", "[Setting]\r\nscreentoggle=F9\r\n"));
  ASSERT_TRUE(WriteFileText(Res() + L"\\uninstall.ico", "old icon"));
  ASSERT_TRUE(WriteFileText(Res() + L"\\data.zip", "PK"));

  ExtractDefaultResources(Data());
  EXPECT_EQ(FileText(Res() + L"\\systemset.ini"), "[Setting]\r\nscreentoggle=F9\r\nstart=1001\r\n");
  EXPECT_EQ(ReadFileBytes(Res() + L"\\uninstall.ico").size(), 1150u);
  EXPECT_FALSE(FileExists(Res() + L"\\data.zip"));
}

TEST_F(DefaultResourcesTest, MarkerReadAsADecimalPrefixDecidesWhetherToUnpack) {
  struct Case {
    const char* start;  // nullptr: no key
    bool unpacks;
  } cases[] = {{"1001", false}, {"1001abc", false}, {"01001", false}, {"1000", true},
               {"-1", true},     {"abc", true},       {nullptr, true}};
  ::CreateDirectoryW(Res().c_str(), nullptr);
  for (const Case& c : cases) {
    std::string settings = "[Setting]\r\n";
    if (c.start) settings += std::string("start=") + c.start + "\r\n";
    ASSERT_TRUE(WriteFileText(Res() + L"\\systemset.ini", settings));
    ::DeleteFileW((Res() + L"\\uninstall.ico").c_str());

    ExtractDefaultResources(Data());
    EXPECT_EQ(FileExists(Res() + L"\\uninstall.ico"), c.unpacks) << (c.start ? c.start : "(none)");
    const std::string before = c.start ? c.start : "";
    EXPECT_EQ(ReadSetting(L"Setting", L"start", L""), c.unpacks ? L"1001" : std::wstring(before.begin(), before.end()))
        << (c.start ? c.start : "(none)");
  }
}

TEST_F(DefaultResourcesTest, UnreadableArchiveLeavesTheInstallationUnmarked) {
  ::CreateDirectoryW(Res().c_str(), nullptr);
  ASSERT_TRUE(WriteFileText(Res() + L"\\data.zip", "PK"));
  const std::string junk = "not an archive";
  ExtractDefaultFiles(Data(), junk.data(), junk.size());
  EXPECT_FALSE(FileExists(Res() + L"\\data.zip"));
  EXPECT_EQ(ReadSetting(L"Setting", L"start", L"-1"), L"-1") << "nothing was unpacked, so nothing is marked";

  ExtractDefaultResources(Data());  // the next start unpacks
  EXPECT_EQ(ReadSetting(L"Setting", L"screentoggle", L""), L"F10");
  EXPECT_EQ(ReadSetting(L"Setting", L"start", L""), L"1001");
}

TEST_F(DefaultResourcesTest, OnlyTheExactNameProtectsTheSettings) {
  ::CreateDirectoryW(Res().c_str(), nullptr);
  ASSERT_TRUE(WriteFileText(Res() + L"\\systemset.ini", "[Setting]\r\nscreentoggle=F9\r\n"));
  const std::string archive = testing::BuildTestZip({{"SystemSet.ini", "[Setting]\r\nfullscreen=F8\r\n"}});
  ExtractDefaultFiles(Data(), archive.data(), archive.size());
  // Names on Windows ignore case: the item replaced the player's file.
  EXPECT_EQ(ReadSetting(L"Setting", L"screentoggle", L"none"), L"none");
  EXPECT_EQ(ReadSetting(L"Setting", L"fullscreen", L""), L"F8");
}

}  // namespace
}  // namespace quarrow
