// libFuzzer target: any bytes as an archive held in memory, every item
// described and read out through the same path the launcher's reader takes,
// and every name put through the destination rules.
#include <cstddef>
#include <cstdint>

#include "update/MemoryZipArchive.h"
#include "update/ZipItemName.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  quarrow::MemoryZipArchive zip;
  if (!zip.Open(data, size)) return 0;
  static unsigned char buffer[16384];
  // Directory entries cost nothing to declare; bound the work per input.
  const int32_t items = zip.Count() < 256 ? zip.Count() : 256;
  for (int32_t index = 0; index < items; ++index) {
    quarrow::ZipItemRecord record;
    if (!zip.Describe(index, &record)) continue;
    if (record.name.size() > quarrow::kZipItemNameMaxUnits) __builtin_trap();
    quarrow::ClimbsOutOfFolder(record.name);
    quarrow::ZipPathParts parts = quarrow::SplitAtLastSeparator(record.name);
    quarrow::FolderChain(parts.folder);
    if (!zip.OpenItem(index)) continue;
    // Reads of bounded size, as the reader does; stop after 64 blocks so one
    // input that declares gigabytes of zeros cannot stall the run.
    for (int block = 0; block < 64; ++block) {
      int n = zip.ReadItem(buffer, sizeof(buffer));
      if (n <= 0 || zip.ItemAtEnd()) break;
    }
    zip.CloseItem();
  }
  // Walking back to the front exercises the restart of the cursor.
  quarrow::ZipItemRecord record;
  zip.Describe(0, &record);
  return 0;
}
