#include "update/MemoryZipArchive.h"

#include <limits>
#include <string_view>
#include <vector>

#include "update/ZipItemName.h"

namespace quarrow {
namespace {

constexpr unsigned kNameBufferBytes = 260;

uint32_t Saturate32(ZPOS64_T value) {
  return value > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                      : static_cast<uint32_t>(value);
}

bool IsExtractable(const unz_file_info64& info) {
  const bool encrypted = (info.flag & 1) != 0;
  return !encrypted && (info.compression_method == 0 || info.compression_method == Z_DEFLATED);
}

}  // namespace

MemoryZipArchive::~MemoryZipArchive() { Close(); }

bool MemoryZipArchive::Open(const void* data, size_t size) {
  Close();
  m_block = MemoryBlock{static_cast<const unsigned char*>(data), size, 0};
  zlib_filefunc64_def functions;
  FillMemoryIo(&functions, &m_block);
  m_zip = unzOpen2_64(nullptr, &functions);
  if (!m_zip) return false;

  unz_global_info64 global;
  if (unzGetGlobalInfo64(m_zip, &global) != UNZ_OK) {
    Close();
    return false;
  }
  m_count = global.number_entry > static_cast<ZPOS64_T>(std::numeric_limits<int32_t>::max())
                ? std::numeric_limits<int32_t>::max()
                : static_cast<int32_t>(global.number_entry);
  m_position = m_count > 0 ? 0 : -1;  // opening moves the library to the first item
  return true;
}

void MemoryZipArchive::Close() {
  if (!m_zip) return;
  CloseItem();
  unzClose(m_zip);
  m_zip = nullptr;
  m_count = 0;
  m_position = -1;
}

bool MemoryZipArchive::MoveTo(int32_t index) {
  if (!m_zip || index < 0 || index >= m_count) return false;
  if (m_position < 0 || index < m_position) {
    if (unzGoToFirstFile(m_zip) != UNZ_OK) {
      m_position = -1;
      return false;
    }
    m_position = 0;
  }
  while (m_position < index) {
    if (unzGoToNextFile(m_zip) != UNZ_OK) {
      m_position = -1;
      return false;
    }
    ++m_position;
  }
  return true;
}

bool MemoryZipArchive::Describe(int32_t index, ZipItemRecord* record) {
  CloseItem();
  if (!MoveTo(index)) return false;

  unz_file_info64 info;
  char name[kNameBufferBytes];
  if (unzGetCurrentFileInfo64(m_zip, &info, name, sizeof(name), nullptr, 0, nullptr, 0) != UNZ_OK) return false;
  if (info.size_filename >= kNameBufferBytes) return false;

  ZipItemRecord result;
  result.name = CleanZipItemName(DecodeZipItemName(std::string_view(name, info.size_filename)));
  result.attributes = ZipItemAttributes(info.version, info.external_fa);
  result.dosTicks = CalendarToTicks(DecodeDosDateTime(info.dosDate));
  result.compressedSize = Saturate32(info.compressed_size);
  result.uncompressedSize = Saturate32(info.uncompressed_size);
  result.extractable = IsExtractable(info);

  // Opening raw checks the local header without starting to inflate; the local
  // extra field (at most 64 KiB by the format) is only reachable through it.
  if (unzOpenCurrentFile2(m_zip, nullptr, nullptr, 1) != UNZ_OK) return false;
  m_openItem = index;
  int extraSize = unzGetLocalExtrafield(m_zip, nullptr, 0);
  std::vector<unsigned char> extra(extraSize > 0 ? static_cast<size_t>(extraSize) : 0);
  bool ok = extraSize >= 0;
  if (ok && extraSize > 0) {
    ok = unzGetLocalExtrafield(m_zip, extra.data(), static_cast<unsigned>(extraSize)) == extraSize;
  }
  CloseItem();
  if (!ok) return false;
  result.unixTimes = ReadUnixTimeBlock(extra.data(), extra.size());
  *record = std::move(result);
  return true;
}

bool MemoryZipArchive::OpenItem(int32_t index) {
  CloseItem();
  if (!MoveTo(index)) return false;
  unz_file_info64 info;
  if (unzGetCurrentFileInfo64(m_zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return false;
  if (!IsExtractable(info)) return false;
  if (unzOpenCurrentFile(m_zip) != UNZ_OK) return false;
  m_openItem = index;
  return true;
}

int MemoryZipArchive::ReadItem(void* buffer, unsigned size) {
  if (m_openItem < 0) return UNZ_PARAMERROR;
  return unzReadCurrentFile(m_zip, buffer, size);
}

bool MemoryZipArchive::ItemAtEnd() { return m_openItem >= 0 && unzeof(m_zip) == 1; }

bool MemoryZipArchive::CloseItem() {
  if (m_openItem < 0) return true;
  m_openItem = -1;
  return unzCloseCurrentFile(m_zip) != UNZ_CRCERROR;
}

}  // namespace quarrow
