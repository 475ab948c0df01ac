#include "skin/GdiPlusBitmap.h"

#include <objidl.h>

#include <cstring>

#include "skin/ResourceData.h"

CGdiPlusBitmap::~CGdiPlusBitmap() { delete m_pBitmap; }

CGdiPlusBitmapResource::~CGdiPlusBitmapResource() { Empty(); }

void CGdiPlusBitmapResource::Empty() {
  delete m_pBitmap;
  m_pBitmap = nullptr;
  if (m_hBuffer) {
    ::GlobalUnlock(m_hBuffer);
    ::GlobalFree(m_hBuffer);
    m_hBuffer = nullptr;
  }
}

bool CGdiPlusBitmapResource::Load(UINT id, const wchar_t* type) {
  Empty();
  quarrow::ResourceData resource = quarrow::FindResourceData(id, type);
  if (!resource) return false;

  m_hBuffer = ::GlobalAlloc(GMEM_MOVEABLE, resource.size);
  if (!m_hBuffer) return false;
  if (void* block = ::GlobalLock(m_hBuffer)) {
    std::memcpy(block, resource.bytes, resource.size);
    IStream* stream = nullptr;
    // The stream must not free the block: it outlives the stream.
    if (::CreateStreamOnHGlobal(m_hBuffer, FALSE, &stream) == S_OK) {
      m_pBitmap = Gdiplus::Bitmap::FromStream(stream);
      stream->Release();
    }
    if (m_pBitmap && m_pBitmap->GetLastStatus() == Gdiplus::Ok) return true;
  }
  Empty();
  return false;
}
