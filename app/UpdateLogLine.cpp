#include "app/UpdateLogLine.h"

#include <cwchar>

namespace quarrow {

std::wstring FormatUpdateLogLine(const LogTime& t, const std::wstring& message) {
  wchar_t stamp[96];
  std::swprintf(stamp, sizeof(stamp) / sizeof(stamp[0]), L"%2d-%2d-%2d %2d:%2d:%2d : \t", t.year, t.month,
                t.day, t.hour, t.minute, t.second);
  return std::wstring(stamp) + L"UpdateModule\t" + message;
}

}  // namespace quarrow
