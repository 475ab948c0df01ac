// GDI+ bitmaps decoded from the executable's own resources, for the image
// buttons. The resource bytes are copied into a movable memory block that
// stays locked while the bitmap lives: GDI+ reads the picture through a
// stream on that block whenever it needs the pixels.
#pragma once

#include <windows.h>

#include "framework/GdiPlus.h"

class CGdiPlusBitmap {
 public:
  CGdiPlusBitmap() = default;
  virtual ~CGdiPlusBitmap();
  CGdiPlusBitmap(const CGdiPlusBitmap&) = delete;
  CGdiPlusBitmap& operator=(const CGdiPlusBitmap&) = delete;

  // The decoded picture, or null.
  Gdiplus::Bitmap* Bitmap() const { return m_pBitmap; }

 protected:
  Gdiplus::Bitmap* m_pBitmap = nullptr;
};

class CGdiPlusBitmapResource : public CGdiPlusBitmap {
 public:
  ~CGdiPlusBitmapResource() override;

  // Decodes resource `id` of the given type ("PNG" for the skin). False, with
  // nothing held, when the resource is missing, empty or not a picture.
  bool Load(UINT id, const wchar_t* type);
  // Lets go of the picture and its memory block.
  void Empty();

 private:
  HGLOBAL m_hBuffer = nullptr;
};
