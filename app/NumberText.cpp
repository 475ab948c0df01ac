#include "app/NumberText.h"

#include <limits>

namespace quarrow {
namespace {

template <class Char>
bool IsSpace(Char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

template <class Char>
int64_t Parse(std::basic_string_view<Char> text) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Accumulate as a negative number so INT64_MIN is reachable.
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    int digit = text[i] - '0';
    if (value < (kMin + digit) / 10) {
      value = kMin;
      while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
      break;
    }
    value = value * 10 - digit;
  }
  if (negative) return value;
  return value == kMin ? std::numeric_limits<int64_t>::max() : -value;
}

int32_t Clamp32(int64_t v) {
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

}  // namespace

int64_t ParseLeadingInteger(std::wstring_view text) { return Parse(text); }
int64_t ParseLeadingInteger(std::string_view text) { return Parse(text); }
int32_t ParseLeadingInt32(std::wstring_view text) { return Clamp32(Parse(text)); }
int32_t ParseLeadingInt32(std::string_view text) { return Clamp32(Parse(text)); }

}  // namespace quarrow
