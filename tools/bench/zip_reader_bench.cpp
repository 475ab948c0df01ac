// Extracts every item of a ZIP file through CZipReader, the way the launcher
// does: the whole archive in memory, each item under its own name below a base
// folder. Prints the item count, failures and the time spent extracting.
// Usage: zip_reader_bench <archive.zip> <destination folder>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "update/ZipReader.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fwprintf(stderr, L"usage: zip_reader_bench <archive.zip> <destination folder>\n");
    return 2;
  }
  HANDLE file = ::CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  LARGE_INTEGER size{};
  if (file == INVALID_HANDLE_VALUE || !::GetFileSizeEx(file, &size)) return 2;
  std::vector<unsigned char> archive(static_cast<size_t>(size.QuadPart));
  DWORD got = 0;
  for (size_t at = 0; at < archive.size(); at += got) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(archive.size() - at, 1 << 30));
    if (!::ReadFile(file, archive.data() + at, chunk, &got, nullptr) || got == 0) return 2;
  }
  ::CloseHandle(file);
  ::CreateDirectoryW(argv[2], nullptr);

  LARGE_INTEGER frequency, start, end;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&start);
  std::unique_ptr<CZipReader> reader = CZipReader::OpenFromMemory(archive.data(), archive.size());
  if (!reader) return 1;
  reader->SetBaseDir(argv[2]);
  ZipItemInfo info;
  reader->GetItem(-1, &info);
  const int count = info.index;
  int failed = 0;
  for (int index = 0; index < count; ++index) {
    if (reader->GetItem(index, &info) != 0 || reader->ExtractItem(index, info.name) != 0) ++failed;
  }
  reader->Close();
  ::QueryPerformanceCounter(&end);
  std::wprintf(L"items %d failed %d extract_seconds %.3f\n", count, failed,
               static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart);
  return failed ? 1 : 0;
}
