// An item's attributes and times as the archive records them, turned into the
// values Windows files carry. Times are 100-ns ticks since 1 January 1601
// (the FILETIME scale).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace quarrow {

constexpr uint32_t kZipAttrReadOnly = 0x01;
constexpr uint32_t kZipAttrHidden = 0x02;
constexpr uint32_t kZipAttrSystem = 0x04;
constexpr uint32_t kZipAttrDirectory = 0x10;
constexpr uint32_t kZipAttrArchive = 0x20;

// Windows attribute bits from the central directory's version-made-by field
// (its high byte names the host system) and the external attributes.
uint32_t ZipItemAttributes(uint32_t versionMadeBy, uint32_t externalAttributes);

struct CalendarTime {
  int year, month, day, hour, minute, second;
};

// The DOS date and time as the library hands them over: date in the high 16
// bits, time in the low 16 bits.
CalendarTime DecodeDosDateTime(uint32_t dosDateTime);

// Ticks of the given wall-clock fields, no time zone applied; nothing when the
// fields name no real moment (month 0, 30 February, second 60...).
std::optional<uint64_t> CalendarToTicks(const CalendarTime& time);

// The times of the first "UT" block of a local extra field, each present when
// its flag bit is set and its four bytes lie inside the block.
struct UnixTimes {
  std::optional<int32_t> write, access, creation;
};
UnixTimes ReadUnixTimeBlock(const unsigned char* extra, size_t size);

// Seconds since 1 January 1970 as ticks.
uint64_t UnixSecondsToTicks(int32_t seconds);

}  // namespace quarrow
