#include "framework/ResourceString.h"

#include <windows.h>

#include <cstdarg>
#include <cwchar>
#include <vector>

#include "framework/Application.h"

namespace fw {

std::wstring LoadResString(unsigned id) {
  const wchar_t* text = nullptr;
  // Length 0 asks for a pointer into the resource itself, so no length limit.
  int length = ::LoadStringW(Application::ResourceModule(), id, reinterpret_cast<wchar_t*>(&text), 0);
  if (length <= 0 || !text) return std::wstring();
  return std::wstring(text, static_cast<size_t>(length));
}

std::wstring Format(const wchar_t* format, ...) {
  std::vector<wchar_t> buffer(256);
  for (;;) {
    va_list args;
    va_start(args, format);
    int n = std::vswprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    if (n >= 0 && static_cast<size_t>(n) < buffer.size()) return std::wstring(buffer.data(), n);
    if (buffer.size() > (1u << 20)) return std::wstring();
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace fw
