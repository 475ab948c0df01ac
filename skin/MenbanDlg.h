// The wait overlay shown over the main window while the browser cache is
// cleared: a slightly transparent borderless panel with a tiled background,
// a four-picture animation just above its middle and the waiting text. Its
// owner sizes, shows and hides it and drives the animation with timer 5000.
#pragma once

#include "framework/Dialog.h"
#include "framework/GdiPlus.h"

// Timer of the overlay's animation, started by the owner on the panel.
constexpr UINT_PTR TIMER_OVERLAY_ANIM = 5000;

class CMenbanDlg : public fw::Dialog {
 public:
  explicit CMenbanDlg(HWND owner = nullptr);

  // Number (1 to 4) of the picture the next tick shows.
  int NextFrameNumber() const { return m_nFrame; }

 protected:
  BOOL OnInitDialog() override;
  // Neither Enter nor Escape closes the panel.
  void OnOK() override {}
  void OnCancel() override {}

 private:
  LRESULT OnEraseBkgnd(WPARAM, LPARAM);
  LRESULT OnTimer(WPARAM, LPARAM);
  LRESULT OnPaint(WPARAM, LPARAM);
  RECT PictureRect(Gdiplus::Image* picture) const;

  Gdiplus::Image* m_pBackground = nullptr;
  Gdiplus::Image* m_pFrames[4] = {};
  Gdiplus::Image* m_pCurrentFrame = nullptr;
  int m_nFrame = 1;
};
