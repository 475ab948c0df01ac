// How the name stored for a ZIP item becomes a path below the folder the
// archive is unpacked into, and which paths must not be written at all.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quarrow {

// An item name fills at most a 260-unit field with its terminating NUL.
constexpr size_t kZipItemNameMaxUnits = 259;

// The stored bytes read as UTF-8 whatever the archive's flags claim. A broken
// sequence reads as U+FFFD; the name ends at a NUL byte or at 259 units.
std::wstring DecodeZipItemName(std::string_view stored);

// Strips from the front of the name what would make it absolute or climb,
// repeating until nothing applies: a drive ("C:"), one leading "\" or "/",
// or everything through the first "\..\", "\../", "/../" or "/..\" (tried in
// that order). What is left can still climb ("../x" stays as it is).
std::wstring CleanZipItemName(std::wstring name);

// A destination used as given rather than below the base folder: it starts
// with a separator or its second character is ":".
bool IsRootedZipPath(std::wstring_view path);

// True when some segment of the path names a parent folder: "..", or a run of
// dots and spaces starting with ".." that Windows trims to it.
bool ClimbsOutOfFolder(std::wstring_view path);

struct ZipPathParts {
  std::wstring folder;  // up to and including the last separator; may be empty
  std::wstring file;
};
ZipPathParts SplitAtLastSeparator(std::wstring_view path);

// Folders to create for a folder path, parents first: every non-empty prefix
// that ends before a separator, then the whole path.
std::vector<std::wstring> FolderChain(std::wstring_view folderPath);

}  // namespace quarrow
