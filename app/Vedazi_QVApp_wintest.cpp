// The game-window role started as the launcher starts it, with this test's
// own window standing in for the main window of another process.
#include <gtest/gtest.h>

#include "framework/Dialog.h"
#include "res/resource.h"
#include "tests/WinTestSupport.h"

namespace {

using namespace testing_support;

HWND ForeignChildOf(HWND parent, DWORD processId) {
  struct State {
    DWORD processId;
    HWND found;
  } state{processId, nullptr};
  ::EnumChildWindows(
      parent,
      [](HWND child, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<State*>(param);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(child, &owner);
        if (owner != s->processId) return TRUE;
        s->found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&state));
  return state.found;
}

TEST(GameWindowRole, ChildDialogLivesInsideTheFrameOfAnotherProcessAndQuitsOnClose) {
  fw::Dialog frame(IDD_OVERLAY);
  ASSERT_TRUE(frame.Create());
  ::SetWindowPos(frame.hwnd(), nullptr, 0, 0, 640, 480, SWP_NOZORDER | SWP_SHOWWINDOW);

  std::wstring line = L"\"" + LauncherPath() + L"\" -frameWnd=" +
                      std::to_wstring(reinterpret_cast<INT_PTR>(frame.hwnd())) + L" -gameurl=http://h/a b";
  HANDLE process = StartProcess(LauncherPath(), line);
  ASSERT_NE(nullptr, process);
  // The window exists before it has initialised; it is shown once it has
  // (the main window likewise waits for the game window to announce itself).
  HWND child = nullptr;
  EXPECT_TRUE(WaitUntil(
      [&] {
        child = ForeignChildOf(frame.hwnd(), ::GetProcessId(process));
        return child && ::IsWindowVisible(child);
      },
      15000));
  if (child) {
    EXPECT_TRUE(::GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD);
    ::SendMessageW(child, WM_CLOSE, 0, 0);
  }
  // Keep the frame's thread answering, as the main window does: the child's
  // window goes away with its process and that talks to its parent.
  EXPECT_TRUE(WaitUntil([&] { return ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, 15000));
  EXPECT_EQ(0u, WaitForExit(process, 0)) << "the message loop ends with code 0";
  // Never leave the child behind: destroying the frame would wait on it.
  ::TerminateProcess(process, 1);
  WaitUntil([&] { return ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, 5000);
  ::CloseHandle(process);
}

TEST(GameWindowRole, AFrameThatIsNoWindowEndsTheProcess) {
  HANDLE process = StartProcess(LauncherPath(), L"\"" + LauncherPath() + L"\" -frameWnd=12345 -gameurl=x");
  ASSERT_NE(nullptr, process);
  EXPECT_NE(STILL_ACTIVE, WaitForExit(process, 15000));
  ::CloseHandle(process);
}

}  // namespace
