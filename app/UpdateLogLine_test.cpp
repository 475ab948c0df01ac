#include "app/UpdateLogLine.h"

#include <gtest/gtest.h>

namespace quarrow {
namespace {

TEST(UpdateLogLine, SingleDigitFieldsArePaddedWithASpace) {
  EXPECT_EQ(FormatUpdateLogLine({2026, 3, 7, 9, 5, 3}, L"Finish Update."),
            L"2026- 3- 7  9: 5: 3 : \tUpdateModule\tFinish Update.");
}

TEST(UpdateLogLine, TwoDigitFieldsAndMessageKeptVerbatim) {
  EXPECT_EQ(FormatUpdateLogLine({2026, 12, 31, 23, 59, 58}, L"Http QueryInfoStatusCode:200\t%s 中文"),
            L"2026-12-31 23:59:58 : \tUpdateModule\tHttp QueryInfoStatusCode:200\t%s 中文");
  EXPECT_EQ(FormatUpdateLogLine({2026, 10, 1, 0, 0, 0}, L""), L"2026-10- 1  0: 0: 0 : \tUpdateModule\t");
}

}  // namespace
}  // namespace quarrow
