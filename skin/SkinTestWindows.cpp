#include "skin/SkinTestWindows.h"

#include "framework/Application.h"

namespace quarrow {
namespace {

constexpr wchar_t kParentClass[] = L"QuarrowSkinTestParent";
constexpr UINT kInspectMessage = WM_APP + 0x51;

void RegisterParentClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = fw::Application::ResourceModule();
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kParentClass;
  registered = ::RegisterClassExW(&wc) != 0;
}

}  // namespace

SkinTestParent::SkinTestParent(int x, int y, int width, int height, COLORREF colour) : m_colour(colour) {
  OnMessage(WM_ERASEBKGND, &SkinTestParent::OnEraseBkgnd);
  OnMessage(WM_COMMAND, &SkinTestParent::OnCommandMessage);
  RegisterParentClass();
  HWND hwnd = ::CreateWindowExW(WS_EX_TOOLWINDOW, kParentClass, L"skin test", WS_POPUP, x, y, width, height,
                                nullptr, nullptr, fw::Application::ResourceModule(), nullptr);
  Subclass(hwnd);
  ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  PaintNow();
}

SkinTestParent::~SkinTestParent() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
}

HWND SkinTestParent::AddButton(int id, int x, int y, int width, int height) {
  return ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, y, width, height, m_hWnd,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), fw::Application::ResourceModule(),
                           nullptr);
}

void SkinTestParent::PaintNow() {
  ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

int SkinTestParent::CountCommands(int id, int code) const {
  int count = 0;
  for (const auto& c : commands) count += (c.first == id && c.second == code) ? 1 : 0;
  return count;
}

LRESULT SkinTestParent::OnEraseBkgnd(WPARAM wParam, LPARAM) {
  HDC dc = reinterpret_cast<HDC>(wParam);
  RECT client = ClientRect();
  if (painter) {
    painter(dc, client);
  } else {
    HBRUSH brush = ::CreateSolidBrush(m_colour);
    ::FillRect(dc, &client, brush);
    ::DeleteObject(brush);
  }
  return TRUE;
}

LRESULT SkinTestParent::OnCommandMessage(WPARAM wParam, LPARAM) {
  commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
  return 0;
}

void PumpPendingMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!fw::PreTranslateTree(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
}

InspectedMessageBox::InspectedMessageBox() {
  OnMessage(kInspectMessage, [this](WPARAM, LPARAM) -> LRESULT {
    ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (inspect) inspect(*this);
    EndDialog(IDOK);
    return 0;
  });
}

BOOL InspectedMessageBox::OnInitDialog() {
  BOOL result = CCustomMessageBox::OnInitDialog();
  ::PostMessageW(m_hWnd, kInspectMessage, 0, 0);
  return result;
}

}  // namespace quarrow
