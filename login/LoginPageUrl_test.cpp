#include "login/LoginPageUrl.h"

#include <gtest/gtest.h>

namespace quarrow {
namespace {

TEST(AppendMacToUrl, PutsTheAddressWhereTheUrlLeavesRoom) {
  struct Case {
    const wchar_t* url;
    const wchar_t* mac;
    const wchar_t* expected;
  } cases[] = {
      // the shipped base ends in a slash
      {L"http://h/client/gamecode/vor/skin/as/", L"00-1A-2B-3C-4D-5E",
       L"http://h/client/gamecode/vor/skin/as/mac/00-1A-2B-3C-4D-5E/"},
      // no slash, no query: one is added
      {L"http://h/as", L"00-1A-2B-3C-4D-5E", L"http://h/as/mac/00-1A-2B-3C-4D-5E/"},
      // a query: inserted before the last "?", with no slash in front of mac
      {L"http://h/as?a=1", L"AA-BB-CC-DD-EE-FF", L"http://h/asmac/AA-BB-CC-DD-EE-FF/?a=1"},
      {L"http://h/as/?a=?&b=2", L"AA-BB-CC-DD-EE-FF", L"http://h/as/?a=mac/AA-BB-CC-DD-EE-FF/?&b=2"},
      // no adapter address: mac followed by two slashes
      {L"http://h/as/", L"", L"http://h/as/mac//"},
      {L"", L"01-02-03-04-05-06", L"/mac/01-02-03-04-05-06/"},
  };
  for (const Case& c : cases) {
    std::wstring url = c.url;
    AppendMacToUrl(url, c.mac);
    EXPECT_EQ(c.expected, url) << "from " << testing::PrintToString(std::wstring(c.url));
  }
}

TEST(IsGameUrl, OnlyTheExactMarkCounts) {
  EXPECT_TRUE(IsGameUrl(L"http://g/play_gamecode.php?svname=s1/s1"));
  EXPECT_TRUE(IsGameUrl(L"play_gamecode"));
  EXPECT_FALSE(IsGameUrl(L"http://g/PLAY_GAMECODE.php"));
  EXPECT_FALSE(IsGameUrl(L"http://g/play_game.php?code=1"));
  EXPECT_FALSE(IsGameUrl(L""));
}

}  // namespace
}  // namespace quarrow
