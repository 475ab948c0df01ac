// Unpacks a ZIP archive held in memory into files and folders below a base
// folder. The archive's bytes belong to the caller and must stay valid until
// Close; extraction goes through one 16 KiB buffer whatever the archive's size.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "update/MemoryZipArchive.h"

struct ZipItemInfo {
  int32_t index = 0;  // for the request with index -1: the number of items
  std::wstring name;  // the path inside the archive after the clean-up
  uint32_t attributes = 0;  // FILE_ATTRIBUTE_* bits
  FILETIME accessTime{};    // UTC
  FILETIME creationTime{};
  FILETIME writeTime{};
  uint32_t compressedSize = 0;
  uint32_t uncompressedSize = 0;
};

// Results of GetItem and ExtractItem; 0 is success.
enum ZipResult : int {
  ZR_OK = 0,
  ZR_BAD_INDEX,
  ZR_BAD_ITEM,        // damaged entry or local header, or a name of 260 bytes or more
  ZR_UNSAFE_NAME,     // the destination climbs or resolves outside the base folder
  ZR_UNSUPPORTED,     // compression method or encryption this reader cannot undo
  ZR_CREATE_FAILED,
  ZR_READ_FAILED,     // a data error, or the data ended before its declared size
  ZR_WRITE_FAILED,
  ZR_CRC_MISMATCH,    // everything was written but does not match the archive
};

class CZipReader {
 public:
  // Nothing when the archive cannot be opened. The base folder starts as the
  // current directory.
  static std::unique_ptr<CZipReader> OpenFromMemory(const void* data, size_t length);
  ~CZipReader();
  CZipReader(const CZipReader&) = delete;
  CZipReader& operator=(const CZipReader&) = delete;

  // Relative destinations are written below this folder.
  int SetBaseDir(const std::wstring& folder);
  const std::wstring& BaseDir() const { return m_baseDir; }

  // Index -1 gives the number of items in info.index.
  int GetItem(int index, ZipItemInfo* info);
  // Writes the item to the destination: below the base folder when relative,
  // as given when rooted; either way it must resolve inside the base folder.
  int ExtractItem(int index, const std::wstring& destination);
  // Ends reading; the archive's bytes may go after this.
  int Close();

 private:
  CZipReader() = default;
  int ExtractFolder(const std::wstring& destination);
  int ExtractFile(int index, const ZipItemInfo& info, const std::wstring& destination);
  // Creates the folders of a relative path below the base folder, or of a
  // rooted path on its own, parents first; failures show later, on use.
  void CreateFolders(const std::wstring& folderPath);
  bool ResolvesInsideBase(const std::wstring& path, bool mayBeBase) const;

  quarrow::MemoryZipArchive m_archive;
  ZipItemInfo m_cachedItem;
  int m_cachedIndex = -1;
  std::wstring m_baseDir;
  std::unique_ptr<unsigned char[]> m_buffer;  // allocated at the first file
};
