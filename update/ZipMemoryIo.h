// Input functions that let the zip-reading library read an archive straight
// from a block of memory: read, seek and tell over the caller's bytes, which
// are never copied, and no file system access.
#pragma once

#include <minizip/ioapi.h>

#include <cstddef>
#include <cstdint>

namespace quarrow {

// The caller's block and the reading position; must outlive the archive
// opened through it.
struct MemoryBlock {
  const unsigned char* data = nullptr;
  uint64_t size = 0;
  uint64_t position = 0;
  // The last read ended short of what was asked: the library takes such a
  // read for a clean end of file unless the error function says otherwise.
  bool shortRead = false;
};

// Fills the library's function table so that opening any name reads the block.
void FillMemoryIo(zlib_filefunc64_def* functions, MemoryBlock* block);

}  // namespace quarrow
