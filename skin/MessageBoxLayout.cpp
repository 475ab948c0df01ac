#include "skin/MessageBoxLayout.h"

namespace quarrow {

MessageBoxButtons LayOutMessageBoxButtons(int clientWidth, int clientHeight) {
  MessageBoxButtons buttons;
  // The close picture leaves its last three columns empty, so the button may
  // run past the right edge.
  buttons.close = {clientWidth - 25, 10, 28, 26};
  buttons.confirm = {45, clientHeight - 45, 82, 34};
  buttons.cancel = {137, clientHeight - 45, 82, 34};
  return buttons;
}

}  // namespace quarrow
