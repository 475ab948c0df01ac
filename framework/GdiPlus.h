// GDI+ headers expect min and max in scope, which NOMINMAX takes away, and
// the COM property types that WIN32_LEAN_AND_MEAN leaves out of windows.h.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>
