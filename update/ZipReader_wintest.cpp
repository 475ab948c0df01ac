#include "update/ZipReader.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/WinTestSupport.h"
#include "update/ZipTestArchive.h"

namespace {

using quarrow::testing::BuildTestZip;
using quarrow::testing::TestZipItem;
using quarrow::testing::UnixTimeExtra;
using testing_support::ReadFileBytes;
using testing_support::ScratchFolder;

constexpr uint32_t kDos2021 = (((2021 - 1980) << 9 | 6 << 5 | 15) << 16) | (13 << 11 | 45 << 5 | 15);

std::string FileText(const std::wstring& path) {
  std::vector<unsigned char> bytes = ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Names in a folder, sorted, without "." and "..".
std::vector<std::wstring> Listing(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

uint64_t Ticks(const FILETIME& t) { return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; }

FILETIME DosAsUtc(uint32_t dos) {
  FILETIME local{}, utc{};
  ::DosDateTimeToFileTime(static_cast<WORD>(dos >> 16), static_cast<WORD>(dos), &local);
  ::LocalFileTimeToFileTime(&local, &utc);
  return utc;
}

// Times of a file, read without opening its data (a read would move the access time).
void FileTimes(const std::wstring& path, FILETIME* creation, FILETIME* access, FILETIME* write) {
  HANDLE file = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  ::GetFileTime(file, creation, access, write);
  ::CloseHandle(file);
}

// An archive in memory, unpacked below <scratch>\base; the scratch folder
// around it shows whether anything landed outside.
class ZipReaderTest : public ::testing::Test {
 protected:
  void Open(const std::vector<TestZipItem>& items) {
    m_bytes = BuildTestZip(items);
    m_reader = CZipReader::OpenFromMemory(m_bytes.data(), m_bytes.size());
    ASSERT_TRUE(m_reader);
    m_reader->SetBaseDir(Base());
  }
  std::wstring Base() const { return m_scratch / L"base"; }
  std::wstring InBase(const std::wstring& name) const { return Base() + L"\\" + name; }
  // Extracts under the item's own name, as the only caller does.
  int ExtractByName(int index, std::wstring* name = nullptr) {
    ZipItemInfo info;
    int result = m_reader->GetItem(index, &info);
    if (result) return result;
    if (name) *name = info.name;
    return m_reader->ExtractItem(index, info.name);
  }

  ScratchFolder m_scratch;
  std::string m_bytes;
  std::unique_ptr<CZipReader> m_reader;
};

TEST_F(ZipReaderTest, ItemsLandBelowTheBaseFolderUnderTheirCleanedNames) {
  TestZipItem folder{"d/e/", ""};
  folder.externalAttributes = (040755u << 16) | 0x10;
  Open({{"C:\\a\\b.txt", "drive"}, {"x/../y.txt", "climb"}, {"/abs/z.txt", "root"},
        {"n1/n2/n3/n4/deep.txt", std::string(40000, 'd')}, folder,
        {"\xE5\x8D\xB8\xE8\xBD\xBD.txt", "utf8"}});

  ZipItemInfo count;
  ASSERT_EQ(m_reader->GetItem(-1, &count), 0);
  EXPECT_EQ(count.index, 6);
  EXPECT_TRUE(count.name.empty());

  struct Expect {
    const wchar_t* name;
    const char* text;  // nullptr: a folder
  } expected[] = {{L"a\\b.txt", "drive"}, {L"y.txt", "climb"}, {L"abs/z.txt", "root"},
                  {L"n1/n2/n3/n4/deep.txt", nullptr}, {L"d/e/", nullptr}, {L"卸载.txt", "utf8"}};
  for (int i = 0; i < 6; ++i) {
    std::wstring name;
    EXPECT_EQ(ExtractByName(i, &name), 0) << i;
    EXPECT_EQ(name, expected[i].name) << i;
    if (expected[i].text) EXPECT_EQ(FileText(InBase(name)), expected[i].text) << i;
  }
  EXPECT_EQ(FileText(InBase(L"n1\\n2\\n3\\n4\\deep.txt")), std::string(40000, 'd'));
  DWORD attributes = ::GetFileAttributesW(InBase(L"d\\e").c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
}

TEST_F(ZipReaderTest, ReadOnlyItemCannotBeExtractedOverItself) {
  TestZipItem item{"locked.txt", "first"};
  item.versionMadeBy = 0 << 8 | 20;  // MS-DOS host: attribute bits as they are
  item.externalAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE;
  Open({item});
  EXPECT_EQ(ExtractByName(0), 0);
  EXPECT_TRUE(::GetFileAttributesW(InBase(L"locked.txt").c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(m_reader->ExtractItem(0, L"locked.txt"), ZR_CREATE_FAILED);
  EXPECT_EQ(FileText(InBase(L"locked.txt")), "first");
}

TEST_F(ZipReaderTest, EmptyItemGivesAnEmptyFileButReportsFailure) {
  Open({{"empty.txt", ""}});
  EXPECT_NE(ExtractByName(0), 0);
  ASSERT_TRUE(Exists(InBase(L"empty.txt")));
  EXPECT_TRUE(ReadFileBytes(InBase(L"empty.txt")).empty());
  FILETIME creation, access, write;
  FileTimes(InBase(L"empty.txt"), &creation, &access, &write);
  EXPECT_NE(Ticks(write), Ticks(DosAsUtc(kDos2021))) << "the item's times are not applied";
}

TEST_F(ZipReaderTest, UnixTimeBlockWithFlagsOneSetsOnlyTheWriteTime) {
  TestZipItem item{"stamped.txt", "t"};
  item.dosDateTime = kDos2021;
  item.localExtra = UnixTimeExtra(1, {1600000000});
  Open({item});

  ZipItemInfo info;
  ASSERT_EQ(m_reader->GetItem(0, &info), 0);
  const uint64_t unixWrite = (1600000000ull + 11644473600ull) * 10000000ull;
  EXPECT_EQ(Ticks(info.writeTime), unixWrite);
  EXPECT_EQ(Ticks(info.accessTime), Ticks(DosAsUtc(kDos2021)));
  EXPECT_EQ(Ticks(info.creationTime), Ticks(DosAsUtc(kDos2021)));

  ASSERT_EQ(m_reader->ExtractItem(0, info.name), 0);
  FILETIME creation, access, write;
  FileTimes(InBase(L"stamped.txt"), &creation, &access, &write);
  EXPECT_EQ(Ticks(write), unixWrite);
  EXPECT_EQ(Ticks(access), Ticks(DosAsUtc(kDos2021)));
}

TEST_F(ZipReaderTest, NamesThatClimbOrLeaveTheBaseWriteNothing) {
  Open({{"../up.txt", "1"}, {"a/../../up2.txt", "2"}, {"..\\up3.txt", "3"}, {"ok/../.. /up4.txt", "4"},
        {"sub/..", "5"}, {"fine.txt", "6"}});
  std::wstring name;
  EXPECT_EQ(ExtractByName(0, &name), ZR_UNSAFE_NAME);
  EXPECT_EQ(name, L"../up.txt") << "the name is reported as cleaned, climb and all";
  EXPECT_EQ(ExtractByName(1, &name), ZR_UNSAFE_NAME);
  EXPECT_EQ(name, L"../up2.txt");
  EXPECT_EQ(ExtractByName(2), ZR_UNSAFE_NAME);
  EXPECT_EQ(ExtractByName(3), ZR_UNSAFE_NAME);
  EXPECT_EQ(ExtractByName(4), ZR_UNSAFE_NAME);

  // Destinations given by the caller obey the same rule.
  EXPECT_EQ(m_reader->ExtractItem(5, m_scratch / L"outside.txt"), ZR_UNSAFE_NAME);
  EXPECT_EQ(m_reader->ExtractItem(5, Base() + L"2\\sibling.txt"), ZR_UNSAFE_NAME);
  EXPECT_EQ(m_reader->ExtractItem(5, L"CON"), ZR_UNSAFE_NAME);
  EXPECT_EQ(m_reader->ExtractItem(5, L"sub\\nul.txt"), ZR_UNSAFE_NAME);
  EXPECT_EQ(m_reader->ExtractItem(5, InBase(L"inside.txt")), 0);
  EXPECT_EQ(FileText(InBase(L"inside.txt")), "6");

  // Nothing but the base folder and the one file the caller placed in it.
  EXPECT_EQ(Listing(m_scratch.path()), (std::vector<std::wstring>{L"base"}));
  EXPECT_EQ(Listing(Base()), (std::vector<std::wstring>{L"inside.txt"}));
}

TEST_F(ZipReaderTest, DamagedItemsFailWithoutWritingAndOthersStillWork) {
  TestZipItem badHeader{"bad-header.txt", "x"};
  badHeader.badLocalSignature = true;
  TestZipItem badCrc{"bad-crc.txt", std::string(50000, 'c')};
  badCrc.declaredCrc = 7;
  TestZipItem cut{"cut.txt", std::string(50000, 'k')};
  cut.declaredCompressed = 10;
  TestZipItem lzma{"lzma.bin", "x"};
  lzma.methodOverride = 14;
  TestZipItem bzip2{"bzip2.bin", "not really bzip2", false};
  bzip2.methodOverride = 12;
  TestZipItem encrypted{"secret.txt", "x", false};
  encrypted.flags = 1;
  std::string deep;
  for (int i = 0; i < 60; ++i) deep += "level/";
  Open({badHeader, badCrc, cut, lzma, bzip2, encrypted, {std::string(260, 'n'), "x"}, {deep + "f.txt", "x"},
        {"good.txt", "good"}});

  EXPECT_EQ(ExtractByName(0), ZR_BAD_ITEM);
  EXPECT_EQ(m_reader->ExtractItem(0, L"bad-header.txt"), ZR_BAD_ITEM);
  EXPECT_FALSE(Exists(InBase(L"bad-header.txt")));
  EXPECT_EQ(ExtractByName(1), ZR_CRC_MISMATCH);
  EXPECT_EQ(ExtractByName(2), ZR_READ_FAILED);  // a partial file stays
  EXPECT_EQ(ExtractByName(3), ZR_BAD_ITEM);
  EXPECT_EQ(ExtractByName(4), ZR_UNSUPPORTED);
  EXPECT_FALSE(Exists(InBase(L"bzip2.bin")));
  EXPECT_EQ(ExtractByName(5), ZR_UNSUPPORTED);
  EXPECT_FALSE(Exists(InBase(L"secret.txt")));
  EXPECT_EQ(ExtractByName(6), ZR_BAD_ITEM);
  EXPECT_NE(ExtractByName(7), 0);  // longer than a path may be
  EXPECT_EQ(ExtractByName(8), 0);
  EXPECT_EQ(FileText(InBase(L"good.txt")), "good");

  ZipItemInfo info;
  EXPECT_EQ(m_reader->GetItem(9, &info), ZR_BAD_INDEX);
  EXPECT_EQ(m_reader->GetItem(-2, &info), ZR_BAD_INDEX);
  EXPECT_EQ(m_reader->ExtractItem(-1, L"x"), ZR_BAD_INDEX);
  EXPECT_EQ(m_reader->ExtractItem(9, L"x"), ZR_BAD_INDEX);
}

TEST(ZipReader, ArchivesThatCannotBeOpenedGiveNoReader) {
  const std::string good = BuildTestZip({{"a.txt", "a"}, {"b.txt", "b"}});
  EXPECT_TRUE(CZipReader::OpenFromMemory(good.data(), good.size()));
  EXPECT_FALSE(CZipReader::OpenFromMemory(nullptr, 0));
  EXPECT_FALSE(CZipReader::OpenFromMemory(good.data(), good.size() / 2));
  const std::string junk(1000, '\x50');
  EXPECT_FALSE(CZipReader::OpenFromMemory(junk.data(), junk.size()));
}

TEST(ZipReader, BaseFolderDefaultsToTheCurrentDirectory) {
  const std::string bytes = BuildTestZip({{"a.txt", "a"}});
  std::unique_ptr<CZipReader> reader = CZipReader::OpenFromMemory(bytes.data(), bytes.size());
  ASSERT_TRUE(reader);
  wchar_t current[MAX_PATH];
  ::GetCurrentDirectoryW(MAX_PATH, current);
  std::wstring expected = current;
  if (expected.back() != L'\\') expected += L'\\';
  EXPECT_EQ(reader->BaseDir(), expected);
  reader->SetBaseDir(L"C:\\x/");
  EXPECT_EQ(reader->BaseDir(), L"C:\\x/");
  reader->SetBaseDir(L"C:\\x");
  EXPECT_EQ(reader->BaseDir(), L"C:\\x\\");
}

}  // namespace
