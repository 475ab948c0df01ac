#include "skin/MemDC.h"

CMyMemDC::CMyMemDC(HDC target, const RECT* rect) : m_pDC(target) {
  m_bMemDC = ::GetDeviceCaps(target, TECHNOLOGY) != DT_RASPRINTER;
  if (!m_bMemDC) {
    // Paper cannot flicker, and a bitmap of a printed page would be huge.
    m_hDC = target;
    if (rect) m_rect = *rect;
    return;
  }
  bool allZero = !rect || (rect->left == 0 && rect->top == 0 && rect->right == 0 && rect->bottom == 0);
  if (allZero) {
    ::GetClipBox(target, &m_rect);
  } else {
    m_rect = *rect;
  }
  m_hDC = ::CreateCompatibleDC(target);
  int width = m_rect.right - m_rect.left, height = m_rect.bottom - m_rect.top;
  m_bitmap = ::CreateCompatibleBitmap(target, width, height);
  if (m_hDC && m_bitmap) m_oldBitmap = ::SelectObject(m_hDC, m_bitmap);
  ::SetWindowOrgEx(m_hDC, m_rect.left, m_rect.top, nullptr);
}

CMyMemDC::~CMyMemDC() {
  if (!m_bMemDC) return;  // the borrowed printer DC stays with its owner
  if (m_hDC && m_oldBitmap) {
    ::BitBlt(m_pDC, m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, m_hDC,
             m_rect.left, m_rect.top, SRCCOPY);
    ::SelectObject(m_hDC, m_oldBitmap);
  }
  if (m_bitmap) ::DeleteObject(m_bitmap);
  if (m_hDC) ::DeleteDC(m_hDC);
}
