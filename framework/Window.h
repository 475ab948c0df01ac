// The launcher's own thin window layer: one C++ object per window, messages
// and command ids bound to member handlers in a table filled by the class.
#pragma once

#include <windows.h>

#include <functional>
#include <unordered_map>

namespace fw {

// Control notifications reflected back to the control that caused them, so a
// control class (an owner-drawn button) can answer its parent's questions.
constexpr UINT kReflectBase = 0xBC00;
constexpr UINT kReflectCtlColor = kReflectBase + 0x0019;  // the 16-bit WM_CTLCOLOR

class Window {
 public:
  Window();
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return m_hWnd; }
  operator HWND() const { return m_hWnd; }

  // The object bound to a window of this process, or null.
  static Window* FromHandle(HWND hwnd);

  // Takes over an existing window (a dialog control): its messages go through
  // this object until the window is destroyed.
  bool Subclass(HWND hwnd);
  bool SubclassDlgItem(int id, HWND parent) { return Subclass(::GetDlgItem(parent, id)); }

  // Called with every queued message aimed at this window or one of its
  // children before it is dispatched; true means it was handled here.
  virtual bool PreTranslateMessage(MSG* msg);

  // Owner-draw request reflected from the parent.
  virtual void DrawItem(DRAWITEMSTRUCT* dis);

  // Text and geometry helpers used everywhere.
  RECT ClientRect() const;
  RECT WindowRect() const;
  HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }

 protected:
  using Handler = std::function<LRESULT(WPARAM, LPARAM)>;

  // Binding table. A handler that wants the standard processing as well
  // calls Default() and returns (or adjusts) its result.
  void OnMessage(UINT message, Handler handler);
  template <class T>
  void OnMessage(UINT message, LRESULT (T::*fn)(WPARAM, LPARAM)) {
    T* self = static_cast<T*>(this);
    OnMessage(message, [self, fn](WPARAM w, LPARAM l) { return (self->*fn)(w, l); });
  }
  void OnCommand(UINT id, std::function<void()> handler);
  template <class T>
  void OnCommand(UINT id, void (T::*fn)()) {
    T* self = static_cast<T*>(this);
    OnCommand(id, [self, fn] { (self->*fn)(); });
  }

  // Standard processing of the message being handled now.
  LRESULT Default();

  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Processing for messages no handler took (and for Default()).
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Runs before the window is taken over by Subclass.
  virtual void PreSubclassWindow() {}
  // Runs after the last message (WM_NCDESTROY) has been handled.
  virtual void PostNcDestroy() {}

  void AttachHandle(HWND hwnd);
  void DetachHandle();

  HWND m_hWnd = nullptr;

 private:
  static LRESULT CALLBACK StaticWindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

  WNDPROC m_prevProc = nullptr;
  std::unordered_map<UINT, Handler> m_handlers;
  std::unordered_map<UINT, std::function<void()>> m_commands;
  struct Current {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  } m_current{};
};

// Walks from the message's window up through its parents and owners' objects,
// giving each a chance to pre-translate it; true when one did.
bool PreTranslateTree(MSG* msg);

}  // namespace fw
