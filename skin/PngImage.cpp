#include "skin/PngImage.h"

#include <objidl.h>

#include <cstring>
#include <map>

#include "skin/ResourceData.h"

namespace quarrow {
namespace {

Gdiplus::Image* DecodePngResource(UINT id) {
  ResourceData resource = FindResourceData(id, L"PNG");
  if (!resource) return nullptr;

  HGLOBAL block = ::GlobalAlloc(GMEM_FIXED, resource.size);
  if (!block) return nullptr;
  IStream* stream = nullptr;
  if (::CreateStreamOnHGlobal(block, FALSE, &stream) != S_OK) {
    ::GlobalFree(block);
    return nullptr;
  }
  std::memcpy(block, resource.bytes, resource.size);
  Gdiplus::Image* image = Gdiplus::Image::FromStream(stream);
  if (!image) {
    stream->Release();
    ::GlobalFree(block);
    return nullptr;
  }
  // The stream and its block stay with the image for the rest of the process.
  return image;
}

}  // namespace

Gdiplus::Image* LoadPngImage(UINT id) {
  // Every message box and panel asks for its pictures again; decoding once per
  // id keeps the never-freed pictures from piling up.
  static std::map<UINT, Gdiplus::Image*> decoded;
  auto found = decoded.find(id);
  if (found != decoded.end()) return found->second;
  Gdiplus::Image* image = DecodePngResource(id);
  if (image) decoded[id] = image;
  return image;
}

}  // namespace quarrow
