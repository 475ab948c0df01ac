// The writer of the settings file; its reader is ReadSetting (app/FileUtils.h).
#pragma once

namespace quarrow {

// Writes one value of res//systemset.ini in the data folder. The file, section
// and key are made as needed; the res folder must exist. Failures go unnoticed.
void WriteSetting(const wchar_t* section, const wchar_t* key, const wchar_t* value);

}  // namespace quarrow
