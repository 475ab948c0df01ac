#include "update/UpdateCheckRules.h"

#include "app/NumberText.h"

namespace quarrow {

std::wstring VersionQueryUrl(const std::wstring& baseUrl, const std::wstring& queryPath, const std::wstring& version) {
  return baseUrl + L"/" + queryPath + version;
}

bool IsUpdateOffered(const std::wstring& answer) {
  return answer.size() >= 6 && ParseLeadingInteger(answer) >= 0;
}

bool ShouldDropUpdateLog(uint64_t logBytes) { return logBytes > kUpdateLogLimitBytes; }

}  // namespace quarrow
