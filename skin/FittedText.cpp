#include "skin/FittedText.h"

#include "skin/TextCut.h"

namespace quarrow {
namespace {

bool Fits(Gdiplus::Graphics& graphics, const std::wstring& text, const Gdiplus::Font& font,
          const Gdiplus::RectF& box, const Gdiplus::StringFormat& format) {
  // Laid out in a box of the same width with room for every line it wraps to.
  Gdiplus::RectF layout(0, 0, box.Width, 1.0e5f);
  Gdiplus::RectF bounds;
  if (graphics.MeasureString(text.c_str(), static_cast<INT>(text.size()), &font, layout, &format, &bounds) !=
      Gdiplus::Ok) {
    return false;
  }
  return bounds.Height <= box.Height && bounds.Width <= box.Width + 1.0f;
}

}  // namespace

std::wstring FitTextToBox(Gdiplus::Graphics& graphics, const std::wstring& text, const Gdiplus::Font& font,
                          const Gdiplus::RectF& box, const Gdiplus::StringFormat& format, TextTrimming trimming) {
  if (text.empty() || Fits(graphics, text, font, box, format)) return text;
  auto cutAt = [&](size_t length) {
    return trimming == TextTrimming::EllipsisWord ? WordCut(text, length) : CharacterCut(text, length);
  };
  if (!Fits(graphics, WithEllipsis(text, 0), font, box, format)) return std::wstring();
  // The longest head that still fits with the ellipsis: [fits, fails).
  size_t fits = 0, fails = text.size();
  while (fails - fits > 1) {
    size_t middle = fits + (fails - fits) / 2;
    if (Fits(graphics, WithEllipsis(text, CharacterCut(text, middle)), font, box, format)) {
      fits = middle;
    } else {
      fails = middle;
    }
  }
  return WithEllipsis(text, cutAt(fits));
}

void DrawTextInBox(Gdiplus::Graphics& graphics, const std::wstring& text, const Gdiplus::Font& font,
                   const Gdiplus::RectF& box, const Gdiplus::StringFormat& format, const Gdiplus::Brush& brush,
                   TextTrimming trimming) {
  std::wstring fitted = FitTextToBox(graphics, text, font, box, format, trimming);
  if (fitted.empty()) return;
  Gdiplus::GraphicsState saved = graphics.Save();
  graphics.SetClip(box, Gdiplus::CombineModeIntersect);
  graphics.DrawString(fitted.c_str(), static_cast<INT>(fitted.size()), &font, box, &format, &brush);
  graphics.Restore(saved);
}

}  // namespace quarrow
