// Reading numbers the way the launcher's text formats expect them: leading
// white space, an optional sign, then the leading decimal digits; anything
// after them is ignored and text without digits reads as 0.
#pragma once

#include <cstdint>
#include <string_view>

namespace quarrow {

// Saturates at the limits of int64_t instead of overflowing.
int64_t ParseLeadingInteger(std::wstring_view text);
int64_t ParseLeadingInteger(std::string_view text);

// The same, clamped to the 32-bit signed range (what a C runtime atoi-style
// read into a 32-bit field produces for sane inputs).
int32_t ParseLeadingInt32(std::wstring_view text);
int32_t ParseLeadingInt32(std::string_view text);

}  // namespace quarrow
