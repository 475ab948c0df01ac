// A ZIP archive read in place from a block of memory, item by item: what each
// item is, in portable terms, and its inflated data. The container itself
// (directory, local headers, inflate, CRC-32) is the zip-reading library's.
#pragma once

#include <minizip/unzip.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "update/ZipItemMetadata.h"
#include "update/ZipMemoryIo.h"

namespace quarrow {

struct ZipItemRecord {
  std::wstring name;  // decoded and cleaned; may still climb (see ClimbsOutOfFolder)
  uint32_t attributes = 0;
  // The DOS date and time: wall-clock time where the archive was made.
  std::optional<uint64_t> dosTicks;
  UnixTimes unixTimes;
  uint32_t compressedSize = 0;
  uint32_t uncompressedSize = 0;
  // Stored or deflated and not encrypted: data this reader can reproduce.
  bool extractable = false;
};

class MemoryZipArchive {
 public:
  MemoryZipArchive() = default;
  ~MemoryZipArchive();
  MemoryZipArchive(const MemoryZipArchive&) = delete;
  MemoryZipArchive& operator=(const MemoryZipArchive&) = delete;

  // The block is not copied: it must stay valid until Close.
  bool Open(const void* data, size_t size);
  void Close();

  int32_t Count() const { return m_count; }

  // The item's central-directory entry, checked against its local header, and
  // its local extra field. False for an index out of range, a damaged entry or
  // a stored name of 260 bytes or more (it would not fit the name field whole).
  bool Describe(int32_t index, ZipItemRecord* record);

  // Opens the item's data, closing any item open before. Items this reader
  // cannot reproduce (other methods, encryption) are refused.
  bool OpenItem(int32_t index);
  int32_t OpenItemIndex() const { return m_openItem; }
  // Inflated bytes into the buffer: > 0 data, 0 nothing, < 0 a read error.
  int ReadItem(void* buffer, unsigned size);
  // All of the item's declared size has been read.
  bool ItemAtEnd();
  // False when the whole item was read and its CRC-32 does not match.
  bool CloseItem();

 private:
  // Steps the library's cursor to the item, from the first one when the item
  // lies behind it.
  bool MoveTo(int32_t index);

  MemoryBlock m_block;
  unzFile m_zip = nullptr;
  int32_t m_count = 0;
  int32_t m_position = -1;  // the library's current item, -1 when unknown
  int32_t m_openItem = -1;
};

}  // namespace quarrow
