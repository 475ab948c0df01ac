#include "update/ZipReader.h"

#include <vector>

#include "update/ZipItemName.h"

namespace {

constexpr unsigned kBlockSize = 16 * 1024;

bool EndsWithSeparator(const std::wstring& path) {
  return !path.empty() && (path.back() == L'\\' || path.back() == L'/');
}

FILETIME FromTicks(uint64_t ticks) {
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(ticks);
  time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return time;
}

bool IsSet(const FILETIME& time) { return time.dwLowDateTime != 0 || time.dwHighDateTime != 0; }

// The path as Windows will resolve it: absolute, "." and ".." applied, device
// names turned into device paths. Empty when it cannot be resolved.
std::wstring ResolvedPath(const std::wstring& path) {
  DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return L"";
  std::vector<wchar_t> buffer(needed);
  DWORD length = ::GetFullPathNameW(path.c_str(), needed, buffer.data(), nullptr);
  if (length == 0 || length >= needed) return L"";
  std::wstring full(buffer.data(), length);
  while (full.size() > 3 && EndsWithSeparator(full)) full.pop_back();
  return full;
}

bool SameText(const std::wstring& a, size_t length, const std::wstring& b) {
  return ::CompareStringOrdinal(a.c_str(), static_cast<int>(length), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

}  // namespace

std::unique_ptr<CZipReader> CZipReader::OpenFromMemory(const void* data, size_t length) {
  std::unique_ptr<CZipReader> reader(new CZipReader());
  wchar_t current[MAX_PATH] = {};
  DWORD n = ::GetCurrentDirectoryW(MAX_PATH, current);
  reader->SetBaseDir(n > 0 && n < MAX_PATH ? current : L".");
  if (!reader->m_archive.Open(data, length)) return nullptr;
  return reader;
}

CZipReader::~CZipReader() { Close(); }

int CZipReader::SetBaseDir(const std::wstring& folder) {
  // An empty folder would become "\", the root of the drive.
  m_baseDir = folder.empty() ? L"." : folder;
  if (!EndsWithSeparator(m_baseDir)) m_baseDir += L'\\';
  return 0;
}

int CZipReader::GetItem(int index, ZipItemInfo* info) {
  if (!info || index < -1 || index >= m_archive.Count()) return ZR_BAD_INDEX;
  m_archive.CloseItem();
  if (index != -1 && index == m_cachedIndex) {
    *info = m_cachedItem;
    return ZR_OK;
  }
  if (index == -1) {
    *info = ZipItemInfo{};
    info->index = m_archive.Count();
    return ZR_OK;
  }

  quarrow::ZipItemRecord record;
  if (!m_archive.Describe(index, &record)) return ZR_BAD_ITEM;
  ZipItemInfo item;
  item.index = index;
  item.name = record.name;
  item.attributes = record.attributes;
  if (record.dosTicks) {
    // The DOS fields are the archiving machine's wall clock; read as ours.
    FILETIME local = FromTicks(*record.dosTicks), utc{};
    if (::LocalFileTimeToFileTime(&local, &utc)) item.accessTime = item.creationTime = item.writeTime = utc;
  }
  if (record.unixTimes.write) item.writeTime = FromTicks(quarrow::UnixSecondsToTicks(*record.unixTimes.write));
  if (record.unixTimes.access) item.accessTime = FromTicks(quarrow::UnixSecondsToTicks(*record.unixTimes.access));
  if (record.unixTimes.creation) {
    item.creationTime = FromTicks(quarrow::UnixSecondsToTicks(*record.unixTimes.creation));
  }
  item.compressedSize = record.compressedSize;
  item.uncompressedSize = record.uncompressedSize;

  m_cachedItem = item;
  m_cachedIndex = index;
  *info = std::move(item);
  return ZR_OK;
}

int CZipReader::ExtractItem(int index, const std::wstring& destination) {
  m_archive.CloseItem();
  if (index < 0 || index >= m_archive.Count()) return ZR_BAD_INDEX;
  ZipItemInfo info;
  if (int result = GetItem(index, &info)) return result;
  // Names may come from anyone who made the archive: nothing is written where
  // a ".." could lead, checked as text here and as Windows resolves it below.
  if (quarrow::ClimbsOutOfFolder(destination)) return ZR_UNSAFE_NAME;
  if (info.attributes & FILE_ATTRIBUTE_DIRECTORY) return ExtractFolder(destination);
  return ExtractFile(index, info, destination);
}

int CZipReader::ExtractFolder(const std::wstring& destination) {
  const bool rooted = quarrow::IsRootedZipPath(destination);
  if (!ResolvesInsideBase(rooted ? destination : m_baseDir + destination, true)) return ZR_UNSAFE_NAME;
  CreateFolders(destination);
  return ZR_OK;
}

int CZipReader::ExtractFile(int index, const ZipItemInfo& info, const std::wstring& destination) {
  const quarrow::ZipPathParts parts = quarrow::SplitAtLastSeparator(destination);
  const bool rooted = !parts.folder.empty() && quarrow::IsRootedZipPath(parts.folder);
  const std::wstring path = (rooted ? L"" : m_baseDir) + parts.folder + parts.file;
  if (parts.file.empty()) return ZR_CREATE_FAILED;  // a name ending in a separator names no file
  if (!ResolvesInsideBase(path, false)) return ZR_UNSAFE_NAME;

  // The data is opened before the file is made, so an item that cannot be
  // read leaves nothing behind.
  if (!m_archive.OpenItem(index)) return ZR_UNSUPPORTED;
  CreateFolders(parts.folder);

  // Windows refuses to replace a read-only file; some file systems (Wine run
  // by root, for one) would not, so the rule is applied here whatever lies below.
  const DWORD existing = ::GetFileAttributesW(path.c_str());
  const bool readOnly = existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY);
  const DWORD attributes = info.attributes ? info.attributes : FILE_ATTRIBUTE_NORMAL;
  HANDLE file = readOnly ? INVALID_HANDLE_VALUE
                         : ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    m_archive.CloseItem();
    return ZR_CREATE_FAILED;
  }

