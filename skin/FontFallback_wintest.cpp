#include "skin/FontFallback.h"

#include <gtest/gtest.h>

#include "skin/BitmapDC.h"
#include "skin/WindowCapture.h"

namespace {

// One character drawn white on black in a 24 x 24 cell.
quarrow::PixelImage Glyph(const wchar_t* family, float size, const wchar_t* character) {
  HDC screen = ::GetDC(nullptr);
  CBitmapDC cell;
  cell.Create(screen, 24, 24);
  ::ReleaseDC(nullptr, screen);
  RECT all{0, 0, 24, 24};
  ::FillRect(cell.GetSafeHdc(), &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  {
    Gdiplus::Graphics graphics(cell.GetSafeHdc());
    auto fontFamily = quarrow::FontFamilyOrSansSerif(family);
    Gdiplus::Font font(fontFamily.get(), size, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    Gdiplus::SolidBrush white{Gdiplus::Color(255, 255, 255, 255)};
    graphics.DrawString(character, 1, &font, Gdiplus::PointF(2, 2), &white);
  }
  return quarrow::CaptureDC(cell.GetSafeHdc(), all);
}

TEST(SkinFonts, TheTitleFamilyIsInstalled) {
  Gdiplus::FontFamily family(L"微软雅黑");
  EXPECT_TRUE(family.IsAvailable()) << "微软雅黑 (or a substitute) must be installed for the titles";
}

// Missing glyphs all draw the same box; real ones differ from each other.
TEST(SkinFonts, ChineseCharactersRenderAsGlyphsInBothSkinFonts) {
  struct Case {
    const wchar_t* family;
    float size;
  };
  for (const Case& c : {Case{L"微软雅黑", 15}, Case{L"arial", 11}, Case{L"arial", 14}}) {
    quarrow::PixelImage first = Glyph(c.family, c.size, L"卸"), second = Glyph(c.family, c.size, L"载");
    quarrow::PixelImage blank = Glyph(c.family, c.size, L" ");
    EXPECT_TRUE(first != blank) << "something is drawn";
    EXPECT_TRUE(first != second) << "two characters, two glyphs, in " << c.size << " px";
  }
}

}  // namespace
