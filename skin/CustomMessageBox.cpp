#include "skin/CustomMessageBox.h"

#include "res/resource.h"
#include "skin/FittedText.h"
#include "skin/FontFallback.h"
#include "skin/MemDC.h"
#include "skin/MessageBoxLayout.h"
#include "skin/PngImage.h"

namespace {

constexpr UINT kBackgroundPng = 304;
constexpr UINT kClosePng = 316;
constexpr UINT kConfirmNormalPng = 314;
constexpr UINT kConfirmHoverPng = 313;
constexpr UINT kCancelNormalPng = 312;
constexpr UINT kCancelHoverPng = 311;
constexpr Gdiplus::ARGB kTextColour = 0xFFDAC29D;
// Shows in the background picture's rounded corners and its missing last
// row and column; the frame's own dark brown.
constexpr COLORREF kUnderlayColour = RGB(0x24, 0x1A, 0x14);

Gdiplus::RectF ToRectF(const quarrow::PixelRect& r) {
  return Gdiplus::RectF(static_cast<Gdiplus::REAL>(r.x), static_cast<Gdiplus::REAL>(r.y),
                        static_cast<Gdiplus::REAL>(r.width), static_cast<Gdiplus::REAL>(r.height));
}

void Place(HWND button, const quarrow::PixelRect& r) {
  ::SetWindowPos(button, nullptr, r.x, r.y, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

CCustomMessageBox::CCustomMessageBox() : fw::Dialog(IDD_MESSAGEBOX), m_strTitle(L"温馨提示") {
  OnMessage(WM_ERASEBKGND, &CCustomMessageBox::OnEraseBkgnd);
  OnMessage(WM_NCHITTEST, &CCustomMessageBox::OnNcHitTest);
  OnCommand(IDC_MSGBOX_CLOSE, &CCustomMessageBox::OnCloseButton);
}

void CCustomMessageBox::SetMessage(std::wstring title, std::wstring text) {
  m_strTitle = std::move(title);
  m_strText = std::move(text);
}

void CCustomMessageBox::DoDataExchange() {
  BindControl(IDOK, m_btnOK);
  BindControl(IDCANCEL, m_btnCancel);
  BindControl(IDC_MSGBOX_CLOSE, m_btnClose);
}

BOOL CCustomMessageBox::OnInitDialog() {
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, quarrow::kMessageBoxWidth, quarrow::kMessageBoxHeight,
                 SWP_NOMOVE | SWP_NOZORDER);
  LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
  style = (style | WS_SYSMENU | WS_MINIMIZEBOX) & ~static_cast<LONG_PTR>(WS_CAPTION);
  ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, style);
  CentreOverOwner();

  RECT client = ClientRect();
  quarrow::MessageBoxButtons buttons = quarrow::LayOutMessageBoxButtons(client.right, client.bottom);
  Place(m_btnClose, buttons.close);
  m_btnClose.LoadImages(kClosePng, kClosePng, kClosePng);
  Place(m_btnOK, buttons.confirm);
  m_btnOK.LoadImages(kConfirmNormalPng, kConfirmHoverPng, kConfirmHoverPng);
  Place(m_btnCancel, buttons.cancel);
  m_btnCancel.LoadImages(kCancelNormalPng, kCancelHoverPng, kCancelHoverPng);

  m_pBackground = quarrow::LoadPngImage(kBackgroundPng);
  return TRUE;
}

void CCustomMessageBox::CentreOverOwner() {
  // The template centres a box of its own size; this one is smaller.
  RECT area{};
  HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
  if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
    ::GetWindowRect(owner, &area);
  } else {
    MONITORINFO monitor{sizeof(monitor), {}, {}, 0};
    ::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    area = monitor.rcWork;
  }
  RECT box = WindowRect();
  int width = box.right - box.left, height = box.bottom - box.top;
  int x = area.left + (area.right - area.left - width) / 2;
  int y = area.top + (area.bottom - area.top - height) / 2;
  ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CCustomMessageBox::OnEraseBkgnd(WPARAM wParam, LPARAM) {
  // Painted on the DC that comes with the message: it is clipped to what needs
  // painting, whether the erase comes before the paint or from inside it.
  HDC target = reinterpret_cast<HDC>(wParam);
  RECT client = ClientRect();
  CMyMemDC memDC(target, &client);
  {
    HBRUSH underlay = ::CreateSolidBrush(kUnderlayColour);
    ::FillRect(memDC, &client, underlay);
    ::DeleteObject(underlay);

    Gdiplus::Graphics graphics(memDC.GetSafeHdc());
    if (m_pBackground) {
      graphics.DrawImage(m_pBackground, Gdiplus::Rect(0, 0, m_pBackground->GetWidth(), m_pBackground->GetHeight()),
                         0, 0, m_pBackground->GetWidth(), m_pBackground->GetHeight(), Gdiplus::UnitPixel);
    }
    auto titleFamily = quarrow::FontFamilyOrSansSerif(L"微软雅黑");
    auto textFamily = quarrow::FontFamilyOrSansSerif(L"arial");
    Gdiplus::Font titleFont(titleFamily.get(), 15, Gdiplus::FontStyleBold, Gdiplus::UnitPixel);
    Gdiplus::Font textFont(textFamily.get(), 11, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
    format.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
    Gdiplus::SolidBrush brush{Gdiplus::Color(kTextColour)};
    quarrow::DrawTextInBox(graphics, m_strTitle, titleFont, ToRectF(quarrow::kMessageBoxTitleBox), format, brush,
                           quarrow::TextTrimming::EllipsisCharacter);
    quarrow::DrawTextInBox(graphics, m_strText, textFont, ToRectF(quarrow::kMessageBoxTextBox), format, brush,
                           quarrow::TextTrimming::EllipsisCharacter);
  }
  return TRUE;
}

LRESULT CCustomMessageBox::OnNcHitTest(WPARAM, LPARAM) {
  // Dragged by any point that is not a button.
  LRESULT hit = Default();
  return hit == HTCLIENT ? HTCAPTION : hit;
}

void CCustomMessageBox::OnCloseButton() { OnCancel(); }
