// GDI+ headers expect min and max in scope, which NOMINMAX takes away.
#pragma once

#include <windows.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>
