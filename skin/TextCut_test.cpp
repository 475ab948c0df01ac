#include "skin/TextCut.h"

#include <gtest/gtest.h>

namespace quarrow {
namespace {

TEST(TextCut, CharacterCutNeverSplitsASurrogatePair) {
  // Spelled out: on Linux wchar_t holds a whole code point.
  const std::wstring text{L'a', L'b', wchar_t(0xD83D), wchar_t(0xDE00), L'c', L'd'};
  EXPECT_EQ(2u, CharacterCut(text, 2));
  EXPECT_EQ(2u, CharacterCut(text, 3)) << "inside the pair: before it";
  EXPECT_EQ(4u, CharacterCut(text, 4));
  EXPECT_EQ(text.size(), CharacterCut(text, 99));
}

TEST(TextCut, WordCutFallsOnSpacesOrNextToChineseCharacters) {
  struct Case {
    const wchar_t* text;
    size_t length, cut;
  };
  const Case cases[] = {
      {L"hello wide world", 9, 6},       // back to the start of "wide"
      {L"hello wide world", 6, 6},       // already at a word start
      {L"hello wide world", 5, 5},       // at the space itself
      {L"unbreakable", 6, 6},            // no break anywhere: cut the word
      {L"是否退出当前区服", 3, 3},       // every ideograph is a word
      {L"退出Quarrow登录器", 5, 2},      // inside the Latin word: before it
      {L"退出Quarrow登录器", 9, 9},      // right after it, before 登
      {L"short", 10, 5},                 // longer than the text: all of it
  };
  for (const Case& c : cases) EXPECT_EQ(c.cut, WordCut(c.text, c.length)) << c.length;
}

TEST(TextCut, EllipsisReplacesTheRestAndTrailingSpace) {
  EXPECT_EQ(L"hello\u2026", WithEllipsis(L"hello wide world", 6));
  EXPECT_EQ(L"是否\u2026", WithEllipsis(L"是否退出", 2));
  EXPECT_EQ(L"\u2026", WithEllipsis(L"  x", 2));
  EXPECT_EQ(L"ab\u2026", WithEllipsis(L"ab", 7));
}

}  // namespace
}  // namespace quarrow
