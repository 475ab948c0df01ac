#include "skin/ResourceData.h"

#include "framework/Application.h"

namespace quarrow {

ResourceData FindResourceData(UINT id, const wchar_t* type) {
  ResourceData data;
  HMODULE module = fw::Application::ResourceModule();
  HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
  if (!resource) return data;
  DWORD size = ::SizeofResource(module, resource);
  HGLOBAL loaded = size ? ::LoadResource(module, resource) : nullptr;
  const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
  if (bytes) {
    data.bytes = bytes;
    data.size = size;
  }
  return data;
}

}  // namespace quarrow
