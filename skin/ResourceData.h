// Raw bytes of a resource of the executable (the skin's PNG pictures).
#pragma once

#include <windows.h>

namespace quarrow {

struct ResourceData {
  const void* bytes = nullptr;
  DWORD size = 0;
  explicit operator bool() const { return bytes != nullptr && size != 0; }
};

// Resource `id` of `type` in the application's resource module; empty when it
// is missing, empty or cannot be loaded. The bytes live as long as the module.
ResourceData FindResourceData(UINT id, const wchar_t* type);

}  // namespace quarrow
