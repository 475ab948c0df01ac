#include "skin/WindowCapture.h"

#include <algorithm>

#include "framework/GdiPlus.h"

namespace quarrow {

PixelImage PixelImage::Crop(const RECT& r) const {
  PixelImage part;
  int left = std::max(0, static_cast<int>(r.left)), top = std::max(0, static_cast<int>(r.top));
  int right = std::min(width, static_cast<int>(r.right)), bottom = std::min(height, static_cast<int>(r.bottom));
  if (right <= left || bottom <= top) return part;
  part.width = right - left;
  part.height = bottom - top;
  part.pixels.reserve(static_cast<size_t>(part.width) * part.height);
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) part.pixels.push_back(At(x, y));
  }
  return part;
}

PixelImage CaptureDC(HDC dc, const RECT& r) {
  PixelImage image;
  int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return image;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC memory = ::CreateCompatibleDC(dc);
  HBITMAP section = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (memory && section && bits) {
    HGDIOBJ old = ::SelectObject(memory, section);
    ::BitBlt(memory, 0, 0, width, height, dc, r.left, r.top, SRCCOPY);
    ::GdiFlush();
    image.width = width;
    image.height = height;
    const auto* source = static_cast<const uint32_t*>(bits);
    image.pixels.assign(source, source + static_cast<size_t>(width) * height);
    for (uint32_t& p : image.pixels) p &= 0x00FFFFFF;
    ::SelectObject(memory, old);
  }
  if (section) ::DeleteObject(section);
  if (memory) ::DeleteDC(memory);
  return image;
}

PixelImage CaptureClient(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  HDC dc = ::GetDC(window);
  PixelImage image = CaptureDC(dc, client);
  ::ReleaseDC(window, dc);
  return image;
}

PixelImage CaptureWindow(HWND window) {
  RECT frame{};
  ::GetWindowRect(window, &frame);
  ::OffsetRect(&frame, -frame.left, -frame.top);
  HDC dc = ::GetWindowDC(window);
  PixelImage image = CaptureDC(dc, frame);
  ::ReleaseDC(window, dc);
  return image;
}

namespace {

bool PngEncoder(CLSID* clsid) {
  UINT count = 0, bytes = 0;
  if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0) return false;
  std::vector<BYTE> buffer(bytes);
  auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (Gdiplus::GetImageEncoders(count, bytes, encoders) != Gdiplus::Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (std::wstring(encoders[i].MimeType) == L"image/png") {
      *clsid = encoders[i].Clsid;
      return true;
    }
  }
  return false;
}

}  // namespace

bool SavePng(const PixelImage& image, const std::wstring& path) {
  CLSID png{};
  if (image.Empty() || !PngEncoder(&png)) return false;
  std::vector<uint32_t> opaque(image.pixels);
  for (uint32_t& p : opaque) p |= 0xFF000000;
  Gdiplus::Bitmap bitmap(image.width, image.height, image.width * 4, PixelFormat32bppARGB,
                         reinterpret_cast<BYTE*>(opaque.data()));
  return bitmap.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
}

}  // namespace quarrow
