#include "update/UpdateCheckRules.h"

#include <gtest/gtest.h>

namespace quarrow {
namespace {

TEST(UpdateCheckRules, QueryUrlJoinsBaseAndPathWithOneSlash) {
  EXPECT_EQ(VersionQueryUrl(L"http://127.0.0.1:18480", L"getClientVersion.php?p=orbix_v1&g=vor&v=", L"1.0.1.0"),
            L"http://127.0.0.1:18480/getClientVersion.php?p=orbix_v1&g=vor&v=1.0.1.0");
  // A version text that is not a version still goes out as it is.
  EXPECT_EQ(VersionQueryUrl(L"http://h", L"q?v=", L"None VerSion Supprot"), L"http://h/q?v=None VerSion Supprot");
}

TEST(UpdateCheckRules, AnswerOffersUpdateOnlyWhenLongEnoughAndNotNegative) {
  struct Case {
    const wchar_t* answer;
    bool offered;
  } cases[] = {
      {L"", false},
      {L"0", false},
      {L"12345", false},   // five characters
      {L"123456", true},   // six: taken as a URL, whose download then fails
      {L"-12345", false},  // six, but negative
      {L"-1", false},
      {L"  -5 http://host/new.exe", false},
      {L"http://127.0.0.1:18480/files/new.exe", true},
      {L"abcdef", true},   // reads as 0, which is not negative
      {L"-abcde", true},   // a sign without digits reads as 0
      {L"\r\n\r\n0\r\n", true},  // untrimmed: six characters
  };
  for (const Case& c : cases) EXPECT_EQ(IsUpdateOffered(c.answer), c.offered) << c.answer;
  EXPECT_TRUE(IsUpdateOffered(L"http://127.0.0.1/" + std::wstring(2000, L'a')));
}

TEST(UpdateCheckRules, LogIsDroppedOnlyAboveTenMebibytes) {
  EXPECT_FALSE(ShouldDropUpdateLog(0));
  EXPECT_FALSE(ShouldDropUpdateLog(10485760));
  EXPECT_TRUE(ShouldDropUpdateLog(10485761));
}

}  // namespace
}  // namespace quarrow
