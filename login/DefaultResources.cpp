#include "login/DefaultResources.h"

#include <windows.h>

#include <memory>

#include "app/FileUtils.h"
#include "app/NumberText.h"
#include "framework/Application.h"
#include "framework/ResourceString.h"
#include "login/Settings.h"
#include "res/resource.h"
#include "update/ZipReader.h"

namespace quarrow {
namespace {

constexpr int kUnpackedMarker = 1001;

// The archive's bytes inside the loaded image, valid for the life of the
// process; nothing when the resource is missing.
void FindDefaultsArchive(const void** data, DWORD* size) {
  HMODULE module = fw::Application::ResourceModule();
  HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(IDR_DEFAULTS_ZIP), L"ZIP");
  HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
  *data = loaded ? ::LockResource(loaded) : nullptr;
  *size = *data ? ::SizeofResource(module, resource) : 0;
}

}  // namespace

void ExtractDefaultResources(const std::wstring& folder) {
  const void* data = nullptr;
  DWORD size = 0;
  FindDefaultsArchive(&data, &size);
  ExtractDefaultFiles(folder, data, size);
}

void ExtractDefaultFiles(const std::wstring& folder, const void* archive, size_t size) {
  const std::wstring res = folder + L"\\res";
  if (ParseLeadingInt32(ReadSetting(L"Setting", L"start", L"-1")) == kUnpackedMarker) return;
  if (!FolderExists(res)) ::CreateDirectoryW(res.c_str(), nullptr);

  std::unique_ptr<CZipReader> reader = CZipReader::OpenFromMemory(archive, size);
  if (reader) {
    reader->SetBaseDir(res);
    ZipItemInfo item;
    const int count = reader->GetItem(-1, &item) == ZR_OK ? item.index : 0;
    for (int index = 0; index < count; ++index) {
      if (reader->GetItem(index, &item) != ZR_OK) continue;
      // The player's settings survive; only this exact name is theirs.
      if (item.name == L"systemset.ini" && FileExists(res + L"\\" + item.name)) continue;
      reader->ExtractItem(index, item.name);
    }
    reader->Close();
  }

  const std::wstring oldArchive = res + L"\\data.zip";
  if (FileExists(oldArchive)) ::DeleteFileW(oldArchive.c_str());
  // Marked only when the archive could be read: a start that found it unreadable
  // must not stop every later start from unpacking.
  if (reader) WriteSetting(L"Setting", L"start", fw::Format(L"%d", kUnpackedMarker).c_str());
}

}  // namespace quarrow
