// What the update check decides by itself: the query it sends, whether the
// version server's answer offers a new launcher, and when the log is dropped.
#pragma once

#include <cstdint>
#include <string>

namespace quarrow {

// "<base>/<query path><version>"; the query path ends in "v=".
std::wstring VersionQueryUrl(const std::wstring& baseUrl, const std::wstring& queryPath, const std::wstring& version);

// The server offers a launcher by answering with its download URL; "no
// update" is any answer shorter than six characters or one that starts with
// a negative number. The answer is taken as it is, untrimmed.
bool IsUpdateOffered(const std::wstring& answer);

// The update log is deleted before a check once it is larger than 10 MiB.
constexpr uint64_t kUpdateLogLimitBytes = 10485760;
bool ShouldDropUpdateLog(uint64_t logBytes);

}  // namespace quarrow
