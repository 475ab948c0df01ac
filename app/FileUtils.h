// File helpers shared by start-up, installation and the self-update.
#pragma once

#include <string>

namespace quarrow {

// Per-user data folder: %APPDATA%\orbix_v1\vor\ (ends with a backslash; not created here).
std::wstring GetDataFolder();

// Appends one line to res\update.log of the data folder (UTF-16LE, CR LF).
// 0 when written, -1 otherwise. Creates the file but no folders.
int WriteUpdateLog(const std::wstring& message);

// The FileVersion text of every translation, run together; "" when the file
// does not exist, "None VerSion Supprot" when it has no version resource.
std::wstring GetFileVersionString(const std::wstring& path);

// Appends the file's MD5 as 32 lower-case hex digits to *digest.
bool GetFileMd5(const std::wstring& path, std::wstring* digest);

// True when the folder holds nothing but "." and "..", or cannot be listed.
bool IsFolderEmpty(const std::wstring& folder);

// One value of the settings file (res//systemset.ini in the data folder),
// or the default; at most 259 characters.
std::wstring ReadSetting(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue);

// Full path of the running executable.
std::wstring GetModulePath();

bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);

}  // namespace quarrow
