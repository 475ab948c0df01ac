// Pixels of windows on screen, for the skin's tests and its gallery: what a
// window shows now, read back from its DC, and PNG files of such pictures.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quarrow {

struct PixelImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, rows top-down

  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  bool Empty() const { return pixels.empty(); }
  // The part inside r (clipped to the picture).
  PixelImage Crop(const RECT& r) const;
  bool operator==(const PixelImage& other) const {
    return width == other.width && height == other.height && pixels == other.pixels;
  }
  bool operator!=(const PixelImage& other) const { return !(*this == other); }
};

// The client area of a visible window as it is on screen now.
PixelImage CaptureClient(HWND window);
// The whole window, frame included.
PixelImage CaptureWindow(HWND window);
// What a DC holds in r.
PixelImage CaptureDC(HDC dc, const RECT& r);

bool SavePng(const PixelImage& image, const std::wstring& path);

constexpr uint32_t Rgb(uint8_t r, uint8_t g, uint8_t b) {
  return (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) | b;
}

}  // namespace quarrow
