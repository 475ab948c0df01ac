#include "update/ZipItemName.h"

#include <gtest/gtest.h>

namespace quarrow {
namespace {

TEST(ZipItemName, CleanUpDropsDrivesRootsAndClimbsFromTheFront) {
  struct Case {
    const wchar_t* stored;
    const wchar_t* cleaned;
  } cases[] = {
      {L"C:\\a\\b.txt", L"a\\b.txt"},
      {L"x/../y.txt", L"y.txt"},
      {L"/abs/z.txt", L"abs/z.txt"},
      {L"\\\\server\\share\\f.txt", L"server\\share\\f.txt"},
      {L"C:/D:/x", L"x"},                // a drive, a root, another drive, another root
      {L"x/../C:/y", L"y"},              // a climb uncovers a drive
      {L"a\\..\\b/../c", L"c"},          // "\..\" is tried before "/../"
      {L"a/..\\b", L"b"},                // the mixed form "/..\"
      {L"a\\../b", L"b"},                // and "\../"
      {L"../x", L"../x"},                // nothing in front of the ".."
      {L"..\\x", L"..\\x"},
      {L"a/../../x", L"../x"},           // only the first climb goes
      {L"a/..", L"a/.."},                // no separator after the ".."
      {L"a/..b/c", L"a/..b/c"},
      {L"res/systemset.ini", L"res/systemset.ini"},
      {L"dir/", L"dir/"},
      {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(CleanZipItemName(c.stored), c.cleaned) << c.stored;
}

TEST(ZipItemName, ClimbingSegmentsAreFoundAnywhere) {
  struct Case {
    const wchar_t* path;
    bool climbs;
  } cases[] = {
      {L"../x", true},      {L"..\\x", true},  {L"a/../../x", true}, {L"a/..", true},  {L"..", true},
      {L"a\\.. \\x", true}, {L"a/.../x", true}, {L"a/. ./x", false},  {L"a/..b/c", false}, {L"b../c", false},
      {L"./x", false},      {L"a/b/c.txt", false}, {L".hidden", false}, {L"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(ClimbsOutOfFolder(c.path), c.climbs) << c.path;
}

TEST(ZipItemName, NamesAreUtf8WhateverTheFlagsSay) {
  // "卸载.ico", a character outside the basic plane, and broken sequences.
  EXPECT_EQ(DecodeZipItemName("\xE5\x8D\xB8\xE8\xBD\xBD.ico"), L"\x5378\x8F7D.ico");
  EXPECT_EQ(DecodeZipItemName("\xF0\x9F\x98\x80"), std::wstring(L"\xD83D\xDE00"));
  EXPECT_EQ(DecodeZipItemName("a\xFF" "b"), L"a\xFFFD" L"b");
  EXPECT_EQ(DecodeZipItemName("\xC0\xAF"), L"\xFFFD\xFFFD");       // overlong "/" is no separator
  EXPECT_EQ(DecodeZipItemName("\xED\xA0\x80"), L"\xFFFD\xFFFD\xFFFD");  // an encoded surrogate
  EXPECT_EQ(DecodeZipItemName("\xE5\x8D"), L"\xFFFD\xFFFD");       // cut short
  EXPECT_EQ(DecodeZipItemName(std::string_view("ok.txt\0../../evil", 17)), L"ok.txt");
}

TEST(ZipItemName, DecodedNamesFitTheNameField) {
  EXPECT_EQ(DecodeZipItemName(std::string(300, 'a')).size(), kZipItemNameMaxUnits);
  // 258 units and then a pair that would not fit whole: the pair is left out.
  std::string stored = std::string(258, 'a') + "\xF0\x9F\x98\x80";
  EXPECT_EQ(DecodeZipItemName(stored), std::wstring(258, L'a'));
}

TEST(ZipItemName, FolderPartsAndTheFoldersToCreate) {
  ZipPathParts parts = SplitAtLastSeparator(L"a/b\\c.txt");
  EXPECT_EQ(parts.folder, L"a/b\\");
  EXPECT_EQ(parts.file, L"c.txt");
  parts = SplitAtLastSeparator(L"c.txt");
  EXPECT_EQ(parts.folder, L"");
  EXPECT_EQ(parts.file, L"c.txt");

  EXPECT_EQ(FolderChain(L"a/b\\c/"), (std::vector<std::wstring>{L"a", L"a/b", L"a/b\\c", L"a/b\\c/"}));
  EXPECT_EQ(FolderChain(L"a//b"), (std::vector<std::wstring>{L"a", L"a//b"}));
  EXPECT_EQ(FolderChain(L"C:\\x\\y"), (std::vector<std::wstring>{L"C:", L"C:\\x", L"C:\\x\\y"}));
  EXPECT_TRUE(FolderChain(L"").empty());

  EXPECT_TRUE(IsRootedZipPath(L"\\x"));
  EXPECT_TRUE(IsRootedZipPath(L"/x"));
  EXPECT_TRUE(IsRootedZipPath(L"C:x"));
  EXPECT_FALSE(IsRootedZipPath(L"x/C:"));
  EXPECT_FALSE(IsRootedZipPath(L""));
}

}  // namespace
}  // namespace quarrow
