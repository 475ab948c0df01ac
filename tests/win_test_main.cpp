// Entry point of the Windows tests: the same platform start-up the launcher
// does (common controls, OLE on this thread, GDI+), then GoogleTest.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include "framework/GdiPlus.h"

int wmain(int argc, wchar_t** argv) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), 0xFF};
  ::InitCommonControlsEx(&controls);
  ::OleInitialize(nullptr);
  ULONG_PTR gdiplusToken = 0;
  Gdiplus::GdiplusStartupInput gdiplusInput;
  Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);

  testing::InitGoogleTest(&argc, argv);
  int result = RUN_ALL_TESTS();

  Gdiplus::GdiplusShutdown(gdiplusToken);
  ::OleUninitialize();
  return result;
}
