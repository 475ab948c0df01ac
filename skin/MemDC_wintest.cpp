#include "skin/MemDC.h"

#include <gtest/gtest.h>

#include "skin/BitmapDC.h"
#include "skin/WindowCapture.h"

namespace {

using quarrow::Rgb;

class MemDCTest : public testing::Test {
 protected:
  void SetUp() override {
    HDC screen = ::GetDC(nullptr);
    ASSERT_TRUE(target.Create(screen, 60, 40));
    ::ReleaseDC(nullptr, screen);
    RECT all{0, 0, 60, 40};
    Fill(target.GetSafeHdc(), all, RGB(0, 0, 255));
  }
  static void Fill(HDC dc, const RECT& r, COLORREF colour) {
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(dc, &r, brush);
    ::DeleteObject(brush);
  }
  quarrow::PixelImage Target() { return quarrow::CaptureDC(target.GetSafeHdc(), RECT{0, 0, 60, 40}); }

  CBitmapDC target;
};

TEST_F(MemDCTest, DrawsInTheTargetsCoordinatesAndDeliversOnlyAtTheEnd) {
  RECT area{10, 5, 30, 25};
  {
    CMyMemDC buffer(target.GetSafeHdc(), &area);
    EXPECT_TRUE(buffer.IsMemoryDC());
    Fill(buffer, area, RGB(255, 0, 0));
    EXPECT_EQ(Rgb(0, 0, 255), Target().At(15, 10)) << "nothing reaches the target before the end";
  }
  quarrow::PixelImage after = Target();
  EXPECT_EQ(Rgb(255, 0, 0), after.At(10, 5));
  EXPECT_EQ(Rgb(255, 0, 0), after.At(29, 24));
  EXPECT_EQ(Rgb(0, 0, 255), after.At(30, 24)) << "outside the rectangle stays as it was";
  EXPECT_EQ(Rgb(0, 0, 255), after.At(9, 5));
  EXPECT_EQ(Rgb(0, 0, 255), after.At(10, 25));
}

TEST_F(MemDCTest, AnAllZeroRectangleCoversTheClipBox) {
  ::IntersectClipRect(target.GetSafeHdc(), 20, 10, 50, 30);
  RECT zero{0, 0, 0, 0};
  {
    CMyMemDC buffer(target.GetSafeHdc(), &zero);
    EXPECT_EQ(20, buffer.Rect().left);
    EXPECT_EQ(10, buffer.Rect().top);
    EXPECT_EQ(50, buffer.Rect().right);
    EXPECT_EQ(30, buffer.Rect().bottom);
    RECT everything{0, 0, 60, 40};
    Fill(buffer, everything, RGB(0, 255, 0));
  }
  ::SelectClipRgn(target.GetSafeHdc(), nullptr);
  quarrow::PixelImage after = Target();
  EXPECT_EQ(Rgb(0, 255, 0), after.At(20, 10));
  EXPECT_EQ(Rgb(0, 255, 0), after.At(49, 29));
  EXPECT_EQ(Rgb(0, 0, 255), after.At(19, 10));
  EXPECT_EQ(Rgb(0, 0, 255), after.At(50, 30));
}

}  // namespace
