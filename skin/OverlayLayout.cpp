#include "skin/OverlayLayout.h"

namespace quarrow {

PixelRect OverlayPictureRect(int clientWidth, int clientHeight, int pictureWidth, int pictureHeight) {
  return {(clientWidth - pictureWidth) / 2, (clientHeight - pictureHeight) / 2 - kOverlayPictureLift,
          pictureWidth, pictureHeight};
}

PixelRect OverlayTextRect(int clientWidth, int clientHeight) {
  return {(clientWidth - kOverlayTextWidth) / 2, (clientHeight - kOverlayTextHeight) / 2, kOverlayTextWidth,
          kOverlayTextHeight};
}

int AdvanceOverlayFrame(int& frameNumber) {
  if (frameNumber < 1 || frameNumber > kOverlayPictureCount) frameNumber = 1;
  int index = frameNumber - 1;
  ++frameNumber;
  return index;
}

}  // namespace quarrow
