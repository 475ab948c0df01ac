#include "app/FileUtils.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <regex>

#include "tests/WinTestSupport.h"

namespace quarrow {
namespace {

using namespace testing_support;

class DataFolderTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetDataFolder(); }
  void TearDown() override { ResetDataFolder(); }
};

TEST_F(DataFolderTest, DataFolderIsUnderRoamingAppDataAndEndsWithBackslash) {
  wchar_t appData[MAX_PATH];
  ASSERT_EQ(S_OK, ::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData));
  EXPECT_EQ(GetDataFolder(), std::wstring(appData) + L"\\orbix_v1\\vor\\");
  EXPECT_FALSE(FolderExists(GetDataFolder())) << "asking for the folder must not create it";
}

TEST_F(DataFolderTest, UpdateLogCreatesThenAppendsUtf16LinesWithoutBom) {
  const std::wstring log = GetDataFolder() + L"res\\update.log";
  EXPECT_EQ(-1, WriteUpdateLog(L"lost")) << "no res folder: the writer makes no folders";
  EXPECT_FALSE(FileExists(log));

  CreateDataResFolder();
  EXPECT_EQ(0, WriteUpdateLog(L"Server response check version msg:0"));
  EXPECT_EQ(0, WriteUpdateLog(L"更新 =====================\t%s"));

  std::vector<unsigned char> bytes = ReadFileBytes(log);
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_FALSE(bytes[0] == 0xFF && bytes[1] == 0xFE) << "no byte-order mark";
  EXPECT_EQ(0, memcmp(&bytes[bytes.size() - 4], "\r\0\n\0", 4));

  std::vector<std::wstring> lines = ReadUtf16Lines(log);
  ASSERT_EQ(2u, lines.size());
  const std::wregex stamp(L"^\\d{4}-[ \\d]\\d-[ \\d]\\d [ \\d]\\d:[ \\d]\\d:[ \\d]\\d : \tUpdateModule\t(.*)$");
  std::wsmatch match;
  ASSERT_TRUE(std::regex_match(lines[0], match, stamp)) << Narrow(lines[0]);
  EXPECT_EQ(match[1].str(), L"Server response check version msg:0");
  ASSERT_TRUE(std::regex_match(lines[1], match, stamp)) << Narrow(lines[1]);
  EXPECT_EQ(match[1].str(), L"更新 =====================\t%s");
}

TEST(FileVersion, ThreeCasesAndTranslationsRunTogether) {
  EXPECT_EQ(L"", GetFileVersionString(BuildFolder() + L"\\no-such-file.exe"));
  EXPECT_EQ(L"None VerSion Supprot", GetFileVersionString(BuildFolder() + L"\\fixture_no_version.exe"));
  EXPECT_EQ(L"2.5.0.12.5.0.1-cn", GetFileVersionString(BuildFolder() + L"\\fixture_two_translations.exe"));
  EXPECT_EQ(L"1.0.1.0", GetFileVersionString(LauncherPath()));
}

TEST(FileMd5, DigestsOfEmptySmallAndMultiBlockFiles) {
  ScratchFolder folder;
  std::string big(200000, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i % 251);
  struct Case {
    std::string content;
    const wchar_t* md5;
  } cases[] = {
      {"", L"d41d8cd98f00b204e9800998ecf8427e"},
      {"abc", L"900150983cd24fb0d6963f7d28e17f72"},
      {big, L"415d6e662118c229c6ad3f950c24702a"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(WriteFileText(folder / L"f.bin", c.content));
    std::wstring digest;
    EXPECT_TRUE(GetFileMd5(folder / L"f.bin", &digest));
    EXPECT_EQ(c.md5, digest) << c.content.size() << " bytes";
  }
  std::wstring untouched = L"prefix:";
  EXPECT_FALSE(GetFileMd5(folder / L"missing.bin", &untouched));
  EXPECT_EQ(L"prefix:", untouched);

  // Another reader may hold the file open; hashing still works.
  HANDLE reader = ::CreateFileW((folder / L"f.bin").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
  std::wstring digest = L"x";
  EXPECT_TRUE(GetFileMd5(folder / L"f.bin", &digest));
  EXPECT_EQ(L"x415d6e662118c229c6ad3f950c24702a", digest) << "appends to what the caller passed";
  ::CloseHandle(reader);
}

TEST(FolderEmpty, OnlyDotEntriesOrUnlistableCountAsEmpty) {
  ScratchFolder folder;
  EXPECT_TRUE(IsFolderEmpty(folder.path()));
  EXPECT_TRUE(IsFolderEmpty(folder / L"missing"));
  ASSERT_TRUE(::CreateDirectoryW((folder / L"sub").c_str(), nullptr));
  EXPECT_FALSE(IsFolderEmpty(folder.path())) << "an empty subfolder still counts";
  EXPECT_TRUE(IsFolderEmpty(folder / L"sub"));
  ASSERT_TRUE(WriteFileText(folder / L"sub\\f.txt", "x"));
  EXPECT_FALSE(IsFolderEmpty(folder / L"sub"));
}

TEST_F(DataFolderTest, ReadSettingFallsBackToTheDefault) {
  EXPECT_EQ(L"0", ReadSetting(L"Setting", L"screentoggle", L"0")) << "missing file";

  CreateDataResFolder();
  ASSERT_TRUE(WriteFileText(GetDataFolder() + L"res\\systemset.ini",
                            "[Setting]\r\nscreentoggle=F10\r\nlong=" + std::string(300, 'x') + "\r\n"));
  EXPECT_EQ(L"F10", ReadSetting(L"setting", L"SCREENTOGGLE", L"0")) << "names match without regard to case";
  EXPECT_EQ(L"F11", ReadSetting(L"Setting", L"fullscreen", L"F11")) << "missing key";
  EXPECT_EQ(259u, ReadSetting(L"Setting", L"long", L"").size()) << "cut to the 260-character buffer";
}

}  // namespace
}  // namespace quarrow
