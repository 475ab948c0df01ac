#include "update/ZipItemMetadata.h"

#include <gtest/gtest.h>

#include <string>

namespace quarrow {
namespace {

constexpr uint32_t RO = kZipAttrReadOnly, HID = kZipAttrHidden, SYS = kZipAttrSystem, DIR = kZipAttrDirectory,
                   ARC = kZipAttrArchive;

TEST(ZipItemMetadata, AttributesFollowTheHostSystem) {
  struct Case {
    uint32_t host;
    uint32_t external;
    uint32_t attributes;
  } cases[] = {
      {0, 0x01, RO},                               // MS-DOS
      {0, 0x27, RO | HID | SYS | ARC},
      {0, 0xFF, RO | HID | SYS | DIR | ARC},       // other low bits are not attributes
      {0, 0100644u << 16, 0},                      // a Unix mode means nothing here
      {7, 0x04, SYS},                              // OS/2 HPFS
      {11, 0x10, DIR},                             // NTFS
      {14, 0x02, HID},                             // VFAT
      {3, 0100644u << 16, ARC},                    // Unix, owner may write
      {3, 0100444u << 16, RO | ARC},
      {3, (040755u << 16) | 0x10, DIR | ARC},
      {3, 0x27, RO | ARC},                         // DOS bits on a Unix host are ignored
      {19, 0100600u << 16, ARC},                   // OS X counts as Unix
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ZipItemAttributes((c.host << 8) | 20, c.external), c.attributes)
        << "host " << c.host << " external " << std::hex << c.external;
  }
}

uint32_t Dos(int year, int month, int day, int hour, int minute, int twoSeconds) {
  return static_cast<uint32_t>(((year - 1980) << 9 | month << 5 | day) << 16 | (hour << 11 | minute << 5 | twoSeconds));
}

TEST(ZipItemMetadata, DosDateAndTimeAsTicks) {
  struct Case {
    uint32_t dos;
    uint64_t ticks;  // 0: no real moment
  } cases[] = {
      {Dos(2021, 6, 15, 13, 45, 15), 132682383300000000ull},
      {Dos(1980, 1, 1, 0, 0, 0), 119600064000000000ull},
      {Dos(2000, 2, 29, 12, 0, 0), 125962992000000000ull},
      {Dos(2107, 12, 31, 23, 59, 29), 159992927980000000ull},
      {Dos(2100, 2, 29, 0, 0, 0), 0},    // not a leap year
      {Dos(2021, 0, 1, 0, 0, 0), 0},
      {Dos(2021, 13, 1, 0, 0, 0), 0},
      {Dos(2021, 4, 31, 0, 0, 0), 0},
      {Dos(2021, 4, 0, 0, 0, 0), 0},
      {Dos(2021, 4, 1, 24, 0, 0), 0},
      {Dos(2021, 4, 1, 0, 60, 0), 0},
      {Dos(2021, 4, 1, 0, 0, 30), 0},    // 60 seconds
      {0, 0},
  };
  for (const Case& c : cases) {
    std::optional<uint64_t> ticks = CalendarToTicks(DecodeDosDateTime(c.dos));
    EXPECT_EQ(ticks.value_or(0), c.ticks) << std::hex << c.dos;
  }
  CalendarTime t = DecodeDosDateTime(Dos(2021, 6, 15, 13, 45, 15));
  EXPECT_EQ((std::vector<int>{t.year, t.month, t.day, t.hour, t.minute, t.second}),
            (std::vector<int>{2021, 6, 15, 13, 45, 30}));
}

std::string Block(uint16_t id, const std::string& data, int declaredSize = -1) {
  std::string b;
  uint16_t size = declaredSize >= 0 ? static_cast<uint16_t>(declaredSize) : static_cast<uint16_t>(data.size());
  b += static_cast<char>(id & 0xFF);
  b += static_cast<char>(id >> 8);
  b += static_cast<char>(size & 0xFF);
  b += static_cast<char>(size >> 8);
  return b + data;
}

std::string Le32(int32_t v) {
  uint32_t u = static_cast<uint32_t>(v);
  return std::string{static_cast<char>(u), static_cast<char>(u >> 8), static_cast<char>(u >> 16),
                     static_cast<char>(u >> 24)};
}

TEST(ZipItemMetadata, UnixTimeBlock) {
  const uint16_t UT = 0x5455;
  const std::string t1 = Le32(1000), t2 = Le32(2000), t3 = Le32(-3000);
  struct Case {
    const char* what;
    std::string extra;
    std::optional<int32_t> write, access, creation;
  } cases[] = {
      {"write only", Block(UT, "\x01" + t1), 1000, {}, {}},
      {"all three", Block(UT, "\x07" + t1 + t2 + t3), 1000, 2000, -3000},
      {"creation only", Block(UT, std::string("\x04") + t3), {}, {}, -3000},
      {"access and creation", Block(UT, "\x06" + t2 + t3), {}, 2000, -3000},
      // Central-directory style: flags announce three, the block holds one.
      {"flags beyond the block", Block(UT, "\x07" + t1), 1000, {}, {}},
      {"after another block", Block(0x000A, std::string(8, 'z')) + Block(UT, "\x01" + t1), 1000, {}, {}},
      {"first UT wins", Block(UT, "\x01" + t1) + Block(UT, "\x01" + t2), 1000, {}, {}},
      {"declared longer than the field", Block(UT, "\x03" + t1 + t2.substr(0, 2), 200), 1000, {}, {}},
      {"no data", Block(UT, "") + Block(UT, "\x01" + t1), {}, {}, {}},
      {"other block too long", Block(0x000A, "zz", 500) + Block(UT, "\x01" + t1), {}, {}, {}},
      {"header cut short", std::string("\x01\x02\x03\x04\x05", 5), {}, {}, {}},
      {"flags zero", Block(UT, std::string("\x00", 1) + t1), {}, {}, {}},
  };
  for (const Case& c : cases) {
    UnixTimes times =
        ReadUnixTimeBlock(reinterpret_cast<const unsigned char*>(c.extra.data()), c.extra.size());
    EXPECT_EQ(times.write, c.write) << c.what;
    EXPECT_EQ(times.access, c.access) << c.what;
    EXPECT_EQ(times.creation, c.creation) << c.what;
  }
}

TEST(ZipItemMetadata, UnixSecondsOnTheFileTimeScale) {
  EXPECT_EQ(UnixSecondsToTicks(0), 116444736000000000ull);
  EXPECT_EQ(UnixSecondsToTicks(1623764730), 132682383300000000ull);
  EXPECT_EQ(UnixSecondsToTicks(-1), 116444735990000000ull);
  EXPECT_EQ(UnixSecondsToTicks(INT32_MIN), (11644473600ull - 2147483648ull) * 10000000ull);
  EXPECT_EQ(UnixSecondsToTicks(INT32_MAX), (11644473600ull + 2147483647ull) * 10000000ull);
}

}  // namespace
}  // namespace quarrow
