// A rectangle in pixels, for layout rules that must not depend on Windows.
#pragma once

namespace quarrow {

struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  int Right() const { return x + width; }
  int Bottom() const { return y + height; }
  bool operator==(const PixelRect& other) const {
    return x == other.x && y == other.y && width == other.width && height == other.height;
  }
};

}  // namespace quarrow
