// Text drawn in a layout box the way GDI+'s ellipsis trimming promises, on
// every system: whole lines only, nothing below the box, and a text too long
// for it cut with an ellipsis. Wine's GDI+ neither trims nor keeps the last
// lines inside the box, so the cut is measured here instead.
#pragma once

#include <string>

#include "framework/GdiPlus.h"

namespace quarrow {

enum class TextTrimming { EllipsisCharacter, EllipsisWord };

// The text as it will fit `box`: itself, or its longest head that fits with
// an ellipsis after it (empty when not even the ellipsis fits).
std::wstring FitTextToBox(Gdiplus::Graphics& graphics, const std::wstring& text, const Gdiplus::Font& font,
                          const Gdiplus::RectF& box, const Gdiplus::StringFormat& format, TextTrimming trimming);

// Fits the text and draws it clipped to the box.
void DrawTextInBox(Gdiplus::Graphics& graphics, const std::wstring& text, const Gdiplus::Font& font,
                   const Gdiplus::RectF& box, const Gdiplus::StringFormat& format, const Gdiplus::Brush& brush,
                   TextTrimming trimming);

}  // namespace quarrow
