#include "skin/TouchButton.h"

#include <commctrl.h>

#include "framework/Application.h"
#include "skin/MemDC.h"

namespace {

constexpr UINT kToolTipId = 1;
constexpr int kToolTipDelayMs = 2000;
// Hover is reported as soon as the mouse rests on the button at all.
constexpr DWORD kHoverTimeMs = 1;

// Brightens by 5 % and lifts every channel a little; alpha stays.
const Gdiplus::ColorMatrix kHoverMatrix = {{
    {1.05f, 0.0f, 0.0f, 0.0f, 0.0f},
    {0.0f, 1.05f, 0.0f, 0.0f, 0.0f},
    {0.0f, 0.0f, 1.05f, 0.0f, 0.0f},
    {0.0f, 0.0f, 0.0f, 1.0f, 0.0f},
    {0.05f, 0.05f, 0.05f, 0.0f, 1.0f},
}};

// The picture at its own pixel size from the top-left corner; whatever is
// larger than the button is cut at its edge.
void DrawAtNaturalSize(Gdiplus::Graphics& graphics, Gdiplus::Bitmap* picture,
                       const Gdiplus::ImageAttributes* attributes) {
  if (!picture) return;
  INT width = static_cast<INT>(picture->GetWidth()), height = static_cast<INT>(picture->GetHeight());
  graphics.DrawImage(picture, Gdiplus::Rect(0, 0, width, height), 0, 0, width, height, Gdiplus::UnitPixel,
                     attributes);
}

}  // namespace

CTouchButton::CTouchButton() {
  OnMessage(WM_ERASEBKGND, &CTouchButton::OnEraseBkgnd);
  OnMessage(fw::kReflectCtlColor, &CTouchButton::OnReflectedCtlColor);
  OnMessage(WM_MOUSEMOVE, &CTouchButton::OnMouseMove);
  OnMessage(WM_MOUSELEAVE, &CTouchButton::OnMouseLeave);
  OnMessage(WM_MOUSEHOVER, &CTouchButton::OnMouseHover);
  OnMessage(WM_SETCURSOR, &CTouchButton::OnSetCursor);
  OnMessage(WM_DESTROY, &CTouchButton::OnDestroy);
}

CTouchButton::~CTouchButton() { DestroyToolTip(); }

void CTouchButton::PreSubclassWindow() {
  ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, ::GetWindowLongPtrW(m_hWnd, GWL_STYLE) | BS_OWNERDRAW);
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CTouchButton::LoadImages(UINT normalId, UINT hoverId, UINT pressedId) {
  m_pHoverImage = std::make_unique<CGdiPlusBitmapResource>();
  m_pNormalImage = std::make_unique<CGdiPlusBitmapResource>();
  m_pPressedImage = std::make_unique<CGdiPlusBitmapResource>();
  m_pHoverImage->Load(hoverId, L"PNG");
  m_pNormalImage->Load(normalId, L"PNG");
  m_pPressedImage->Load(pressedId, L"PNG");
}

void CTouchButton::PrepareLooks(HDC dc) {
  if (m_bPrepared || !m_pHoverImage || !m_pNormalImage || !m_pPressedImage) return;

  RECT client = ClientRect();
  int width = client.right - client.left, height = client.bottom - client.top;
  CMyMemDC memDC(dc, &client);
  Gdiplus::Graphics graphics(memDC.GetSafeHdc());

  if (!m_dcBackground.HasDevice()) {
    // What the parent shows behind the button now is its background for good.
    HWND parent = ::GetParent(m_hWnd);
    HDC parentDC = ::GetDC(parent);
    RECT place = WindowRect();
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    if (m_dcBackground.Create(parentDC, width, height)) {
      ::BitBlt(m_dcBackground.GetSafeHdc(), 0, 0, width, height, parentDC, place.left, place.top, SRCCOPY);
    }
    ::ReleaseDC(parent, parentDC);
  }

  Gdiplus::ImageAttributes hoverAttributes;
  hoverAttributes.SetColorMatrix(&kHoverMatrix, Gdiplus::ColorMatrixFlagsDefault, Gdiplus::ColorAdjustTypeBitmap);
  struct Look {
    CBitmapDC& dc;
    Gdiplus::Bitmap* picture;
    const Gdiplus::ImageAttributes* attributes;
  };
  const Look looks[] = {
      {m_dcNormal, m_pNormalImage->Bitmap(), nullptr},
      {m_dcPressed, m_pPressedImage->Bitmap(), nullptr},
      {m_dcHover, m_pHoverImage->Bitmap(), &hoverAttributes},
  };
  for (const Look& look : looks) {
    if (look.dc.HasDevice()) continue;
    ::BitBlt(memDC, 0, 0, width, height, m_dcBackground.GetSafeHdc(), 0, 0, SRCCOPY);
    DrawAtNaturalSize(graphics, look.picture, look.attributes);
    graphics.Flush(Gdiplus::FlushIntentionSync);
    if (look.dc.Create(memDC, width, height)) {
      ::BitBlt(look.dc.GetSafeHdc(), 0, 0, width, height, memDC, 0, 0, SRCCOPY);
    }
  }
  if (!m_pCurrent) m_pCurrent = &m_dcNormal;
  m_bPrepared = TRUE;
}

