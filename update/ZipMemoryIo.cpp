#include "update/ZipMemoryIo.h"

#include <cstring>

namespace quarrow {
namespace {

voidpf ZCALLBACK OpenBlock(voidpf opaque, const void* /*name*/, int mode) {
  // Reading only: a request to write or create has nothing to write to.
  if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) return nullptr;
  auto* block = static_cast<MemoryBlock*>(opaque);
  block->position = 0;
  block->shortRead = false;
  return block;
}

uLong ZCALLBACK ReadBlock(voidpf /*opaque*/, voidpf stream, void* buffer, uLong size) {
  auto* block = static_cast<MemoryBlock*>(stream);
  uint64_t left = block->position < block->size ? block->size - block->position : 0;
  uLong count = left < size ? static_cast<uLong>(left) : size;
  if (count > 0) std::memcpy(buffer, block->data + block->position, count);
  block->position += count;
  block->shortRead = count < size;
  return count;
}

uLong ZCALLBACK WriteBlock(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK TellBlock(voidpf /*opaque*/, voidpf stream) {
  return static_cast<MemoryBlock*>(stream)->position;
}

// Positions outside the block are refused rather than clamped, so a bad offset
// in the archive becomes a read error where it is met.
long ZCALLBACK SeekBlock(voidpf /*opaque*/, voidpf stream, ZPOS64_T offset, int origin) {
  auto* block = static_cast<MemoryBlock*>(stream);
  uint64_t base;
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET:
      base = 0;
      break;
    case ZLIB_FILEFUNC_SEEK_CUR:
      base = block->position;
      break;
    case ZLIB_FILEFUNC_SEEK_END:
      base = block->size;
      break;
    default:
      return -1;
  }
  if (offset > block->size - base) return -1;
  block->position = base + offset;
  return 0;
}

int ZCALLBACK CloseBlock(voidpf, voidpf) { return 0; }
// A field cut off by the end of the block is damage, not the end of the archive.
int ZCALLBACK ErrorBlock(voidpf /*opaque*/, voidpf stream) {
  return static_cast<MemoryBlock*>(stream)->shortRead ? 1 : 0;
}

}  // namespace

void FillMemoryIo(zlib_filefunc64_def* functions, MemoryBlock* block) {
  functions->zopen64_file = OpenBlock;
  functions->zread_file = ReadBlock;
  functions->zwrite_file = WriteBlock;
  functions->ztell64_file = TellBlock;
  functions->zseek64_file = SeekBlock;
  functions->zclose_file = CloseBlock;
  functions->zerror_file = ErrorBlock;
  functions->opaque = block;
}

}  // namespace quarrow
