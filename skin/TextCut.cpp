#include "skin/TextCut.h"

namespace quarrow {
namespace {

bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == 0x3000; }

// Ideographs, kana, hangul, CJK punctuation and full-width forms.
bool IsCjk(wchar_t c) {
  return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFFEF);
}

}  // namespace

size_t CharacterCut(const std::wstring& text, size_t length) {
  if (length >= text.size()) return text.size();
  while (length > 0 && IsLowSurrogate(text[length])) --length;
  return length;
}

size_t WordCut(const std::wstring& text, size_t length) {
  size_t limit = CharacterCut(text, length);
  if (limit >= text.size()) return text.size();
  for (size_t cut = limit; cut > 0; --cut) {
    wchar_t before = text[cut - 1], after = text[cut];
    if (IsLowSurrogate(after)) continue;
    if (IsSpace(before) || IsSpace(after) || IsCjk(before) || IsCjk(after)) return cut;
  }
  return limit;
}

std::wstring WithEllipsis(const std::wstring& text, size_t cut) {
  size_t end = cut < text.size() ? cut : text.size();
  while (end > 0 && IsSpace(text[end - 1])) --end;
  return text.substr(0, end) + kEllipsis;
}

}  // namespace quarrow
