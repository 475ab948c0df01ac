// The wait overlay's layout and the order of its animation pictures.
#pragma once

#include "skin/PixelRect.h"

namespace quarrow {

constexpr int kOverlayPictureCount = 4;
// The animation sits this far above the panel's middle, over the text.
constexpr int kOverlayPictureLift = 40;
constexpr int kOverlayTextWidth = 200;
constexpr int kOverlayTextHeight = 31;

// The animation picture: centred horizontally, lifted above the middle. A
// panel narrower than the picture gets a negative offset (cut at both sides).
PixelRect OverlayPictureRect(int clientWidth, int clientHeight, int pictureWidth, int pictureHeight);

// The layout box of the waiting text, centred in the panel.
PixelRect OverlayTextRect(int clientWidth, int clientHeight);

// One animation tick: returns the index (0 to 3) of the picture to show for
// the number held in frameNumber (1 to 4; anything else starts over at 1),
// and moves frameNumber on to the next one.
int AdvanceOverlayFrame(int& frameNumber);

}  // namespace quarrow
