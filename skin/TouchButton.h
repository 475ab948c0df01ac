// The skin's image button: an owner-drawn push button whose normal, hover and
// pressed looks come from three PNG resources. Each look is composed once,
// over a snapshot of the parent's pixels behind the button, so the pictures'
// transparent parts show the parent's skin; afterwards a draw is one copy.
// It shows a hand cursor, highlights itself while the mouse rests on it and
// can carry a tooltip. It draws no caption: its text is part of the pictures.
#pragma once

#include <memory>
#include <string>

#include "framework/Window.h"
#include "skin/BitmapDC.h"
#include "skin/GdiPlusBitmap.h"

class CTouchButton : public fw::Window {
 public:
  CTouchButton();
  ~CTouchButton() override;

  // Before the first paint: the looks are composed once and never again.
  void LoadImages(UINT normalId, UINT hoverId, UINT pressedId);
  // An empty text changes nothing.
  void SetToolTipText(std::wstring text, BOOL activate);

  bool PreTranslateMessage(MSG* msg) override;
  void DrawItem(DRAWITEMSTRUCT* dis) override;

  bool IsPrepared() const { return m_bPrepared != FALSE; }
  bool IsHovering() const { return m_bHovering != FALSE; }
  HWND ToolTipWindow() const { return m_hToolTip; }

 protected:
  void PreSubclassWindow() override;

 private:
  LRESULT OnEraseBkgnd(WPARAM, LPARAM);
  LRESULT OnReflectedCtlColor(WPARAM, LPARAM);
  LRESULT OnMouseMove(WPARAM, LPARAM);
  LRESULT OnMouseLeave(WPARAM, LPARAM);
  LRESULT OnMouseHover(WPARAM, LPARAM);
  LRESULT OnSetCursor(WPARAM, LPARAM);
  LRESULT OnDestroy(WPARAM, LPARAM);

  // Composes the three looks over the parent's pixels (once, and only when all
  // three image objects exist), leaving the last composition on `dc`.
  void PrepareLooks(HDC dc);
  void DestroyToolTip();

  BOOL m_bPrepared = FALSE;
  BOOL m_bHovering = FALSE;
  BOOL m_bTracking = FALSE;
  std::unique_ptr<CGdiPlusBitmapResource> m_pHoverImage;
  std::unique_ptr<CGdiPlusBitmapResource> m_pNormalImage;
  std::unique_ptr<CGdiPlusBitmapResource> m_pPressedImage;
  std::wstring m_strToolTipText;
  HWND m_hToolTip = nullptr;
  CBitmapDC m_dcBackground;
  CBitmapDC m_dcNormal;
  CBitmapDC m_dcPressed;
  CBitmapDC m_dcHover;
  CBitmapDC* m_pCurrent = nullptr;
};
