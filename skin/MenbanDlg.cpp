#include "skin/MenbanDlg.h"

#include "framework/ResourceString.h"
#include "res/resource.h"
#include "skin/FittedText.h"
#include "skin/FontFallback.h"
#include "skin/MemDC.h"
#include "skin/OverlayLayout.h"
#include "skin/PngImage.h"

namespace {

constexpr UINT kBackgroundPng = 275;
constexpr UINT kFirstFramePng = 276;
constexpr BYTE kPanelAlpha = 229;
constexpr Gdiplus::ARGB kTextColour = 0xFFFFF5D3;

}  // namespace

CMenbanDlg::CMenbanDlg(HWND owner) : fw::Dialog(IDD_OVERLAY, owner) {
  OnMessage(WM_ERASEBKGND, &CMenbanDlg::OnEraseBkgnd);
  OnMessage(WM_TIMER, &CMenbanDlg::OnTimer);
  OnMessage(WM_PAINT, &CMenbanDlg::OnPaint);
}

BOOL CMenbanDlg::OnInitDialog() {
  m_pBackground = quarrow::LoadPngImage(kBackgroundPng);
  for (int i = 0; i < quarrow::kOverlayPictureCount; ++i) m_pFrames[i] = quarrow::LoadPngImage(kFirstFramePng + i);
  m_pCurrentFrame = m_pFrames[0];
  m_nFrame = 1;
  ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) | WS_EX_LAYERED);
  ::SetLayeredWindowAttributes(m_hWnd, 0, kPanelAlpha, LWA_ALPHA);
  return TRUE;
}

RECT CMenbanDlg::PictureRect(Gdiplus::Image* picture) const {
  RECT client = ClientRect();
  int width = picture ? static_cast<int>(picture->GetWidth()) : 0;
  int height = picture ? static_cast<int>(picture->GetHeight()) : 0;
  quarrow::PixelRect r = quarrow::OverlayPictureRect(client.right, client.bottom, width, height);
  return RECT{r.x, r.y, r.Right(), r.Bottom()};
}

LRESULT CMenbanDlg::OnEraseBkgnd(WPARAM, LPARAM) {
  return TRUE;  // the paint covers everything
}

LRESULT CMenbanDlg::OnPaint(WPARAM, LPARAM) {
  PAINTSTRUCT paint;
  HDC target = ::BeginPaint(m_hWnd, &paint);
  RECT client = ClientRect();
  {
    CMyMemDC memDC(target, &client);
    ::FillRect(memDC, &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    Gdiplus::Graphics graphics(memDC.GetSafeHdc());
    if (m_pBackground) {
      Gdiplus::TextureBrush tiles(m_pBackground, Gdiplus::WrapModeTile);
      tiles.TranslateTransform(static_cast<Gdiplus::REAL>(client.left), static_cast<Gdiplus::REAL>(client.top));
      graphics.FillRectangle(&tiles, static_cast<INT>(client.left), static_cast<INT>(client.top),
                             static_cast<INT>(client.right - client.left), static_cast<INT>(client.bottom - client.top));
    }
    if (m_pCurrentFrame) {
      RECT picture = PictureRect(m_pCurrentFrame);
      graphics.DrawImage(m_pCurrentFrame,
                         Gdiplus::Rect(picture.left, picture.top, picture.right - picture.left,
                                       picture.bottom - picture.top),
                         0, 0, static_cast<INT>(m_pCurrentFrame->GetWidth()),
                         static_cast<INT>(m_pCurrentFrame->GetHeight()), Gdiplus::UnitPixel);
    }
    std::wstring text = fw::LoadResString(IDS_OVERLAY_TEXT);
    auto family = quarrow::FontFamilyOrSansSerif(L"arial");
    Gdiplus::Font font(family.get(), 14, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
    format.SetTrimming(Gdiplus::StringTrimmingEllipsisWord);
    Gdiplus::SolidBrush brush{Gdiplus::Color(kTextColour)};
    quarrow::PixelRect box = quarrow::OverlayTextRect(client.right, client.bottom);
    Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(box.x), static_cast<Gdiplus::REAL>(box.y),
                          static_cast<Gdiplus::REAL>(box.width), static_cast<Gdiplus::REAL>(box.height));
    quarrow::DrawTextInBox(graphics, text, font, layout, format, brush, quarrow::TextTrimming::EllipsisWord);
  }
  ::EndPaint(m_hWnd, &paint);
  return 0;
}

LRESULT CMenbanDlg::OnTimer(WPARAM wParam, LPARAM) {
  if (wParam != TIMER_OVERLAY_ANIM) return 0;
  Gdiplus::Image* previous = m_pCurrentFrame;
  m_pCurrentFrame = m_pFrames[quarrow::AdvanceOverlayFrame(m_nFrame)];
  // A missing picture clears the place of the one before it.
  RECT changed = PictureRect(m_pCurrentFrame ? m_pCurrentFrame : previous);
  ::InvalidateRect(m_hWnd, &changed, TRUE);
  ::UpdateWindow(m_hWnd);
  return 0;
}
