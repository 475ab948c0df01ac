#include "skin/FontFallback.h"

namespace quarrow {

std::unique_ptr<Gdiplus::FontFamily> FontFamilyOrSansSerif(const wchar_t* name) {
  auto family = std::make_unique<Gdiplus::FontFamily>(name);
  if (family->IsAvailable()) return family;
  return std::unique_ptr<Gdiplus::FontFamily>(Gdiplus::FontFamily::GenericSansSerif()->Clone());
}

}  // namespace quarrow