  if (!m_buffer) m_buffer.reset(new unsigned char[kBlockSize]);
  int result = ZR_OK;
  for (;;) {
    // An item with no data reads 0 at once, before the end is reported: the
    // empty file stays without the item's times and the call reports failure.
    const int got = m_archive.ReadItem(m_buffer.get(), kBlockSize);
    if (got <= 0) {
      result = ZR_READ_FAILED;
      break;
    }
    DWORD written = 0;
    if (!::WriteFile(file, m_buffer.get(), static_cast<DWORD>(got), &written, nullptr) ||
        written != static_cast<DWORD>(got)) {
      result = ZR_WRITE_FAILED;
      break;
    }
    if (m_archive.ItemAtEnd()) {
      ::SetFileTime(file, IsSet(info.creationTime) ? &info.creationTime : nullptr,
                    IsSet(info.accessTime) ? &info.accessTime : nullptr,
                    IsSet(info.writeTime) ? &info.writeTime : nullptr);
      break;
    }
  }
  ::CloseHandle(file);
  // A file whose bytes do not match the archive's checksum is not a success.
  if (!m_archive.CloseItem() && result == ZR_OK) result = ZR_CRC_MISMATCH;
  return result;
}

void CZipReader::CreateFolders(const std::wstring& folderPath) {
  const bool rooted = quarrow::IsRootedZipPath(folderPath);
  if (!rooted) ::CreateDirectoryW(m_baseDir.c_str(), nullptr);
  for (const std::wstring& folder : quarrow::FolderChain(folderPath)) {
    ::CreateDirectoryW((rooted ? folder : m_baseDir + folder).c_str(), nullptr);
  }
}

bool CZipReader::ResolvesInsideBase(const std::wstring& path, bool mayBeBase) const {
  const std::wstring base = ResolvedPath(m_baseDir);
  const std::wstring full = ResolvedPath(path);
  if (base.empty() || full.empty()) return false;
  if (full.size() == base.size()) return mayBeBase && SameText(full, full.size(), base);
  const size_t prefix = EndsWithSeparator(base) ? base.size() - 1 : base.size();  // "C:\" keeps its "\"
  return full.size() > base.size() && SameText(full, base.size(), base) && full[prefix] == L'\\';
}

int CZipReader::Close() {
  m_archive.Close();
  m_cachedIndex = -1;
  m_buffer.reset();
  return 0;
}
