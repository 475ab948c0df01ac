#include "framework/Window.h"

#include <mutex>

namespace fw {
namespace {

// Window objects of this process by handle. A map rather than a window
// property: a property read through a window of another process (the game
// window's frame) would hand back a pointer that is meaningless here.
std::mutex g_mapLock;
std::unordered_map<HWND, Window*>& HandleMap() {
  static std::unordered_map<HWND, Window*> map;
  return map;
}

}  // namespace

Window::Window() = default;

Window::~Window() {
  if (m_hWnd) {
    // A window that outlives its object must not call into it any more.
    if (m_prevProc) {
      ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_prevProc));
    }
    DetachHandle();
  }
}

Window* Window::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  std::lock_guard<std::mutex> lock(g_mapLock);
  auto it = HandleMap().find(hwnd);
  return it == HandleMap().end() ? nullptr : it->second;
}

void Window::AttachHandle(HWND hwnd) {
  m_hWnd = hwnd;
  std::lock_guard<std::mutex> lock(g_mapLock);
  HandleMap()[hwnd] = this;
}

void Window::DetachHandle() {
  {
    std::lock_guard<std::mutex> lock(g_mapLock);
    HandleMap().erase(m_hWnd);
  }
  m_hWnd = nullptr;
  m_prevProc = nullptr;
}

bool Window::Subclass(HWND hwnd) {
  if (!hwnd || m_hWnd || FromHandle(hwnd)) return false;
  AttachHandle(hwnd);
  PreSubclassWindow();
  m_prevProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::StaticWindowProc)));
  return true;
}

void Window::OnMessage(UINT message, Handler handler) { m_handlers[message] = std::move(handler); }

void Window::OnCommand(UINT id, std::function<void()> handler) { m_commands[id] = std::move(handler); }

LRESULT Window::Default() { return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam); }

LRESULT Window::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_prevProc) return ::CallWindowProcW(m_prevProc, m_hWnd, message, wParam, lParam);
  return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

bool Window::PreTranslateMessage(MSG*) { return false; }

void Window::DrawItem(DRAWITEMSTRUCT*) {}

RECT Window::ClientRect() const {
  RECT rc{};
  ::GetClientRect(m_hWnd, &rc);
  return rc;
}

RECT Window::WindowRect() const {
  RECT rc{};
  ::GetWindowRect(m_hWnd, &rc);
  return rc;
}

bool Window::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (dis && dis->CtlType != ODT_MENU) {
        if (Window* child = FromHandle(dis->hwndItem)) {
          child->DrawItem(dis);
          *result = TRUE;
          return true;
        }
      }
      return false;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR: {
      Window* child = FromHandle(reinterpret_cast<HWND>(lParam));
      if (!child || child == this) return false;
      LRESULT brush = child->WindowProc(kReflectCtlColor, wParam, lParam);
      if (brush) {
        *result = brush;
        return true;
      }
      return false;
    }
    default:
      return false;
  }
}

LRESULT Window::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  auto handler = m_handlers.find(message);
  if (handler != m_handlers.end()) return handler->second(wParam, lParam);

  if (message == WM_COMMAND) {
    auto command = m_commands.find(LOWORD(wParam));
    if (command != m_commands.end()) {
      command->second();
      return 0;
    }
  }
  LRESULT reflected = 0;
  if (ReflectToChild(message, wParam, lParam, &reflected)) return reflected;
  // Reflected notifications nobody took mean "no answer" to the parent.
  if (message >= kReflectBase && message < kReflectBase + 0x400) return 0;
  return DefWindowProc(message, wParam, lParam);
}

LRESULT Window::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  Current saved = m_current;
  m_current = {message, wParam, lParam};
  LRESULT result = Dispatch(message, wParam, lParam);
  m_current = saved;
  return result;
}

LRESULT CALLBACK Window::StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* self = FromHandle(hwnd);
  if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  if (message != WM_NCDESTROY) return self->WindowProc(message, wParam, lParam);

  LRESULT result = self->WindowProc(message, wParam, lParam);
  // Last message: give the window back to its class procedure and let go.
  if (self->m_prevProc) {
    ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->m_prevProc));
  }
  self->DetachHandle();
  self->PostNcDestroy();
  return result;
}

bool PreTranslateTree(MSG* msg) {
  for (HWND h = msg->hwnd; h; h = ::GetParent(h)) {
    if (Window* w = Window::FromHandle(h)) {
      if (w->PreTranslateMessage(msg)) return true;
    }
  }
  return false;
}

}  // namespace fw
