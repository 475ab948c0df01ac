#include "skin/TouchButton.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "skin/GdiPlusBitmap.h"
#include "skin/SkinTestWindows.h"
#include "skin/WindowCapture.h"
#include "tests/WinTestSupport.h"

namespace {

using quarrow::PixelImage;
using quarrow::Rgb;

// The refresh button of the title strip: 78 x 24, normal, hover, pressed.
constexpr UINT kNormal = 226, kHover = 219, kPressed = 236;
constexpr int kButtonId = 1021;
constexpr int kWidth = 78, kHeight = 24;

struct Picture {
  CGdiPlusBitmapResource resource;
  explicit Picture(UINT id) { resource.Load(id, L"PNG"); }
  Gdiplus::Color At(int x, int y) const {
    Gdiplus::Color c;
    resource.Bitmap()->GetPixel(x, y, &c);
    return c;
  }
};

uint32_t Opaque(const Gdiplus::Color& c) { return Rgb(c.GetR(), c.GetG(), c.GetB()); }

// What the hover look makes of an opaque pixel: 5 % brighter plus 0.05.
uint32_t Brightened(const Gdiplus::Color& c) {
  auto channel = [](int v) { return static_cast<uint8_t>(std::min(255.0, v * 1.05 + 0.05 * 255 + 0.5)); };
  return Rgb(channel(c.GetR()), channel(c.GetG()), channel(c.GetB()));
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance) {
      return false;
    }
  }
  return true;
}

class TouchButtonTest : public testing::Test {
 protected:
  static constexpr COLORREF kGreen = RGB(20, 160, 40);

  void SetUp() override {
    parent = std::make_unique<quarrow::SkinTestParent>(60, 60, 200, 60, kGreen);
    ASSERT_TRUE(button.Subclass(parent->AddButton(kButtonId, 30, 20, kWidth, kHeight)));
  }
  void TearDown() override { parent.reset(); }

  PixelImage Shown() {
    ::UpdateWindow(button);
    return quarrow::CaptureClient(button);
  }

  std::unique_ptr<quarrow::SkinTestParent> parent;
  CTouchButton button;
};

TEST_F(TouchButtonTest, TheLookFollowsTheItemStateAndTheHover) {
  button.LoadImages(kNormal, kHover, kPressed);
  parent->PaintNow();
  ASSERT_TRUE(button.IsPrepared()) << "the first paint composes the looks, under Wine too";

  // A pixel where all three pictures are opaque and tell the looks apart.
  Picture normal(kNormal), hover(kHover), pressed(kPressed);
  int px = -1, py = -1;
  for (int y = 0; y < kHeight && px < 0; ++y) {
    for (int x = 0; x < kWidth && px < 0; ++x) {
      uint32_t n = Opaque(normal.At(x, y)), h = Brightened(hover.At(x, y)), p = Opaque(pressed.At(x, y));
      bool opaque = normal.At(x, y).GetA() == 255 && hover.At(x, y).GetA() == 255 && pressed.At(x, y).GetA() == 255;
      if (opaque && !Near(n, h, 12) && !Near(n, p, 12) && !Near(h, p, 12)) px = x, py = y;
    }
  }
  ASSERT_GE(px, 0) << "the three looks of the refresh button differ somewhere";
  const uint32_t lookNormal = Opaque(normal.At(px, py)), lookHover = Brightened(hover.At(px, py)),
                 lookPressed = Opaque(pressed.At(px, py));

  EXPECT_TRUE(Near(lookNormal, Shown().At(px, py), 1)) << "first paint: normal";
  ::SendMessageW(button, WM_MOUSEHOVER, 0, 0);
  EXPECT_TRUE(Near(lookHover, Shown().At(px, py), 2)) << "mouse at rest: hover, brightened";
  ::SendMessageW(button, BM_SETSTATE, TRUE, 0);
  EXPECT_TRUE(Near(lookPressed, Shown().At(px, py), 1)) << "pressed while hovering: pressed";
  ::SendMessageW(button, BM_SETSTATE, FALSE, 0);
  EXPECT_TRUE(Near(lookHover, Shown().At(px, py), 2)) << "released, mouse still on it: hover";
  ::SendMessageW(button, WM_MOUSELEAVE, 0, 0);
  EXPECT_TRUE(Near(lookNormal, Shown().At(px, py), 1)) << "left: normal";
  ::SendMessageW(button, BM_SETSTATE, TRUE, 0);
  EXPECT_TRUE(Near(lookPressed, Shown().At(px, py), 1)) << "pressed without hover: pressed";
}

// Wine's owner-drawn button may paint without asking its parent for colours;
// the first draw then composes the looks.
TEST(TouchButton, ComposesOnTheFirstDrawWhenNoColourQuestionComes) {
  struct Unasked : CTouchButton {
    int questions = 0;
    Unasked() {
      OnMessage(fw::kReflectCtlColor, [this](WPARAM, LPARAM) -> LRESULT {
        ++questions;
        return 0;
      });
    }
  };
  quarrow::SkinTestParent parent(60, 60, 200, 60, RGB(20, 160, 40));
  Unasked button;
  ASSERT_TRUE(button.Subclass(parent.AddButton(kButtonId, 30, 20, kWidth, kHeight)));
  button.LoadImages(kNormal, kHover, kPressed);
  parent.PaintNow();
  EXPECT_TRUE(button.IsPrepared());
  Picture normal(kNormal);
  PixelImage shown = quarrow::CaptureClient(button);
  int matching = 0, opaque = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (normal.At(x, y).GetA() != 255) continue;
      ++opaque;
      matching += Near(Opaque(normal.At(x, y)), shown.At(x, y), 1) ? 1 : 0;
    }
  }
  EXPECT_GT(opaque, 0);
  EXPECT_EQ(opaque, matching) << "the normal look shows at the first paint";
}

