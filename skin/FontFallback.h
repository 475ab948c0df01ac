// Fonts of the skinned windows: the family they name, or the generic
// sans-serif one on a system that lacks it.
#pragma once

#include <memory>

#include "framework/GdiPlus.h"

namespace quarrow {

std::unique_ptr<Gdiplus::FontFamily> FontFamilyOrSansSerif(const wchar_t* name);

}  // namespace quarrow
