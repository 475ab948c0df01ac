// Where the confirmation box puts its buttons and its two strings.
#pragma once

#include "skin/PixelRect.h"

namespace quarrow {

// The box's window size; its background picture is one pixel smaller.
constexpr int kMessageBoxWidth = 257;
constexpr int kMessageBoxHeight = 111;

struct MessageBoxButtons {
  PixelRect close;
  PixelRect confirm;
  PixelRect cancel;
};

// Close sits in the top right corner, confirm and cancel side by side near the
// bottom, all relative to the client size.
MessageBoxButtons LayOutMessageBoxButtons(int clientWidth, int clientHeight);

// Layout boxes of the title line and of the body text (one or two lines; the
// rest is cut off with an ellipsis).
constexpr PixelRect kMessageBoxTitleBox{85, 7, 100, 25};
constexpr PixelRect kMessageBoxTextBox{28, 33, 220, 30};

}  // namespace quarrow
