// The update log's line format: local time, the module tag, the message.
#pragma once

#include <string>

namespace quarrow {

struct LogTime {
  int year, month, day, hour, minute, second;
};

// "%2d-%2d-%2d %2d:%2d:%2d : \tUpdateModule\t<message>" without the line end;
// each field is at least two wide, padded with a space.
std::wstring FormatUpdateLogLine(const LogTime& time, const std::wstring& message);

}  // namespace quarrow
