// Strings from the executable's string table, and printf-style formatting
// into wide strings (wide arguments are written %ls).
#pragma once

#include <string>

namespace fw {

std::wstring LoadResString(unsigned id);
std::wstring Format(const wchar_t* format, ...);

}  // namespace fw
