// Renders the skinned windows to PNG files, for looking at the skin without
// running the launcher: the confirmation box with each of its texts, the wait
// overlay at each animation picture and the title strip's buttons in their
// three looks. Usage (see tools/gallery.sh):
//   skin_gallery <output folder>
//   skin_gallery --over-window <ready file>: shows the overlay over a window
//     and holds it until the ready file is deleted (for a screenshot through
//     a compositor, the only way to see the panel's translucency).
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "framework/GdiPlus.h"
#include "framework/ResourceString.h"
#include "res/resource.h"
#include "skin/FontFallback.h"
#include "skin/MenbanDlg.h"
#include "skin/PngImage.h"
#include "skin/SkinTestWindows.h"
#include "skin/TouchButton.h"
#include "skin/WindowCapture.h"

namespace {

using namespace quarrow;

std::wstring g_folder;
int g_failures = 0;

void Save(const PixelImage& image, const wchar_t* name) {
  std::wstring path = g_folder + L"\\" + name;
  if (SavePng(image, path)) {
    std::wprintf(L"%ls\n", name);
  } else {
    std::wprintf(L"FAILED %ls\n", name);
    ++g_failures;
  }
}

void MessageBoxes() {
  std::wstring product = fw::LoadResString(IDS_PRODUCT_NAME);
  std::wstring launcher = fw::LoadResString(IDS_LAUNCHER_TITLE);
  struct Use {
    const wchar_t* file;
    std::wstring title, text;
  };
  const Use uses[] = {
      {L"msgbox_1_uninstall.png", L"卸载", fw::Format(L"您是否确认卸载%ls？", product.c_str())},
      {L"msgbox_2_choose_server.png", L"选服", L"是否退出当前区服，重新选择新区服？"},
      {L"msgbox_3_exit_main_window.png", L"关闭提示", fw::Format(L"是否退出%ls？", launcher.c_str())},
      {L"msgbox_4_exit_launch_dialog.png", L"关闭提示", fw::Format(L"是否退出%ls？", launcher.c_str())},
      {L"msgbox_5_exit_login_popup.png", L"关闭提示", fw::Format(L"是否退出%ls？", launcher.c_str())},
      {L"msgbox_6_long_text.png", L"一个放不下的很长很长的标题",
       L"这是一段很长的提示文字，用来看看超出两行时的样子：它应当在第二行的末尾以省略号结束，"
       L"而不会跑到按钮上面去。The end of this text must never show."},
  };
  for (const Use& use : uses) {
    InspectedMessageBox box;
    box.SetMessage(use.title, use.text);
    box.inspect = [&](InspectedMessageBox& shown) { Save(CaptureWindow(shown.hwnd()), use.file); };
    box.DoModal();
  }
  // The confirm button under the mouse, and pressed.
  InspectedMessageBox box;
  box.SetMessage(L"关闭提示", fw::Format(L"是否退出%ls？", launcher.c_str()));
  box.inspect = [](InspectedMessageBox& shown) {
    HWND ok = shown.Button(IDOK);
    ::SendMessageW(ok, WM_MOUSEHOVER, 0, 0);
    ::UpdateWindow(ok);
    Save(CaptureWindow(shown.hwnd()), L"msgbox_7_confirm_hover.png");
    ::SendMessageW(ok, BM_SETSTATE, TRUE, 0);
    ::UpdateWindow(ok);
    HWND cancel = shown.Button(IDCANCEL);
    ::SendMessageW(cancel, WM_MOUSEHOVER, 0, 0);
    ::UpdateWindow(cancel);
    Save(CaptureWindow(shown.hwnd()), L"msgbox_8_confirm_pressed_cancel_hover.png");
    ::SendMessageW(ok, BM_SETSTATE, FALSE, 0);
  };
  box.DoModal();
}

void Overlay() {
  CMenbanDlg panel;
  if (!panel.Create(nullptr)) {
    std::wprintf(L"FAILED overlay window\n");
    ++g_failures;
    return;
  }
  ::SetWindowPos(panel.hwnd(), HWND_TOP, 40, 40, 640, 400, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  ::UpdateWindow(panel.hwnd());
  const wchar_t* names[] = {L"overlay_frame1.png", L"overlay_frame2.png", L"overlay_frame3.png",
                            L"overlay_frame4.png"};
  Save(CaptureClient(panel.hwnd()), names[0]);
  // The first tick shows the first picture again; the next ones step on.
  ::SendMessageW(panel.hwnd(), WM_TIMER, TIMER_OVERLAY_ANIM, 0);
  for (int frame = 1; frame < 4; ++frame) {
    ::SendMessageW(panel.hwnd(), WM_TIMER, TIMER_OVERLAY_ANIM, 0);
    Save(CaptureClient(panel.hwnd()), names[frame]);
  }
  ::DestroyWindow(panel.hwnd());
}

// The main window's title strip with its nine buttons where the main window
// puts them, and a server name.
void PaintStrip(HDC dc, const RECT& client) {
  Gdiplus::Image* left = LoadPngImage(203);
  Gdiplus::Image* middle = LoadPngImage(172);
  Gdiplus::Image* right = LoadPngImage(206);
  if (!left || !middle || !right) return;
  Gdiplus::Graphics graphics(dc);
  int width = client.right, leftWidth = left->GetWidth(), rightWidth = right->GetWidth();
  struct Piece {
    Gdiplus::Image* image;
    int x, width;
  };
  for (const Piece& piece : {Piece{left, 0, leftWidth}, Piece{middle, leftWidth, width - leftWidth - rightWidth},
                             Piece{right, width - rightWidth, rightWidth}}) {
    Gdiplus::TextureBrush brush(piece.image, Gdiplus::WrapModeTile);
    brush.TranslateTransform(static_cast<Gdiplus::REAL>(piece.x), 0);
    graphics.FillRectangle(&brush, piece.x, 0, piece.width, static_cast<INT>(piece.image->GetHeight()));
  }
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
  graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
  auto family = FontFamilyOrSansSerif(L"微软雅黑");
  Gdiplus::Font font(family.get(), 14, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
  Gdiplus::SolidBrush text{Gdiplus::Color(255, 255, 243, 205)};
  graphics.DrawString(L"[ 电信一区 风云再起 ]", -1, &font,
                      Gdiplus::PointF(static_cast<Gdiplus::REAL>(leftWidth + 5), 4), &text);
}

void Strip(bool maximizeShown) {
  const int width = 1200;
  SkinTestParent strip(40, 480, width, 30, RGB(0, 0, 0));
  strip.painter = PaintStrip;
  struct Button {
    int id, x, w, h;
    UINT normal, hover, pressed;
  };
  const int r = width;
  std::vector<Button> table = {
      {IDC_BTN_CLOSE, r - 28, 28, 26, 207, 208, 227},      {IDC_BTN_MINIMIZE, r - 86, 28, 26, 209, 210, 230},
      {IDC_BTN_FULLSCREEN, r - 172, 85, 24, 224, 214, 234}, {IDC_BTN_BOSSKEY, r - 270, 97, 24, 223, 215, 233},
      {IDC_BTN_CLEARCACHE, r - 349, 85, 24, 252, 253, 261}, {IDC_BTN_REFRESH, r - 428, 78, 24, 226, 219, 236},
      {IDC_BTN_NEWSERVER, r - 488, 59, 24, 211, 212, 231},
  };
  if (maximizeShown) {
    table.push_back({IDC_BTN_MAXIMIZE, r - 57, 28, 26, 220, 213, 228});
  } else {
    table.push_back({IDC_BTN_RESTORE, r - 57, 28, 26, 221, 217, 229});
  }
  std::vector<std::unique_ptr<CTouchButton>> buttons;
  for (const Button& b : table) {
    auto button = std::make_unique<CTouchButton>();
    button->Subclass(strip.AddButton(b.id, b.x, 3, b.w, b.h));
    button->LoadImages(b.normal, b.hover, b.pressed);
    buttons.push_back(std::move(button));
  }
  strip.PaintNow();
  const wchar_t* suffix = maximizeShown ? L"_maximize" : L"";
  Save(CaptureClient(strip.hwnd()), (std::wstring(L"strip_normal") + suffix + L".png").c_str());
  for (auto& b : buttons) {
    ::SendMessageW(b->hwnd(), WM_MOUSEHOVER, 0, 0);
    ::UpdateWindow(b->hwnd());
  }
  Save(CaptureClient(strip.hwnd()), (std::wstring(L"strip_hover") + suffix + L".png").c_str());
  for (auto& b : buttons) {
    ::SendMessageW(b->hwnd(), BM_SETSTATE, TRUE, 0);
    ::UpdateWindow(b->hwnd());
  }
  Save(CaptureClient(strip.hwnd()), (std::wstring(L"strip_pressed") + suffix + L".png").c_str());
}

// The overlay where the player meets it: over the main window (title strip
// and a light page), until `readyFile` is deleted.
void OverlayOverWindow(const std::wstring& readyFile) {
  SkinTestParent window(0, 0, 640, 400, RGB(0, 0, 0));
  window.painter = [](HDC dc, const RECT& client) {
    HBRUSH page = ::CreateSolidBrush(RGB(236, 228, 210));
    ::FillRect(dc, &client, page);
    ::DeleteObject(page);
    for (int x = 20; x < client.right; x += 60) {
      RECT block{x, 60, x + 40, client.bottom - 20};
      HBRUSH brush = ::CreateSolidBrush(RGB(60 + x % 150, 90, 160));
      ::FillRect(dc, &block, brush);
      ::DeleteObject(brush);
    }
    PaintStrip(dc, client);
  };
  window.PaintNow();
  CMenbanDlg panel(window.hwnd());
  if (!panel.Create(window.hwnd())) return;
  ::SetWindowPos(panel.hwnd(), HWND_TOP, 0, 0, 640, 400, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  ::SendMessageW(panel.hwnd(), WM_TIMER, TIMER_OVERLAY_ANIM, 0);
  ::UpdateWindow(panel.hwnd());
  HANDLE ready = ::CreateFileW(readyFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (ready != INVALID_HANDLE_VALUE) ::CloseHandle(ready);
  for (int waited = 0; waited < 300 && ::GetFileAttributesW(readyFile.c_str()) != INVALID_FILE_ATTRIBUTES;
       ++waited) {
    PumpPendingMessages();
    ::Sleep(100);
  }
  ::DestroyWindow(panel.hwnd());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fwprintf(stderr, L"usage: skin_gallery <output folder> | --over-window <ready file>\n");
    return 2;
  }
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);

  if (std::wstring(argv[1]) == L"--over-window" && argc >= 3) {
    OverlayOverWindow(argv[2]);
  } else {
    g_folder = argv[1];
    ::CreateDirectoryW(g_folder.c_str(), nullptr);
    MessageBoxes();
    Overlay();
    Strip(false);
    Strip(true);
  }

  Gdiplus::GdiplusShutdown(token);
  return g_failures == 0 ? 0 : 1;
}
