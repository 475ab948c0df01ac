// Downloads one file the way the self-update does (CUpdater::DownloadUpdate:
// ExcuUpdate up to the hand-over, with its length check and MD5) and prints
// the bytes written and the seconds it took.
// Usage: update_download_bench <url>
#include <windows.h>

#include <cstdio>

#include "app/FileUtils.h"
#include "update/Updater.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fwprintf(stderr, L"usage: update_download_bench <url>\n");
    return 2;
  }
  // The update log needs its folder; the download goes where the launcher's does.
  std::wstring data = quarrow::GetDataFolder();
  ::CreateDirectoryW(data.substr(0, data.find_last_of(L'\\', data.size() - 2)).c_str(), nullptr);
  ::CreateDirectoryW(data.c_str(), nullptr);
  ::CreateDirectoryW((data + L"res").c_str(), nullptr);
  quarrow::CUpdater updater(L"\\qvvortmp.exe");

  LARGE_INTEGER frequency, start, end;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&start);
  bool complete = updater.DownloadUpdate(argv[1]);
  ::QueryPerformanceCounter(&end);

  WIN32_FILE_ATTRIBUTE_DATA file{};
  ::GetFileAttributesExW(updater.TempExePath().c_str(), GetFileExInfoStandard, &file);
  std::wprintf(L"%ls %lu bytes %.3f s\n", complete ? L"complete" : L"INCOMPLETE", file.nFileSizeLow,
               static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart);
  return complete ? 0 : 1;
}
