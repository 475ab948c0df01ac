// The finish-update role: a freshly downloaded copy puts itself in place of
// the installed launcher and starts it.
#pragma once

#include <windows.h>

#include <string>

namespace quarrow {

// Replaces target with a copy of source without ever leaving a half-written
// target: the copy goes to a sibling file first, which then takes the
// target's place in one step. The launcher that started us may still be
// running from target for a moment, so the replacement is retried for up to
// retryMs. On failure target is untouched and *error holds the system code.
bool ReplaceFileWithCopy(const std::wstring& source, const std::wstring& target, DWORD retryMs, DWORD* error);

// Installs the running executable over target and starts it. Returns only
// when that failed (after logging it); on success the process ends with 0.
void RunFinishUpdate(const std::wstring& target);

}  // namespace quarrow
