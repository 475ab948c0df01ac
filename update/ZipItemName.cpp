#include "update/ZipItemName.h"

#include <cstdint>

namespace quarrow {
namespace {

constexpr wchar_t kReplacement = 0xFFFD;

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// Length of the well-formed UTF-8 sequence at the front of text, with its code
// point; 0 when the front is not one (the caller then takes one byte).
size_t DecodeOne(std::string_view text, uint32_t* codePoint) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) {
    *codePoint = lead;
    return 1;
  }
  size_t length;
  uint32_t value, minimum;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, value = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, value = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, value = lead & 0x07, minimum = 0x10000;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (byte(i) & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  *codePoint = value;
  return length;
}

}  // namespace

std::wstring DecodeZipItemName(std::string_view stored) {
  stored = stored.substr(0, stored.find('\0'));
  std::wstring name;
  while (!stored.empty()) {
    uint32_t codePoint = kReplacement;
    size_t used = DecodeOne(stored, &codePoint);
    if (used == 0) used = 1;  // codePoint stays the replacement character
    stored.remove_prefix(used);
    if (codePoint < 0x10000) {
      if (name.size() + 1 > kZipItemNameMaxUnits) break;
      name.push_back(static_cast<wchar_t>(codePoint));
    } else {
      if (name.size() + 2 > kZipItemNameMaxUnits) break;  // never half a pair
      codePoint -= 0x10000;
      name.push_back(static_cast<wchar_t>(0xD800 + (codePoint >> 10)));
      name.push_back(static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF)));
    }
  }
  return name;
}

std::wstring CleanZipItemName(std::wstring name) {
  static const wchar_t* const kClimbs[] = {L"\\..\\", L"\\../", L"/../", L"/..\\"};
  for (;;) {
    if (name.size() >= 2 && name[1] == L':') {
      name.erase(0, 2);
      continue;
    }
    if (!name.empty() && IsSeparator(name[0])) {
      name.erase(0, 1);
      continue;
    }
    bool dropped = false;
    for (const wchar_t* climb : kClimbs) {
      size_t at = name.find(climb);
      if (at != std::wstring::npos) {
        name.erase(0, at + 4);
        dropped = true;
        break;
      }
    }
    if (!dropped) return name;
  }
}

bool IsRootedZipPath(std::wstring_view path) {
  return (!path.empty() && IsSeparator(path[0])) || (path.size() >= 2 && path[1] == L':');
}

bool ClimbsOutOfFolder(std::wstring_view path) {
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = start;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    std::wstring_view segment = path.substr(start, end - start);
    if (segment.size() >= 2 && segment[0] == L'.' && segment[1] == L'.' &&
        segment.find_first_not_of(L". ") == std::wstring_view::npos) {
      return true;
    }
    start = end + 1;
  }
  return false;
}

ZipPathParts SplitAtLastSeparator(std::wstring_view path) {
  size_t last = path.find_last_of(L"\\/");
  if (last == std::wstring_view::npos) return {L"", std::wstring(path)};
  return {std::wstring(path.substr(0, last + 1)), std::wstring(path.substr(last + 1))};
}

std::vector<std::wstring> FolderChain(std::wstring_view folderPath) {
  std::vector<std::wstring> chain;
  for (size_t i = 1; i < folderPath.size(); ++i) {
    if (IsSeparator(folderPath[i]) && !IsSeparator(folderPath[i - 1])) {
      chain.emplace_back(folderPath.substr(0, i));
    }
  }
  if (!folderPath.empty()) chain.emplace_back(folderPath);
  return chain;
}

}  // namespace quarrow
