#include "app/NumberText.h"

#include <gtest/gtest.h>

#include <limits>

namespace quarrow {
namespace {

TEST(NumberText, LeadingDecimalOnly) {
  struct Case {
    const char* text;
    int64_t value;
  } cases[] = {
      {"", 0},          {"0", 0},           {"1001", 1001},      {"01001", 1001},  {"1001abc", 1001},
      {"  \t-12345", -12345}, {"+7", 7},    {"-", 0},            {"abc", 0},       {"- 5", 0},
      {"12 34", 12},    {"http://x", 0},    {"123456http", 123456},
      {"99999999999999999999999", std::numeric_limits<int64_t>::max()},
      {"-99999999999999999999999", std::numeric_limits<int64_t>::min()},
      {"-9223372036854775808", std::numeric_limits<int64_t>::min()},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseLeadingInteger(std::string_view(c.text)), c.value) << c.text;
    std::wstring wide(c.text, c.text + strlen(c.text));
    EXPECT_EQ(ParseLeadingInteger(std::wstring_view(wide)), c.value) << c.text;
  }
}

TEST(NumberText, ThirtyTwoBitReadsClamp) {
  EXPECT_EQ(ParseLeadingInt32("2147483648"), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(ParseLeadingInt32("-2147483649"), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(ParseLeadingInt32(L"52428800"), 52428800);
}

}  // namespace
}  // namespace quarrow
