#include "update/HttpBody.h"

namespace quarrow {

BodyCopy CopyBodyInChunks(const ChunkReader& read, const ChunkWriter& write) {
  char chunk[kBodyChunkBytes];
  for (;;) {
    uint32_t got = 0;
    if (!read(chunk, kBodyChunkBytes, &got)) return BodyCopy::ReadFailed;
    if (got == 0) return BodyCopy::Complete;
    if (!write(chunk, got)) return BodyCopy::WriteFailed;
  }
}

std::wstring RangeHeader(uint32_t existing, int32_t total) {
  return L"Range: bytes=" + std::to_wstring(existing) + L"-" + std::to_wstring(total);
}

bool IsDownloadComplete(uint32_t existing, uint64_t received, int32_t total) {
  return static_cast<int64_t>(existing + received) == static_cast<int64_t>(total);
}

}  // namespace quarrow
