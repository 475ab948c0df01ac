// Test fixture: writes ZIP archives byte by byte, so tests can give an item
// any name, attributes, times and extra fields, or damage it on purpose.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quarrow::testing {

struct TestZipItem {
  std::string name;  // stored bytes, as they are
  std::string data;
  bool deflate = true;
  uint16_t versionMadeBy = (3 << 8) | 20;  // Unix host
  uint32_t externalAttributes = 0100644u << 16;
  uint32_t dosDateTime = (((2021 - 1980) << 9 | 6 << 5 | 15) << 16) | (13 << 11 | 45 << 5 | 30 / 2);
  std::string localExtra;
  uint16_t flags = 0;
  // Damage: sizes or CRC declared in both headers instead of the true ones,
  // a local header that disagrees with the directory, another method number.
  int64_t declaredCompressed = -1;
  int64_t declaredUncompressed = -1;
  int64_t declaredCrc = -1;
  int methodOverride = -1;
  bool badLocalSignature = false;
};

std::string BuildTestZip(const std::vector<TestZipItem>& items);

// Extra-field block "UT" with the flags byte and the given times in order.
std::string UnixTimeExtra(uint8_t flags, const std::vector<int32_t>& times);

}  // namespace quarrow::testing