LRESULT CTouchButton::OnReflectedCtlColor(WPARAM wParam, LPARAM) {
  PrepareLooks(reinterpret_cast<HDC>(wParam));
  return 0;  // no brush: the parent's own colour answer stands
}

void CTouchButton::DrawItem(DRAWITEMSTRUCT* dis) {
  // Not every system's owner-drawn button asks its parent for colours before
  // it draws (Wine's may ask only while erasing, which this button skips):
  // then the first draw composes the looks.
  if (!m_bPrepared) PrepareLooks(dis->hDC);
  if (!m_bPrepared) return;  // no pictures: the parent's pixels stay visible

  CBitmapDC* look = &m_dcNormal;
  if (dis->itemState & ODS_SELECTED) {
    look = &m_dcPressed;
  } else if (m_bHovering) {
    look = &m_dcHover;
  }
  m_pCurrent = look;
  RECT client = ClientRect();
  ::BitBlt(dis->hDC, 0, 0, client.right - client.left, client.bottom - client.top, look->GetSafeHdc(), 0, 0,
           SRCCOPY);
}

LRESULT CTouchButton::OnEraseBkgnd(WPARAM, LPARAM) {
  return TRUE;  // the look always covers the whole button
}

LRESULT CTouchButton::OnMouseMove(WPARAM, LPARAM) {
  if (!m_bTracking) {
    TRACKMOUSEEVENT track{sizeof(track), TME_HOVER | TME_LEAVE, m_hWnd, kHoverTimeMs};
    m_bTracking = ::TrackMouseEvent(&track);
  }
  return Default();
}

LRESULT CTouchButton::OnMouseHover(WPARAM, LPARAM) {
  m_bHovering = TRUE;
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
  // A fresh tooltip each time the mouse comes to rest, so it shows again.
  DestroyToolTip();
  SetToolTipText(m_strToolTipText, TRUE);
  if (m_hToolTip && ::IsWindow(m_hToolTip)) ::SendMessageW(m_hToolTip, TTM_UPDATE, 0, 0);
  return 0;
}

LRESULT CTouchButton::OnMouseLeave(WPARAM, LPARAM) {
  m_bTracking = FALSE;
  m_bHovering = FALSE;
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
  return 0;
}

LRESULT CTouchButton::OnSetCursor(WPARAM, LPARAM) {
  ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
  return TRUE;
}

LRESULT CTouchButton::OnDestroy(WPARAM, LPARAM) {
  DestroyToolTip();
  return Default();
}

bool CTouchButton::PreTranslateMessage(MSG* msg) {
  // An owner-drawn button takes a double click as a notification, not as a
  // press: a quick second click must press it again.
  if (msg->message == WM_LBUTTONDBLCLK) msg->message = WM_LBUTTONDOWN;
  if (m_hToolTip && ::IsWindow(m_hToolTip)) {
    ::SendMessageW(m_hToolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
  }
  return fw::Window::PreTranslateMessage(msg);
}

void CTouchButton::SetToolTipText(std::wstring text, BOOL activate) {
  if (text.empty()) return;
  if (!m_hToolTip) {
    m_hToolTip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                                   fw::Application::ResourceModule(), nullptr);
    if (!m_hToolTip) return;
    ::SendMessageW(m_hToolTip, TTM_ACTIVATE, TRUE, 0);
  }
  m_strToolTipText = std::move(text);

  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = m_hWnd;
  tool.uId = kToolTipId;
  tool.lpszText = const_cast<wchar_t*>(m_strToolTipText.c_str());
  if (::SendMessageW(m_hToolTip, TTM_GETTOOLCOUNT, 0, 0) == 0) {
    tool.rect = ClientRect();
    ::SendMessageW(m_hToolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  ::SendMessageW(m_hToolTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  ::SendMessageW(m_hToolTip, TTM_SETDELAYTIME, TTDT_AUTOMATIC, MAKELPARAM(kToolTipDelayMs, 0));
  ::SendMessageW(m_hToolTip, TTM_ACTIVATE, activate, 0);
}

void CTouchButton::DestroyToolTip() {
  if (m_hToolTip && ::IsWindow(m_hToolTip)) ::DestroyWindow(m_hToolTip);
  m_hToolTip = nullptr;
}
