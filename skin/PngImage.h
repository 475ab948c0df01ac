// Window backgrounds: PNG resources decoded into GDI+ images that live until
// the process ends. User-interface thread only.
#pragma once

#include <windows.h>

#include "framework/GdiPlus.h"

namespace quarrow {

// The picture of "PNG" resource `id`, or null when the resource is missing or
// empty. The same id always gives the same image, decoded once; callers never
// delete it. A picture that does not decode draws nothing.
Gdiplus::Image* LoadPngImage(UINT id);

}  // namespace quarrow
