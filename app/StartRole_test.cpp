#include "app/StartRole.h"

#include <gtest/gtest.h>

namespace quarrow {
namespace {

TEST(StartRole, RowsAreTriedInOrder) {
  struct Case {
    const wchar_t* line;
    StartRole role;
  } cases[] = {
      {L"", StartRole::Launcher},
      {L"\"C:\\Games\\QuarrowLauncher.exe\"", StartRole::Launcher},
      {L"\"C:\\Games\\QuarrowLauncher.exe\" 1", StartRole::Launcher},
      {L"-d", StartRole::Launcher},  // too short to carry a path
      {L"-d C:\\data\\QuarrowLauncher.exe", StartRole::FinishUpdate},
      {L"-d C:\\x -u", StartRole::FinishUpdate},  // "-d" is tested before "-u"
      {L"C:\\data\\QuarrowLauncher.exe -u", StartRole::UninstallConfirm},
      {L"-u C:\\data\\QuarrowLauncher.exe", StartRole::UninstallCleanup},
      {L"-u C:\\x -u", StartRole::UninstallConfirm},  // a trailing "-u" wins over a leading one
      {L"-u", StartRole::UninstallConfirm},
      {L"\"a.exe\" -frameWnd=1234 -gameurl=http://h/p", StartRole::GameWindow},
      {L"\"a.exe\" -frameWnd=1234", StartRole::Launcher},    // no space after the number
      {L"\"a.exe\" -frameWnd=0 -gameurl=x", StartRole::Launcher},
      {L"\"a.exe\" -framewnd=12 -gameurl=x", StartRole::Launcher},  // case matters
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseStartRole(c.line), c.role) << std::string(c.line, c.line + wcslen(c.line));
  }
}

TEST(StartRole, ArgumentStartsAtTheFourthCharacter) {
  EXPECT_EQ(RoleArgument(L"-d C:\\data\\a b.exe"), L"C:\\data\\a b.exe");
  EXPECT_EQ(RoleArgument(L"-u C:\\x"), L"C:\\x");
  EXPECT_EQ(RoleArgument(L"-dx"), L"");
}

TEST(StartRole, GameUrlKeepsItsSpacesToTheEndOfTheLine) {
  GameWindowArgs args;
  ASSERT_TRUE(ParseGameWindowArgs(
      L"\"C:\\Program Files\\q.exe\" -frameWnd=1234 -gameurl=http://h/play_gamecode?a=1 b=2 ", &args));
  EXPECT_EQ(args.frameHandle, 1234);
  EXPECT_EQ(args.gameUrl, L"http://h/play_gamecode?a=1 b=2 ");
}

TEST(StartRole, GameWindowEdgeCases) {
  GameWindowArgs args;
  EXPECT_TRUE(ParseGameWindowArgs(L"-frameWnd=77 x", &args));  // no -gameurl= at all
  EXPECT_EQ(args.frameHandle, 77);
  EXPECT_EQ(args.gameUrl, L"");

  EXPECT_TRUE(ParseGameWindowArgs(L"-frameWnd=-5 -gameurl=u", &args));  // signed decimal
  EXPECT_EQ(args.frameHandle, -5);

  EXPECT_TRUE(ParseGameWindowArgs(L"-frameWnd=12abc -gameurl=u", &args));  // leading digits only
  EXPECT_EQ(args.frameHandle, 12);

  EXPECT_FALSE(ParseGameWindowArgs(L"-frameWnd=abc -gameurl=u", &args));
  EXPECT_EQ(args.frameHandle, 0);
  EXPECT_FALSE(ParseGameWindowArgs(L"-frameWnd= -gameurl=u", &args));
}

}  // namespace
}  // namespace quarrow
