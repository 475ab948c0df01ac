#include "update/ZipItemMetadata.h"

namespace quarrow {
namespace {

constexpr uint64_t kTicksPerSecond = 10'000'000;
// Seconds from 1 January 1601 to 1 January 1970.
constexpr int64_t kUnixEpochSeconds = 11'644'473'600;

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

// Days from 1 January 1601 to the start of the given date.
int64_t DaysSince1601(int year, int month, int day) {
  int64_t years = year - 1601;
  int64_t days = years * 365 + years / 4 - years / 100 + years / 400;
  for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
  return days + day - 1;
}

uint16_t Little16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

int32_t Little32(const unsigned char* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                              (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24));
}

}  // namespace

uint32_t ZipItemAttributes(uint32_t versionMadeBy, uint32_t externalAttributes) {
  const uint32_t host = (versionMadeBy >> 8) & 0xFF;
  // MS-DOS, OS/2 HPFS, Windows NTFS and VFAT keep DOS attributes in the low byte.
  if (host == 0 || host == 7 || host == 11 || host == 14) {
    return externalAttributes & (kZipAttrReadOnly | kZipAttrHidden | kZipAttrSystem | kZipAttrDirectory |
                                 kZipAttrArchive);
  }
  // Elsewhere the high 16 bits hold a Unix mode: bit 30 is S_IFDIR, bit 23 the
  // owner's write permission.
  uint32_t attributes = kZipAttrArchive;
  if (externalAttributes & (1u << 30)) attributes |= kZipAttrDirectory;
  if (!(externalAttributes & (1u << 23))) attributes |= kZipAttrReadOnly;
  return attributes;
}

CalendarTime DecodeDosDateTime(uint32_t dosDateTime) {
  const uint32_t date = dosDateTime >> 16;
  const uint32_t time = dosDateTime & 0xFFFF;
  return {static_cast<int>(1980 + (date >> 9)),       static_cast<int>((date >> 5) & 0x0F),
          static_cast<int>(date & 0x1F),              static_cast<int>(time >> 11),
          static_cast<int>((time >> 5) & 0x3F),       static_cast<int>((time & 0x1F) * 2)};
}

std::optional<uint64_t> CalendarToTicks(const CalendarTime& t) {
  if (t.year < 1601 || t.year > 30827 || t.month < 1 || t.month > 12 || t.day < 1 ||
      t.day > DaysInMonth(t.year, t.month) || t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59 ||
      t.second < 0 || t.second > 59) {
    return std::nullopt;
  }
  const int64_t seconds = DaysSince1601(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
  return static_cast<uint64_t>(seconds) * kTicksPerSecond;
}

UnixTimes ReadUnixTimeBlock(const unsigned char* extra, size_t size) {
  UnixTimes times;
  if (!extra || size <= 4) return times;
  size_t at = 0;
  while (at + 4 <= size) {
    const uint16_t id = Little16(extra + at);
    size_t dataSize = Little16(extra + at + 2);
    at += 4;
    if (id != 0x5455) {  // "UT" read little-endian
      at += dataSize;
      continue;
    }
    // A block that claims more than the field holds is read only as far as it goes.
    if (dataSize > size - at) dataSize = size - at;
    if (dataSize < 1) return times;
    const unsigned char flags = extra[at];
    size_t next = 1;
    const auto take = [&](int bit, std::optional<int32_t>* value) {
      if (!(flags & (1 << bit))) return;
      if (next + 4 <= dataSize) *value = Little32(extra + at + next);
      next += 4;
    };
    take(0, &times.write);
    take(1, &times.access);
    take(2, &times.creation);
    return times;
  }
  return times;
}

uint64_t UnixSecondsToTicks(int32_t seconds) {
  return static_cast<uint64_t>(seconds + kUnixEpochSeconds) * kTicksPerSecond;
}

}  // namespace quarrow
