#include "skin/CustomMessageBox.h"

#include <gtest/gtest.h>

#include <thread>

#include "res/resource.h"
#include "skin/MessageBoxLayout.h"
#include "skin/SkinTestWindows.h"
#include "skin/WindowCapture.h"
#include "tests/WinTestSupport.h"

namespace {

using quarrow::PixelImage;

// The visible dialog box of a thread, once it shows.
HWND WaitForBox(DWORD threadId) {
  HWND found = nullptr;
  testing_support::WaitUntil(
      [&] {
        ::EnumThreadWindows(
            threadId,
            [](HWND hwnd, LPARAM out) -> BOOL {
              wchar_t cls[16] = {};
              ::GetClassNameW(hwnd, cls, 16);
              if (std::wstring(cls) != L"#32770" || !::IsWindowVisible(hwnd)) return TRUE;
              *reinterpret_cast<HWND*>(out) = hwnd;
              return FALSE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found != nullptr;
      },
      10000);
  return found;
}

// Where keys typed at the box go.
HWND KeyTarget(DWORD threadId, HWND box) {
  GUITHREADINFO info{sizeof(info)};
  if (::GetGUIThreadInfo(threadId, &info) && info.hwndFocus) return info.hwndFocus;
  return box;
}

TEST(CustomMessageBox, EveryWayOutButConfirmAnswersCancel) {
  enum class Action { Confirm, Cancel, Close, Escape, AltF4 };
  struct Case {
    Action action;
    const char* name;
    INT_PTR result;
  };
  const Case cases[] = {
      {Action::Confirm, "confirm button", IDOK}, {Action::Cancel, "cancel button", IDCANCEL},
      {Action::Close, "close button", IDCANCEL}, {Action::Escape, "Escape", IDCANCEL},
      {Action::AltF4, "Alt+F4", IDCANCEL},
  };
  const DWORD uiThread = ::GetCurrentThreadId();
  for (const Case& c : cases) {
    CCustomMessageBox box;
    box.SetMessage(L"关闭提示", L"是否退出《Quarrow》加强版登录器？");
    // A second thread answers the box as the player would.
    std::thread player([&] {
      HWND shown = WaitForBox(uiThread);
      if (!shown) return;
      switch (c.action) {
        case Action::Confirm: ::PostMessageW(::GetDlgItem(shown, IDOK), BM_CLICK, 0, 0); break;
        case Action::Cancel: ::PostMessageW(::GetDlgItem(shown, IDCANCEL), BM_CLICK, 0, 0); break;
        case Action::Close: ::PostMessageW(::GetDlgItem(shown, IDC_MSGBOX_CLOSE), BM_CLICK, 0, 0); break;
        case Action::Escape: {
          HWND target = KeyTarget(uiThread, shown);
          ::PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 1);
          ::PostMessageW(target, WM_KEYUP, VK_ESCAPE, 0xC0000001);
          break;
        }
        case Action::AltF4: {
          HWND target = KeyTarget(uiThread, shown);
          const LPARAM altDown = 1 | (1 << 29);  // repeat count 1, context code: Alt is down
          ::PostMessageW(target, WM_SYSKEYDOWN, VK_F4, altDown);
          break;
        }
      }
      // A box that ignored the player is ended with the other answer, so the
      // test fails instead of hanging.
      if (!testing_support::WaitUntil([&] { return !::IsWindow(shown); }, 5000)) {
        ::PostMessageW(::GetDlgItem(shown, c.result == IDOK ? IDCANCEL : IDOK), BM_CLICK, 0, 0);
      }
    });
    INT_PTR result = box.DoModal();
    player.join();
    EXPECT_EQ(c.result, result) << c.name;
  }
}

TEST(CustomMessageBox, IsASmallCaptionlessBoxDraggedByItsBody) {
  quarrow::InspectedMessageBox box;
  box.SetMessage(L"选服", L"是否退出当前区服，重新选择新区服？");
  box.inspect = [](quarrow::InspectedMessageBox& shown) {
    RECT frame = shown.WindowRect();
    EXPECT_EQ(quarrow::kMessageBoxWidth, frame.right - frame.left);
    EXPECT_EQ(quarrow::kMessageBoxHeight, frame.bottom - frame.top);
    LONG_PTR style = ::GetWindowLongPtrW(shown.hwnd(), GWL_STYLE);
    EXPECT_EQ(0, style & WS_CAPTION);
    EXPECT_NE(0, style & WS_SYSMENU);
    // Over the text: the box answers as its caption would.
    LPARAM overText = MAKELPARAM(frame.left + 60, frame.top + 40);
    EXPECT_EQ(HTCAPTION, ::SendMessageW(shown.hwnd(), WM_NCHITTEST, 0, overText));
    RECT confirm{};
    ::GetWindowRect(shown.Button(IDOK), &confirm);
    EXPECT_EQ(frame.left + 45, confirm.left);
    EXPECT_EQ(frame.bottom - 45, confirm.top);
  };
  EXPECT_EQ(IDOK, box.DoModal());
}

// The box painted with `text`, as on screen.
PixelImage PaintedBox(const std::wstring& text) {
  PixelImage picture;
  quarrow::InspectedMessageBox box;
  box.SetMessage(L"关闭提示", text);
  box.inspect = [&](quarrow::InspectedMessageBox& shown) { picture = quarrow::CaptureClient(shown.hwnd()); };
  box.DoModal();
  return picture;
}

// Columns of `area` where `a` and `b` differ.
std::vector<int> DifferingColumns(const PixelImage& a, const PixelImage& b, const RECT& area) {
  std::vector<int> columns;
  for (int x = area.left; x < area.right; ++x) {
    for (int y = area.top; y < area.bottom; ++y) {
      if (a.At(x, y) != b.At(x, y)) {
        columns.push_back(x);
        break;
      }
    }
  }
  return columns;
}

TEST(CustomMessageBox, ALongTextEndsInAnEllipsisAndNeverWrapsBelowItsBox) {
  const std::wstring longText =
      L"这是一段很长的提示文字，用来看看超出两行时的样子：它应当在第二行的末尾以省略号结束，"
      L"而不会跑到按钮上面去。The end of this text must never show.";
  PixelImage empty = PaintedBox(L""), full = PaintedBox(longText);
  ASSERT_FALSE(empty.Empty());
  ASSERT_FALSE(full.Empty());
  const quarrow::PixelRect box = quarrow::kMessageBoxTextBox;

  // Below the 30 pixels of the text box (down to the buttons) nothing changes.
  RECT below{box.x - 10, box.Bottom(), box.Right() + 5, quarrow::kMessageBoxHeight - 45};
  EXPECT_TRUE(DifferingColumns(empty, full, below).empty()) << "text wrapped below its box";

  // Two lines are written; the second one ends in three separate dots.
  RECT firstLine{box.x, box.y, box.Right(), box.y + 14}, secondLine{box.x, box.y + 14, box.Right(), box.Bottom()};
  EXPECT_GT(DifferingColumns(empty, full, firstLine).size(), 150u);
  std::vector<int> ink = DifferingColumns(empty, full, secondLine);
  ASSERT_GT(ink.size(), 150u);
  // Runs of inked columns, right to left: the last three are the dots, each
  // narrow and only in the lower part of the line.
  std::vector<std::pair<int, int>> runs;  // [first, last]
  for (int x : ink) {
    if (!runs.empty() && runs.back().second == x - 1) {
      runs.back().second = x;
    } else {
      runs.emplace_back(x, x);
    }
  }
  ASSERT_GE(runs.size(), 4u);
  for (size_t i = runs.size() - 3; i < runs.size(); ++i) {
    EXPECT_LE(runs[i].second - runs[i].first, 2) << "dot " << i << " is narrow";
    RECT upperHalf{runs[i].first, secondLine.top, runs[i].second + 1, secondLine.top + 6};
    EXPECT_TRUE(DifferingColumns(empty, full, upperHalf).empty()) << "dot " << i << " sits on the base line";
  }
}

TEST(CustomMessageBox, RepaintsWholeWhenUncoveredLater) {
  PixelImage first, repainted;
  quarrow::InspectedMessageBox box;
  box.SetMessage(L"卸载", L"您是否确认卸载《Quarrow》加强版？");
  box.inspect = [&](quarrow::InspectedMessageBox& shown) {
    first = quarrow::CaptureClient(shown.hwnd());
    // Something else drew over the box; the system asks for a repaint that
    // goes through the ordinary paint message.
    HDC dc = ::GetDC(shown.hwnd());
    RECT all = shown.ClientRect();
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::ReleaseDC(shown.hwnd(), dc);
    ::InvalidateRect(shown.hwnd(), nullptr, TRUE);
    ::UpdateWindow(shown.hwnd());
    repainted = quarrow::CaptureClient(shown.hwnd());
  };
  box.DoModal();
  ASSERT_FALSE(first.Empty());
  EXPECT_TRUE(first == repainted);
}

}  // namespace
