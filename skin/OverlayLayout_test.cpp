#include "skin/OverlayLayout.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace quarrow {
namespace {

TEST(OverlayFrames, FromInitialisationTheFirstPictureShowsTwiceThenTheCycleRuns) {
  int frame = 1;  // as the panel initialises it
  std::vector<int> shown;
  for (int tick = 0; tick < 10; ++tick) shown.push_back(AdvanceOverlayFrame(frame));
  EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 0, 1, 2, 3, 0, 1}), shown);
}

TEST(OverlayFrames, ACounterOutsideOneToFourStartsOverAtTheFirstPicture) {
  for (int start : {0, -1, 5, 6, 1000, INT_MIN, INT_MAX}) {
    int frame = start;
    EXPECT_EQ(0, AdvanceOverlayFrame(frame)) << start;
    EXPECT_EQ(2, frame) << start;
  }
}

TEST(OverlayFrames, TheCounterStaysSmallOverALongRun) {
  int frame = 1;
  for (int tick = 0; tick < 1000003; ++tick) AdvanceOverlayFrame(frame);
  EXPECT_GE(frame, 2);
  EXPECT_LE(frame, 5);
  EXPECT_EQ(3, AdvanceOverlayFrame(frame)) << "1000003 ticks end on the third picture, the next is the fourth";
}

TEST(OverlayLayout, PictureIsCentredAndLiftedAboveTheMiddleOfTheText) {
  struct Case {
    int width, height;
    PixelRect picture;
  };
  for (const Case& c : {Case{800, 600, {368, 228, 64, 64}}, Case{801, 601, {368, 228, 64, 64}},
                        Case{1920, 1050, {928, 453, 64, 64}}}) {
    PixelRect picture = OverlayPictureRect(c.width, c.height, 64, 64);
    EXPECT_EQ(c.picture, picture) << c.width << "x" << c.height;
    PixelRect text = OverlayTextRect(c.width, c.height);
    EXPECT_EQ(picture.x + picture.width / 2, text.x + text.width / 2) << "one vertical axis";
    EXPECT_LT(picture.y, text.y) << "the picture sits above the text";
  }
}

TEST(OverlayLayout, PanelNarrowerThanThePictureCutsItAtBothSides) {
  PixelRect picture = OverlayPictureRect(50, 30, 64, 64);
  EXPECT_EQ(-7, picture.x);
  EXPECT_GT(picture.Right(), 50);
  EXPECT_EQ(-57, picture.y);
  PixelRect text = OverlayTextRect(50, 30);
  EXPECT_EQ(-75, text.x);
  EXPECT_EQ(0, text.y);
}

}  // namespace
}  // namespace quarrow
