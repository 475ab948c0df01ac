#include "login/MacAddress.h"

#include <gtest/gtest.h>

#include <nb30.h>

#include <cstring>
#include <regex>

namespace quarrow {
namespace {

TEST(GetMacAddress, WritesTheAdapterAddressAsSixHexPairs) {
  char buffer[200] = {};
  ASSERT_EQ(NRC_GOODRET, GetMacAddress(buffer, sizeof(buffer)));
  EXPECT_TRUE(std::regex_match(buffer, std::regex("([0-9A-F]{2}-){5}[0-9A-F]{2}"))) << buffer;
  EXPECT_EQ(17u, std::strlen(buffer));
  // The same address as text, and in the page URL.
  std::wstring url = L"http://h/as/";
  AppendMacToUrl(url);
  EXPECT_EQ(L"http://h/as/mac/" + MacAddressText() + L"/", url);
  const std::wstring text = MacAddressText();
  EXPECT_EQ(std::string(buffer), std::string(text.begin(), text.end()));
}

TEST(GetMacAddress, NeverWritesPastTheBufferGiven) {
  char buffer[8];
  std::memset(buffer, 'x', sizeof(buffer));
  ASSERT_EQ(NRC_GOODRET, GetMacAddress(buffer, 6));
  EXPECT_EQ('\0', buffer[5]);
  EXPECT_EQ('x', buffer[6]);
}

}  // namespace
}  // namespace quarrow
