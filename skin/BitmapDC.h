// A memory DC with a bitmap of its own, kept for as long as the object lives
// (a composed look of an image button, a snapshot of a window's pixels).
#pragma once

#include <windows.h>

class CBitmapDC {
 public:
  CBitmapDC() = default;
  ~CBitmapDC() { Release(); }
  CBitmapDC(const CBitmapDC&) = delete;
  CBitmapDC& operator=(const CBitmapDC&) = delete;

  // A DC compatible with `like` holding a width x height compatible bitmap.
  bool Create(HDC like, int width, int height);
  void Release();

  bool HasDevice() const { return m_hDC != nullptr; }
  HDC GetSafeHdc() const { return m_hDC; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }

 private:
  HDC m_hDC = nullptr;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_oldBitmap = nullptr;
  int m_width = 0;
  int m_height = 0;
};
