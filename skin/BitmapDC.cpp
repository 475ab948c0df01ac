#include "skin/BitmapDC.h"

bool CBitmapDC::Create(HDC like, int width, int height) {
  Release();
  m_hDC = ::CreateCompatibleDC(like);
  if (!m_hDC) return false;
  // Compatible with the source device, not with the memory DC, which would
  // give a one-bit bitmap.
  m_bitmap = ::CreateCompatibleBitmap(like, width, height);
  if (!m_bitmap) {
    Release();
    return false;
  }
  m_oldBitmap = ::SelectObject(m_hDC, m_bitmap);
  m_width = width;
  m_height = height;
  return true;
}

void CBitmapDC::Release() {
  if (m_hDC && m_oldBitmap) ::SelectObject(m_hDC, m_oldBitmap);
  if (m_bitmap) ::DeleteObject(m_bitmap);
  if (m_hDC) ::DeleteDC(m_hDC);
  m_hDC = nullptr;
  m_bitmap = nullptr;
  m_oldBitmap = nullptr;
  m_width = m_height = 0;
}
