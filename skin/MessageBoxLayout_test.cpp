#include "skin/MessageBoxLayout.h"

#include <gtest/gtest.h>

namespace quarrow {
namespace {

TEST(MessageBoxLayout, ButtonsFollowTheRightAndBottomEdges) {
  for (int height : {kMessageBoxHeight, 90, 200}) {
    for (int width : {kMessageBoxWidth, 300}) {
      MessageBoxButtons b = LayOutMessageBoxButtons(width, height);
      EXPECT_EQ(width + 3, b.close.Right()) << "the close picture's empty columns hang over the edge";
      EXPECT_EQ(10, b.close.y);
      EXPECT_EQ(height - 11, b.confirm.Bottom());
      EXPECT_EQ(b.confirm.y, b.cancel.y);
      EXPECT_EQ(10, b.cancel.x - b.confirm.Right()) << "a gap between confirm and cancel";
    }
  }
}

TEST(MessageBoxLayout, EverythingButTheCloseButtonFitsTheBox) {
  MessageBoxButtons b = LayOutMessageBoxButtons(kMessageBoxWidth, kMessageBoxHeight);
  for (const PixelRect& r : {b.confirm, b.cancel, kMessageBoxTitleBox, kMessageBoxTextBox}) {
    EXPECT_GE(r.x, 0);
    EXPECT_GE(r.y, 0);
    EXPECT_LE(r.Right(), kMessageBoxWidth);
    EXPECT_LE(r.Bottom(), kMessageBoxHeight);
  }
  EXPECT_LE(kMessageBoxTextBox.Bottom(), b.confirm.y) << "the text never runs into the buttons";
  EXPECT_LE(kMessageBoxTitleBox.Right(), b.close.x) << "the title never runs under the close button";
}

}  // namespace
}  // namespace quarrow
