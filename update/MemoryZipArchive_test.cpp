#include "update/MemoryZipArchive.h"

#include <gtest/gtest.h>

#include "update/ZipTestArchive.h"

namespace quarrow {
namespace {

using testing::BuildTestZip;
using testing::TestZipItem;
using testing::UnixTimeExtra;

// Reads the open item through a small buffer; false on a read error or a read
// that stops before the declared end.
bool ReadAll(MemoryZipArchive* zip, std::string* out) {
  char buffer[1000];
  for (;;) {
    int n = zip->ReadItem(buffer, sizeof(buffer));
    if (n <= 0) return false;
    out->append(buffer, n);
    if (zip->ItemAtEnd()) return true;
  }
}

std::string Text(size_t size) {
  std::string text;
  while (text.size() < size) text += "line " + std::to_string(text.size()) + "\r\n";
  return text.substr(0, size);
}

TEST(MemoryZipArchive, DescribesAndReadsItemsInAnyOrder) {
  TestZipItem ini{"systemset.ini", Text(160)};
  ini.localExtra = UnixTimeExtra(1, {1623764730});
  TestZipItem icon{"C:/res/../uninstall.ico", Text(70000), false};
  icon.versionMadeBy = 0 << 8 | 20;
  icon.externalAttributes = 0x21;
  const std::string bytes = BuildTestZip({ini, icon});

  MemoryZipArchive zip;
  ASSERT_TRUE(zip.Open(bytes.data(), bytes.size()));
  EXPECT_EQ(zip.Count(), 2);
  for (int32_t index : {1, 0, 1}) {
    ZipItemRecord record;
    ASSERT_TRUE(zip.Describe(index, &record)) << index;
    const TestZipItem& item = index == 0 ? ini : icon;
    EXPECT_EQ(record.name, index == 0 ? L"systemset.ini" : L"uninstall.ico");
    EXPECT_EQ(record.uncompressedSize, item.data.size());
    EXPECT_EQ(record.attributes, index == 0 ? kZipAttrArchive : kZipAttrReadOnly | kZipAttrArchive);
    EXPECT_EQ(record.dosTicks, std::optional<uint64_t>(132682383300000000ull));
    EXPECT_EQ(record.unixTimes.write, index == 0 ? std::optional<int32_t>(1623764730) : std::nullopt);
    EXPECT_TRUE(record.extractable);

    ASSERT_TRUE(zip.OpenItem(index));
    std::string data;
    EXPECT_TRUE(ReadAll(&zip, &data));
    EXPECT_EQ(data, item.data);
    EXPECT_TRUE(zip.CloseItem());
  }
  EXPECT_FALSE(zip.Describe(2, nullptr));
  EXPECT_FALSE(zip.Describe(-1, nullptr));
  EXPECT_FALSE(zip.OpenItem(2));
}

TEST(MemoryZipArchive, ReadsTheCallersBlockInPlace) {
  std::string bytes = BuildTestZip({{"a.txt", "before", false}});
  MemoryZipArchive zip;
  ASSERT_TRUE(zip.Open(bytes.data(), bytes.size()));
  bytes.replace(bytes.find("before"), 6, "after!");
  ASSERT_TRUE(zip.OpenItem(0));
  std::string data;
  ReadAll(&zip, &data);
  EXPECT_EQ(data, "after!");
  EXPECT_FALSE(zip.CloseItem());  // the CRC was that of "before"
}

TEST(MemoryZipArchive, UnreadableArchivesDoNotOpen) {
  const std::string good = BuildTestZip({{"a.txt", Text(500)}, {"b.txt", Text(500)}});
  MemoryZipArchive zip;
  EXPECT_FALSE(zip.Open(nullptr, 0));
  EXPECT_FALSE(zip.Open(good.data(), 0));
  EXPECT_FALSE(zip.Open(good.data(), good.size() - 22));   // no end record
  EXPECT_FALSE(zip.Open(good.data(), good.size() - 10));   // end record cut short
  EXPECT_FALSE(zip.Open(good.data(), good.size() - 30));   // directory cut short
  EXPECT_FALSE(zip.Open(good.data() + 40, good.size() - 40)); // directory offsets point outside
  std::string junk(4096, 'P');
  EXPECT_FALSE(zip.Open(junk.data(), junk.size()));
  EXPECT_EQ(zip.Count(), 0);
  EXPECT_TRUE(zip.Open(good.data(), good.size()));
}

TEST(MemoryZipArchive, DamagedItemsFailAlone) {
  TestZipItem badHeader{"bad-header.txt", "x"};
  badHeader.badLocalSignature = true;
  TestZipItem longName{std::string(260, 'n'), "x"};
  TestZipItem longestName{std::string(259, 'n'), "x"};
  TestZipItem lzma{"lzma.bin", "x"};
  lzma.methodOverride = 14;
  TestZipItem bzip2{"bzip2.bin", "raw bytes that are no bzip2 stream", false};
  bzip2.methodOverride = 12;
  TestZipItem encrypted{"secret.txt", "x", false};
  encrypted.flags = 1;
  const std::string bytes = BuildTestZip({badHeader, longName, longestName, lzma, bzip2, encrypted});

  MemoryZipArchive zip;
  ASSERT_TRUE(zip.Open(bytes.data(), bytes.size()));
  ZipItemRecord record;
  EXPECT_FALSE(zip.Describe(0, &record));
  EXPECT_FALSE(zip.OpenItem(0));
  EXPECT_FALSE(zip.Describe(1, &record));
  ASSERT_TRUE(zip.Describe(2, &record));
  EXPECT_EQ(record.name, std::wstring(259, L'n'));
  EXPECT_FALSE(zip.Describe(3, &record));
  // Methods the library would hand over undecoded, and encrypted data, are
  // described but never read out as if they were the file.
  for (int32_t index : {4, 5}) {
    ASSERT_TRUE(zip.Describe(index, &record)) << index;
    EXPECT_FALSE(record.extractable) << index;
    EXPECT_FALSE(zip.OpenItem(index)) << index;
  }
}

TEST(MemoryZipArchive, WrongSizesAndChecksumsAreReported) {
  TestZipItem shortCrc{"crc.txt", Text(3000)};
  shortCrc.declaredCrc = 1234;
  TestZipItem tooLong{"long.txt", Text(3000), false};
  tooLong.declaredUncompressed = 1u << 31;  // stored: more declared than there is
  TestZipItem truncated{"trunc.txt", Text(50000)};
  truncated.declaredCompressed = 100;
  TestZipItem empty{"empty.txt", ""};
  const std::string bytes = BuildTestZip({shortCrc, tooLong, truncated, empty});

  MemoryZipArchive zip;
  ASSERT_TRUE(zip.Open(bytes.data(), bytes.size()));
  std::string data;
  ASSERT_TRUE(zip.OpenItem(0));
  EXPECT_TRUE(ReadAll(&zip, &data));
  EXPECT_FALSE(zip.CloseItem());

  for (int32_t index : {1, 2}) {
    ASSERT_TRUE(zip.OpenItem(index)) << index;
    data.clear();
    EXPECT_FALSE(ReadAll(&zip, &data)) << index;
    EXPECT_LT(data.size(), 50000u) << index;
    zip.CloseItem();
  }
  // An empty item has nothing to read: the first read returns 0.
  ASSERT_TRUE(zip.OpenItem(3));
  char buffer[16];
  EXPECT_EQ(zip.ReadItem(buffer, sizeof(buffer)), 0);
  EXPECT_TRUE(zip.ItemAtEnd());
  EXPECT_TRUE(zip.CloseItem());
}

}  // namespace
}  // namespace quarrow