TEST_F(TouchButtonTest, TransparentPartsKeepTheParentsPixelsOfTheFirstPaint) {
  button.LoadImages(kNormal, kHover, kPressed);
  parent->PaintNow();
  Picture normal(kNormal), hover(kHover);
  ASSERT_EQ(0, normal.At(0, 0).GetA()) << "the picture's corner is transparent";
  ASSERT_EQ(0, hover.At(0, 0).GetA());
  const uint32_t green = Rgb(20, 160, 40);
  EXPECT_EQ(green, Shown().At(0, 0));

  parent->SetColour(RGB(200, 30, 30));
  parent->PaintNow();
  EXPECT_EQ(Rgb(200, 30, 30), quarrow::CaptureClient(*parent).At(5, 5)) << "the parent did change";
  EXPECT_EQ(green, Shown().At(0, 0)) << "the button keeps its snapshot";
  ::SendMessageW(button, WM_MOUSEHOVER, 0, 0);
  EXPECT_EQ(green, Shown().At(0, 0)) << "in every look";
  EXPECT_EQ(green, Shown().At(kWidth - 1, kHeight - 1));
}

TEST_F(TouchButtonTest, WithoutPicturesItPaintsNothingYetReportsClicksAndShowsTheHand) {
  parent->PaintNow();
  EXPECT_FALSE(button.IsPrepared());
  PixelImage shown = Shown();
  EXPECT_TRUE(std::all_of(shown.pixels.begin(), shown.pixels.end(), [](uint32_t p) { return p == Rgb(20, 160, 40); }))
      << "only the parent's green shows";

  ::SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(1, parent->CountCommands(kButtonId, BN_CLICKED));

  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
  EXPECT_TRUE(::SendMessageW(button, WM_SETCURSOR, reinterpret_cast<WPARAM>(button.hwnd()),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  EXPECT_EQ(::LoadCursorW(nullptr, IDC_HAND), ::GetCursor());
}

TEST_F(TouchButtonTest, TwoQuickClicksAreTwoPresses) {
  button.LoadImages(kNormal, kHover, kPressed);
  parent->PaintNow();
  LPARAM at = MAKELPARAM(10, 10);
  for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
    ::PostMessageW(button, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
  }
  quarrow::PumpPendingMessages();
  EXPECT_EQ(2, parent->CountCommands(kButtonId, BN_CLICKED));
  EXPECT_EQ(0, parent->CountCommands(kButtonId, BN_DOUBLECLICKED));
}

TEST_F(TouchButtonTest, MouseRestingOnTheButtonHoversAndLeavingEndsIt) {
  button.LoadImages(kNormal, kHover, kPressed);
  parent->PaintNow();
  RECT place = button.WindowRect();
  ::SetCursorPos(place.left + 5, place.top + 5);
  ::PostMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  auto pumpUntil = [](const std::function<bool()>& condition) {
    return testing_support::WaitUntil(
        [&] {
          quarrow::PumpPendingMessages();
          return condition();
        },
        5000);
  };
  EXPECT_TRUE(pumpUntil([&] { return button.IsHovering(); }));
  ::SetCursorPos(place.right + 50, place.bottom + 50);
  EXPECT_TRUE(pumpUntil([&] { return !button.IsHovering(); }));
}

// The tool of a tooltip window: its text and initial delay.
struct ToolTipState {
  int tools = 0;
  std::wstring text;
  LRESULT initialDelay = 0;
};
ToolTipState Inspect(HWND tip, HWND owner) {
  ToolTipState state;
  state.tools = static_cast<int>(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0));
  wchar_t text[80] = {};
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = owner;
  tool.uId = 1;
  tool.lpszText = text;
  ::SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
  state.text = text;
  state.initialDelay = ::SendMessageW(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0);
  return state;
}

TEST_F(TouchButtonTest, TooltipCarriesItsTextWithATwoSecondDelayAndIsRenewedOnHover) {
  button.SetToolTipText(L"", TRUE);
  EXPECT_EQ(nullptr, button.ToolTipWindow()) << "no text, no tooltip";
  ::SendMessageW(button, WM_MOUSEHOVER, 0, 0);
  EXPECT_EQ(nullptr, button.ToolTipWindow()) << "hovering shows nothing";

  button.SetToolTipText(L"刷新", TRUE);
  HWND first = button.ToolTipWindow();
  ASSERT_NE(nullptr, first);
  ToolTipState state = Inspect(first, button);
  EXPECT_EQ(1, state.tools);
  EXPECT_EQ(L"刷新", state.text);
  EXPECT_EQ(2000, state.initialDelay);

  button.SetToolTipText(L"清除缓存", TRUE);
  EXPECT_EQ(first, button.ToolTipWindow()) << "a new text goes to the same tool";
  EXPECT_EQ(1, Inspect(first, button).tools);
  button.SetToolTipText(L"", TRUE);
  EXPECT_EQ(L"清除缓存", Inspect(first, button).text) << "an empty text keeps the last one";

  ::SendMessageW(button, WM_MOUSEHOVER, 0, 0);
  HWND renewed = button.ToolTipWindow();
  ASSERT_NE(nullptr, renewed);
  EXPECT_FALSE(::IsWindow(first)) << "the old tooltip is gone";
  EXPECT_EQ(L"清除缓存", Inspect(renewed, button).text);

  parent.reset();
  EXPECT_FALSE(::IsWindow(renewed)) << "the tooltip goes with the button";
}

}  // namespace
