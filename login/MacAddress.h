// The machine's network adapter address, read through NetBIOS, for the login
// page's URL.
#pragma once

#include <windows.h>

#include <string>

namespace quarrow {

// Writes the address as "00-1A-2B-3C-4D-5E" (8-bit text) into buffer, which
// the caller has zeroed; 0 on success, otherwise the failing NetBIOS return
// code, with the buffer untouched.
UCHAR GetMacAddress(char* buffer, size_t size);

// The address text, empty when it cannot be read.
std::wstring MacAddressText();

// The login page URL: url with "mac/<address>/" put in (see LoginPageUrl.h).
void AppendMacToUrl(std::wstring& url);

}  // namespace quarrow
