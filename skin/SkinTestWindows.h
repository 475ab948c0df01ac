// Windows the skin's tests and gallery put the widgets in: a plain top-level
// parent that paints itself in one colour (or with a painter of its own) and
// records its children's notifications, and a confirmation box that shows
// itself, lets a check look at it and ends.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

#include "framework/Window.h"
#include "skin/CustomMessageBox.h"

namespace quarrow {

class SkinTestParent : public fw::Window {
 public:
  // A visible popup at (x, y) of the given client size, painted in `colour`.
  SkinTestParent(int x, int y, int width, int height, COLORREF colour);
  ~SkinTestParent() override;

  // A plain push button child, ready to be bound to an image button.
  HWND AddButton(int id, int x, int y, int width, int height);
  void SetColour(COLORREF colour) { m_colour = colour; }
  // Paints over the whole client area instead of the plain colour.
  std::function<void(HDC, const RECT&)> painter;
  // Repaints the window and all its children before returning.
  void PaintNow();

  // (control id, notification code) of every WM_COMMAND received.
  std::vector<std::pair<int, int>> commands;
  int CountCommands(int id, int code) const;

 private:
  LRESULT OnEraseBkgnd(WPARAM, LPARAM);
  LRESULT OnCommandMessage(WPARAM, LPARAM);
  COLORREF m_colour;
};

// Handles what is queued for this thread the way the launcher's loops do
// (pre-translation through the window objects first).
void PumpPendingMessages();

// A confirmation box that, once initialised, shows and paints itself, runs
// `inspect` and ends with IDOK.
class InspectedMessageBox : public CCustomMessageBox {
 public:
  InspectedMessageBox();
  std::function<void(InspectedMessageBox&)> inspect;
  HWND Button(int id) const { return Item(id); }

 protected:
  BOOL OnInitDialog() override;
};

}  // namespace quarrow
