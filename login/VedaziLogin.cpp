#include "login/VedaziLogin.h"

#include <cstdlib>

#include "app/FileUtils.h"
#include "framework/ResourceString.h"
#include "login/FirstRunInstall.h"
#include "login/LoginPopupDlg.h"
#include "res/resource.h"
#include "skin/CustomMessageBox.h"
#include "skin/FontFallback.h"
#include "update/Updater.h"

namespace {

constexpr UINT kLaunchPicture = 319;
constexpr UINT kVirtualKeyAlt = 18;

}  // namespace

LoginServices DefaultLoginServices() {
  LoginServices services;
  services.firstRunInstall = [] { quarrow::FirstRunInstall(); };
  services.updateCheck = [] { quarrow::RunUpdateCheck(); };
  services.loginPageBase = fw::LoadResString(IDS_LOGIN_PAGE_BASE);
  return services;
}

CVedaziLogin::CVedaziLogin(LoginServices services) : fw::Dialog(IDD_LOGIN), m_services(std::move(services)) {
  OnMessage(WM_SYSCOMMAND, &CVedaziLogin::OnSysCommand);
  OnMessage(WM_NCHITTEST, &CVedaziLogin::OnNcHitTest);
  OnMessage(WM_WINDOWPOSCHANGED, &CVedaziLogin::OnWindowPosChanged);
}

CVedaziLogin::~CVedaziLogin() {
  m_pPopup.reset();
  m_pBackground.reset();
}

BOOL CVedaziLogin::OnInitDialog() {
  ::SetWindowTextW(m_hWnd, fw::LoadResString(IDS_LAUNCHER_TITLE).c_str());

  auto picture = std::make_unique<CGdiPlusBitmapResource>();
  if (picture->Load(kLaunchPicture, L"PNG")) {
    m_pBackground = std::move(picture);
    m_nImageWidth = static_cast<int>(m_pBackground->Bitmap()->GetWidth());
    m_nImageHeight = static_cast<int>(m_pBackground->Bitmap()->GetHeight());
    UpdateLayeredImage();
  }
  // Without the picture the plain template window stays: the player can
  // still log in through the popup.

  ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, ::GetWindowLongPtrW(m_hWnd, GWL_STYLE) | WS_MINIMIZEBOX);
  CentreOnWorkArea();

  m_pPopup = std::make_unique<CLoginPopupDlg>(m_hWnd);
  m_pPopup->Create(m_hWnd);
  PositionPopup(m_pPopup.get());

  if (m_services.firstRunInstall) m_services.firstRunInstall();
  return TRUE;
}

void CVedaziLogin::UpdateLayeredImage() {
  // A top-down 32-bit DIB that GDI+ fills with premultiplied pixels, the form
  // UpdateLayeredWindow needs: the PNG's alpha is straight, and a screen
  // compatible bitmap would lose it.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = m_nImageWidth;
  info.bmiHeader.biHeight = -m_nImageHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (memory && bitmap && bits) {
    {
      Gdiplus::Bitmap canvas(m_nImageWidth, m_nImageHeight, m_nImageWidth * 4, PixelFormat32bppPARGB,
                             static_cast<BYTE*>(bits));
      Gdiplus::Graphics graphics(&canvas);
      graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
      graphics.DrawImage(m_pBackground->Bitmap(), 0, 0, m_nImageWidth, m_nImageHeight);
      // The running version, in the corner where the picture's painter would
      // have drawn it: a layered window shows only what is in its picture.
      const std::wstring version = quarrow::GetFileVersionString(quarrow::GetModulePath());
      std::unique_ptr<Gdiplus::FontFamily> family = quarrow::FontFamilyOrSansSerif(L"arial");
      Gdiplus::Font font(family.get(), 10, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
      Gdiplus::SolidBrush brush(Gdiplus::Color(0xFFCBAE5B));
      Gdiplus::StringFormat format;
      format.SetAlignment(Gdiplus::StringAlignmentNear);
      format.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
      const Gdiplus::RectF place(static_cast<Gdiplus::REAL>(m_nImageWidth - 60),
                                 static_cast<Gdiplus::REAL>(m_nImageHeight - 33), 200, 31);
      graphics.DrawString(version.c_str(), -1, &font, place, &format, &brush);
    }
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    RECT frame = WindowRect();
    POINT destination{frame.left, frame.top};
    SIZE size{m_nImageWidth, m_nImageHeight};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::UpdateLayeredWindow(m_hWnd, screen, &destination, &size, memory, &source, 0, &blend, ULW_ALPHA);
    ::SelectObject(memory, old);
  }
  if (bitmap) ::DeleteObject(bitmap);
  if (memory) ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
}

void CVedaziLogin::CentreOnWorkArea() {
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const RECT frame = WindowRect();
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int left = work.left + ((work.right - work.left) - width) / 2;
  const int top = work.top + ((work.bottom - work.top) - height) / 2;
  ::SetWindowPos(m_hWnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CVedaziLogin::PositionPopup(CLoginPopupDlg* popup) {
  if (!popup || !popup->hwnd()) return;
  const RECT frame = WindowRect();
  ::MoveWindow(popup->hwnd(), frame.left + kPopupOffset.x, frame.top + kPopupOffset.y, kPopupSize.cx, kPopupSize.cy,
               TRUE);
  // Shown with the picture, not before it: a popup shown while its owner is
  // still hidden ends up under it once the owner appears (Wine's X11 driver
  // stacks a newly shown window over everything).
  if (!::IsWindowVisible(popup->hwnd()) && ::IsWindowVisible(m_hWnd)) ::ShowWindow(popup->hwnd(), SW_SHOW);
}

LRESULT CVedaziLogin::OnWindowPosChanged(WPARAM, LPARAM) {
  LRESULT result = Default();
  if (!m_pPopup) return result;
  // Minimised, the window sits far off the screen: the popup hides instead
  // of following it there, and comes back with the restore.
  if (::IsIconic(m_hWnd)) {
    if (m_pPopup->hwnd()) ::ShowWindow(m_pPopup->hwnd(), SW_HIDE);
  } else {
    PositionPopup(m_pPopup.get());
  }
  return result;
}

LRESULT CVedaziLogin::OnNcHitTest(WPARAM, LPARAM) {
  LRESULT hit = Default();
  return hit == HTCLIENT ? HTCAPTION : hit;
}

bool CVedaziLogin::PreTranslateMessage(MSG* msg) {
  if (msg->wParam == kVirtualKeyAlt) return false;
  return fw::Dialog::PreTranslateMessage(msg);
}

void CVedaziLogin::ConfirmExit() {
  const std::wstring text = fw::Format(L"是否退出%ls？", fw::LoadResString(IDS_LAUNCHER_TITLE).c_str());
  CCustomMessageBox box;
  box.SetMessage(L"关闭提示", text);
  if (box.DoModal() == IDOK) std::exit(0);
}

LRESULT CVedaziLogin::OnSysCommand(WPARAM wParam, LPARAM) {
  // A declined close gets the default course, which ends in OnCancel: a no-op.
  if ((wParam & 0xFFF0) == SC_CLOSE) ConfirmExit();
  return Default();
}
