// Unpacks the default files carried in the executable (resource 269, a ZIP
// archive: systemset.ini and uninstall.ico) into the res folder, once per
// installation: the key "start" of section "Setting" marks it done.
#pragma once

#include <cstddef>
#include <string>

namespace quarrow {

// Folder: the data folder without its trailing backslash; it must exist.
// An existing systemset.ini is kept; every other file is rewritten.
void ExtractDefaultResources(const std::wstring& folder);

// The same with the archive given: its bytes and their length.
void ExtractDefaultFiles(const std::wstring& folder, const void* archive, size_t size);

}  // namespace quarrow
