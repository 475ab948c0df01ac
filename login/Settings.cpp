#include "login/Settings.h"

#include <windows.h>

#include <string>

#include "app/FileUtils.h"
#include "framework/ResourceString.h"
#include "res/resource.h"

namespace quarrow {

void WriteSetting(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
  const std::wstring path = GetDataFolder() + fw::LoadResString(IDS_SETTINGS_FILE);
  ::WritePrivateProfileStringW(section, key, value, path.c_str());
}

}  // namespace quarrow
