// Double buffering: drawing goes to an off-screen bitmap that is copied to the
// target in one block when the object goes away, so nothing flickers. Callers
// draw in the target's coordinates. A printer target is drawn on directly.
#pragma once

#include <windows.h>

class CMyMemDC {
 public:
  // rect: the area covered, in the target's logical coordinates; null or all
  // zeros covers the target's clip box.
  explicit CMyMemDC(HDC target, const RECT* rect = nullptr);
  ~CMyMemDC();
  CMyMemDC(const CMyMemDC&) = delete;
  CMyMemDC& operator=(const CMyMemDC&) = delete;

  HDC GetSafeHdc() const { return m_hDC; }
  operator HDC() const { return m_hDC; }
  const RECT& Rect() const { return m_rect; }
  // False when drawing goes straight to a printer target.
  bool IsMemoryDC() const { return m_bMemDC != FALSE; }

 private:
  HDC m_hDC = nullptr;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_oldBitmap = nullptr;
  HDC m_pDC = nullptr;
  RECT m_rect{};
  BOOL m_bMemDC = FALSE;
};
