// Reading an HTTP body in fixed chunks, and asking for the rest of a file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace quarrow {

constexpr uint32_t kBodyChunkBytes = 1024;

// read(buffer, capacity, &got) fills up to capacity bytes; false is a failed
// read. write(data, size) takes one chunk; false stops the copy.
using ChunkReader = std::function<bool(char* buffer, uint32_t capacity, uint32_t* got)>;
using ChunkWriter = std::function<bool(const char* data, uint32_t size)>;

enum class BodyCopy { Complete, ReadFailed, WriteFailed };

// Copies the body chunk by chunk until a read returns no bytes. A read that
// returns less than a full chunk is not the end: the rest may simply not have
// arrived yet.
BodyCopy CopyBodyInChunks(const ChunkReader& read, const ChunkWriter& write);

// The request header asking for the file from byte `existing` on; the end
// value is the announced length itself, which servers read as "to the end".
std::wstring RangeHeader(uint32_t existing, int32_t total);

// Whether what was there before plus what arrived is the announced length.
bool IsDownloadComplete(uint32_t existing, uint64_t received, int32_t total);

}  // namespace quarrow
