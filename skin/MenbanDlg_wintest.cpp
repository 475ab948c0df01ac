#include "skin/MenbanDlg.h"

#include <gtest/gtest.h>

#include "skin/OverlayLayout.h"
#include "skin/WindowCapture.h"

namespace {

using quarrow::PixelImage;

class MenbanDlgTest : public testing::Test {
 protected:
  static constexpr int kWidth = 400, kHeight = 300;

  void SetUp() override {
    ASSERT_TRUE(panel.Create(nullptr));
    ::SetWindowPos(panel.hwnd(), HWND_TOP, 80, 80, kWidth, kHeight, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    ::UpdateWindow(panel.hwnd());
  }
  void TearDown() override {
    if (panel.hwnd()) ::DestroyWindow(panel.hwnd());
  }

  void Tick(UINT_PTR id) { ::SendMessageW(panel.hwnd(), WM_TIMER, id, 0); }
  PixelImage Shown() { return quarrow::CaptureClient(panel.hwnd()); }
  RECT PictureRect() const {
    quarrow::PixelRect r = quarrow::OverlayPictureRect(kWidth, kHeight, 64, 64);
    return RECT{r.x, r.y, r.Right(), r.Bottom()};
  }
  PixelImage Picture() { return Shown().Crop(PictureRect()); }

  CMenbanDlg panel;
};

TEST_F(MenbanDlgTest, IsALayeredPanelAtAlpha229) {
  EXPECT_NE(0, ::GetWindowLongPtrW(panel.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(::GetLayeredWindowAttributes(panel.hwnd(), nullptr, &alpha, &flags));
  EXPECT_EQ(229, alpha);
  EXPECT_EQ(static_cast<DWORD>(LWA_ALPHA), flags);
  ::SendMessageW(panel.hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
  ::SendMessageW(panel.hwnd(), WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(::IsWindow(panel.hwnd())) << "Escape does not close the panel";
}

TEST_F(MenbanDlgTest, FirstTickKeepsTheFirstPictureThenTheyCycle) {
  PixelImage shown[6];
  shown[0] = Picture();
  for (int tick = 1; tick <= 5; ++tick) {
    Tick(TIMER_OVERLAY_ANIM);
    shown[tick] = Picture();
  }
  EXPECT_TRUE(shown[1] == shown[0]) << "the first tick shows the first picture again";
  EXPECT_TRUE(shown[2] != shown[1]) << "the second tick shows the second";
  EXPECT_TRUE(shown[3] != shown[2]);
  EXPECT_TRUE(shown[4] != shown[3]);
  EXPECT_TRUE(shown[3] != shown[1] && shown[4] != shown[1] && shown[4] != shown[2]) << "four different pictures";
  EXPECT_TRUE(shown[5] == shown[0]) << "after the fourth comes the first";
}

TEST_F(MenbanDlgTest, OtherTimersChangeNothing) {
  Tick(TIMER_OVERLAY_ANIM);
  Tick(TIMER_OVERLAY_ANIM);  // the second picture shows now
  PixelImage before = Shown();
  for (UINT_PTR id : {UINT_PTR{1}, UINT_PTR{4999}, UINT_PTR{5001}}) Tick(id);
  EXPECT_TRUE(Shown() == before);
  EXPECT_EQ(3, panel.NextFrameNumber()) << "the cycle did not move";
}

TEST_F(MenbanDlgTest, ATickRepaintsOnlyThePicturesRectangle) {
  // Marks drawn straight onto the panel: a repaint of any place removes them.
  HDC dc = ::GetDC(panel.hwnd());
  RECT all{0, 0, kWidth, kHeight};
  ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  ::ReleaseDC(panel.hwnd(), dc);
  Tick(TIMER_OVERLAY_ANIM);

  PixelImage after = Shown();
  RECT picture = PictureRect();
  int repaintedInside = 0, repaintedOutside = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      bool inside = x >= picture.left && x < picture.right && y >= picture.top && y < picture.bottom;
      bool white = after.At(x, y) == quarrow::Rgb(255, 255, 255);
      if (inside && !white) ++repaintedInside;
      if (!inside && !white) ++repaintedOutside;
    }
  }
  EXPECT_EQ(64 * 64, repaintedInside) << "the whole picture rectangle is painted";
  EXPECT_EQ(0, repaintedOutside) << "and nothing else";
}

TEST_F(MenbanDlgTest, TheWaitingTextIsWrittenInTheMiddle) {
  Tick(TIMER_OVERLAY_ANIM);
  PixelImage shown = Shown();
  quarrow::PixelRect box = quarrow::OverlayTextRect(kWidth, kHeight);
  // The text colour (or close to it, anti-aliased) inside the text box only.
  auto light = [](uint32_t p) { return ((p >> 16) & 0xFF) > 200 && ((p >> 8) & 0xFF) > 190; };
  int inBox = 0;
  for (int y = box.y; y < box.Bottom(); ++y) {
    for (int x = box.x; x < box.Right(); ++x) inBox += light(shown.At(x, y)) ? 1 : 0;
  }
  EXPECT_GT(inBox, 100);
  RECT leftOfBox{0, box.y, box.x, box.Bottom()}, rightOfBox{box.Right(), box.y, kWidth, box.Bottom()};
  for (const RECT& outside : {leftOfBox, rightOfBox}) {
    PixelImage part = shown.Crop(outside);
    for (uint32_t p : part.pixels) ASSERT_FALSE(light(p));
  }
}

}  // namespace
