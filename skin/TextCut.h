// Where a text that does not fit its box may be cut before an ellipsis is
// put in its place. Windows-free.
#pragma once

#include <cstddef>
#include <string>

namespace quarrow {

constexpr wchar_t kEllipsis = L'\u2026';

// The largest cut at or before `length` that keeps surrogate pairs whole.
size_t CharacterCut(const std::wstring& text, size_t length);

// The largest cut at or before `length` where a line may break: at white
// space, or next to a CJK character (each is a word of its own). When the
// text has no such place before `length`, the character cut.
size_t WordCut(const std::wstring& text, size_t length);

// text[0, cut) without trailing white space, followed by the ellipsis.
std::wstring WithEllipsis(const std::wstring& text, size_t cut);

}  // namespace quarrow
