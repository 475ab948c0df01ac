#include "login/VedaziLogin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/FileUtils.h"
#include "framework/Dialog.h"
#include "login/LoginPopupDlg.h"
#include "login/MacAddress.h"
#include "res/resource.h"
#include "tests/WinTestSupport.h"
#include "update/StandInServer.h"

namespace {

using testing_support::StandInServer;
using testing_support::WaitUntil;

const wchar_t kLoginPath[] = L"/client/gamecode/vor/skin/as/";

// Runs a step on this thread from inside the modal loop that runs next: a
// thread timer's message is dispatched by whatever loop pumps the queue.
class InModalLoop {
 public:
  explicit InModalLoop(std::function<void()> step) {
    s_step = std::move(step);
    ::SetTimer(nullptr, 0, 1, &InModalLoop::Fire);
  }

 private:
  static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    std::function<void()> step = std::move(s_step);
    s_step = nullptr;
    if (step) step();
  }
  static std::function<void()> s_step;
};
std::function<void()> InModalLoop::s_step;

// Lets the queue run for a while, as the modal loop would between events.
void Pump(DWORD ms) {
  const DWORD end = ::GetTickCount() + ms;
  MSG msg;
  while (static_cast<LONG>(end - ::GetTickCount()) > 0) {
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!fw::PreTranslateTree(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
    }
    ::Sleep(5);
  }
}

bool ServerSaw(StandInServer& server, const std::string& request) {
  std::vector<std::string> seen = server.Requests();
  return std::find(seen.begin(), seen.end(), request) != seen.end();
}

bool SawAnyWith(StandInServer& server, const std::string& part) {
  for (const std::string& r : server.Requests()) {
    if (r.find(part) != std::string::npos) return true;
  }
  return false;
}

// True when `upper` comes before `lower` in the top-level z-order.
bool IsAbove(HWND upper, HWND lower) {
  for (HWND w = ::GetWindow(upper, GW_HWNDNEXT); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
    if (w == lower) return true;
  }
  return false;
}

RECT ScreenRect(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return rect;
}

// The browser's window in the popup, in popup client coordinates.
RECT BrowserRect(HWND popup) {
  RECT rect{};
  for (HWND child = ::GetWindow(popup, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[64] = {};
    ::GetClassNameW(child, cls, 64);
    if (std::wstring(cls) != L"Shell Embedding") continue;
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, popup, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }
  ADD_FAILURE() << "no browser window in the popup";
  return rect;
}

// A visible "#32770" window of the thread other than the ones given.
HWND WaitForBox(DWORD threadId, std::vector<HWND> known) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        struct Search {
          std::vector<HWND>* known;
          HWND* found;
        } search{&known, &found};
        ::EnumThreadWindows(
            threadId,
            [](HWND hwnd, LPARAM p) -> BOOL {
              auto* s = reinterpret_cast<Search*>(p);
              wchar_t cls[16] = {};
              ::GetClassNameW(hwnd, cls, 16);
              if (std::wstring(cls) != L"#32770" || !::IsWindowVisible(hwnd)) return TRUE;
              if (std::find(s->known->begin(), s->known->end(), hwnd) != s->known->end()) return TRUE;
              *s->found = hwnd;
              return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return found != nullptr;
      },
      10000);
  return found;
}

// The launch dialog against the stand-in, with the installation and the
// update check recorded instead of run.
class LaunchDialogTest : public testing::Test {
 protected:
  LaunchDialogTest() {
    services.firstRunInstall = [this] { ++installs; };
    services.updateCheck = [this] { ++updateChecks; };
    services.loginPageBase = server.BaseUrl() + kLoginPath;
  }
  void SetUp() override { ASSERT_TRUE(server.running()); }

  // Runs the dialog with `step` inside its modal loop; the step ends it, or
  // the test fails when nothing has ended it within half a minute.
  INT_PTR Run(CVedaziLogin& dialog, std::function<void()> step) {
    InModalLoop once(std::move(step));
    s_running = &dialog;
    UINT_PTR guard = ::SetTimer(nullptr, 0, 30000, &LaunchDialogTest::Guard);
    INT_PTR result = dialog.DoModal();
    ::KillTimer(nullptr, guard);
    s_running = nullptr;
    return result;
  }
  static void CALLBACK Guard(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    if (!s_running || !s_running->IsModal()) return;
    ADD_FAILURE() << "the dialog did not end";
    s_running->EndDialog(-2);
  }
  static CVedaziLogin* s_running;
  std::string LoginPageRequest() {
    return "GET " + testing_support::Narrow(std::wstring(kLoginPath) + L"mac/" + quarrow::MacAddressText() + L"/") +
           " -";
  }

  StandInServer server;
  LoginServices services;
  int installs = 0;
  int updateChecks = 0;
};

CVedaziLogin* LaunchDialogTest::s_running = nullptr;

TEST_F(LaunchDialogTest, IsThePictureWithThePopupOverItAndLoadsTheLoginPage) {
  CVedaziLogin dialog(services);
  Run(dialog, [&] {
    HWND window = dialog.hwnd();
    const RECT frame = ScreenRect(window);
    // The picture's size, not the template's.
    EXPECT_EQ(1114, frame.right - frame.left);
    EXPECT_EQ(723, frame.bottom - frame.top);
    EXPECT_NE(0, ::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_NE(0, ::GetWindowLongPtrW(window, GWL_STYLE) & WS_MINIMIZEBOX);
    wchar_t title[64] = {};
    ::GetWindowTextW(window, title, 64);
    EXPECT_STREQ(L"《Quarrow》加强版登录器", title);
    EXPECT_EQ(1, installs);

    HWND popup = dialog.Popup()->hwnd();
    ASSERT_TRUE(::IsWindowVisible(popup));
    EXPECT_EQ(window, ::GetWindow(popup, GW_OWNER));
    EXPECT_TRUE(IsAbove(popup, window)) << "the popup is hidden behind the picture";
    const RECT place = ScreenRect(popup);
    EXPECT_EQ(frame.left + 353, place.left);
    EXPECT_EQ(frame.top + 194, place.top);
    EXPECT_EQ(705, place.right - place.left);
    EXPECT_EQ(470, place.bottom - place.top);
    EXPECT_NE(0, ::GetWindowLongPtrW(popup, GWL_EXSTYLE) & WS_EX_LAYERED);
    // The page stays hidden until it has loaded.
    RECT browser = BrowserRect(popup);
    EXPECT_TRUE(::IsRectEmpty(&browser));
    // The minimise and close buttons at the popup's top right.
    RECT minimize = ScreenRect(::GetDlgItem(popup, IDC_LOGIN_MINIMIZE));
    RECT close = ScreenRect(::GetDlgItem(popup, IDC_LOGIN_CLOSE));
    EXPECT_EQ(place.left + 705 - 71, minimize.left);
    EXPECT_EQ(place.top + 30, minimize.top);
    EXPECT_EQ(place.left + 705 - 87, close.left);
    EXPECT_EQ(place.top, close.top);

    EXPECT_TRUE(WaitUntil([&] { return ServerSaw(server, LoginPageRequest()); }, 15000))
        << "the login page was not asked for with the adapter address";
    EXPECT_EQ(0, updateChecks) << "no page has loaded yet";
    dialog.EndDialog(5);
  });
  EXPECT_EQ(L"", dialog.GetGameUrl());
}

TEST_F(LaunchDialogTest, DraggingThePictureTakesThePopupAlong) {
  CVedaziLogin dialog(services);
  Run(dialog, [&] {
    HWND window = dialog.hwnd();
    const RECT frame = ScreenRect(window);
    // Any point of the picture drags the window.
    const LPARAM inside = MAKELPARAM(frame.left + 100, frame.top + 100);
    EXPECT_EQ(HTCAPTION, ::SendMessageW(window, WM_NCHITTEST, 0, inside));
    const POINT moves[] = {{40, 25}, {-120, 60}, {7, -3}};
    for (const POINT& move : moves) {
      RECT before = ScreenRect(window);
      ::SetWindowPos(window, nullptr, before.left + move.x, before.top + move.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      RECT after = ScreenRect(window);
      RECT popup = ScreenRect(dialog.Popup()->hwnd());
      EXPECT_EQ(before.left + move.x, after.left);
      EXPECT_EQ(after.left + 353, popup.left);
      EXPECT_EQ(after.top + 194, popup.top);
      EXPECT_EQ(705, popup.right - popup.left);
    }
    dialog.EndDialog(5);
  });
}

TEST_F(LaunchDialogTest, EnterAndEscapeEndNeitherWindow) {
  CVedaziLogin dialog(services);
  Run(dialog, [&] {
    HWND window = dialog.hwnd();
    HWND popup = dialog.Popup()->hwnd();
    for (HWND target : {window, popup}) {
      for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        ::PostMessageW(target, WM_KEYDOWN, key, 1);
        ::PostMessageW(target, WM_KEYUP, key, 0xC0000001);
      }
      ::SendMessageW(target, WM_COMMAND, IDOK, 0);
      ::SendMessageW(target, WM_COMMAND, IDCANCEL, 0);
    }
    Pump(200);
    EXPECT_TRUE(dialog.IsModal());
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_TRUE(::IsWindowVisible(popup));

    // In the popup, Space and Escape are swallowed before the page sees them;
    // Enter goes on to the page untouched by the dialog.
    MSG key{popup, WM_KEYDOWN, VK_SPACE, 1, 0, {}};
    EXPECT_TRUE(dialog.Popup()->PreTranslateMessage(&key));
    key.wParam = VK_ESCAPE;
    EXPECT_TRUE(dialog.Popup()->PreTranslateMessage(&key));
    key.wParam = VK_RETURN;
    EXPECT_FALSE(dialog.Popup()->PreTranslateMessage(&key));
    dialog.EndDialog(5);
  });
}

TEST_F(LaunchDialogTest, DeclinedCloseKeepsBothWindows) {
  struct Case {
    const char* name;
    std::function<void(HWND dialog, HWND popup)> ask;
  };
  const Case cases[] = {
      {"taskbar close", [](HWND d, HWND) { ::SendMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"popup close button", [](HWND, HWND p) { ::SendMessageW(::GetDlgItem(p, IDC_LOGIN_CLOSE), BM_CLICK, 0, 0); }},
      {"popup close command", [](HWND, HWND p) { ::SendMessageW(p, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  const DWORD uiThread = ::GetCurrentThreadId();
  for (const Case& c : cases) {
    CVedaziLogin dialog(services);
    Run(dialog, [&] {
      HWND window = dialog.hwnd();
      HWND popup = dialog.Popup()->hwnd();
      bool asked = false;
      std::thread player([&] {
        HWND box = WaitForBox(uiThread, {window, popup});
        if (!box) return;
        asked = true;
        ::PostMessageW(::GetDlgItem(box, IDCANCEL), BM_CLICK, 0, 0);
      });
      c.ask(window, popup);
      player.join();
      EXPECT_TRUE(asked) << c.name << ": no confirmation was shown";
      Pump(100);
      EXPECT_TRUE(dialog.IsModal()) << c.name;
      EXPECT_TRUE(::IsWindowVisible(window)) << c.name;
      EXPECT_TRUE(::IsWindowVisible(popup)) << c.name;
      dialog.EndDialog(5);
    });
  }
}

TEST_F(LaunchDialogTest, PopupMinimizeButtonMinimizesTheDialogAndThePopupWithIt) {
  CVedaziLogin dialog(services);
  Run(dialog, [&] {
    HWND window = dialog.hwnd();
    HWND popup = dialog.Popup()->hwnd();
    ::SendMessageW(::GetDlgItem(popup, IDC_LOGIN_MINIMIZE), BM_CLICK, 0, 0);
    Pump(100);
    EXPECT_TRUE(::IsIconic(window));
    EXPECT_FALSE(::IsWindowVisible(popup));
    ::ShowWindow(window, SW_RESTORE);
    Pump(100);
    EXPECT_TRUE(::IsWindowVisible(popup));
    const RECT frame = ScreenRect(window);
    const RECT place = ScreenRect(popup);
    EXPECT_EQ(frame.left + 353, place.left);
    EXPECT_EQ(frame.top + 194, place.top);
    dialog.EndDialog(5);
  });
}

// Wine renders no page and fires no DocumentComplete: the event is given to
// the browser's sink as the control would give it.
TEST_F(LaunchDialogTest, FirstLoadedPageRunsTheUpdateCheckOnceAndEveryOneShowsThePage) {
  CVedaziLogin dialog(services);
  Run(dialog, [&] {
    WebFormLogin* browser = dialog.Popup()->Browser();
    HWND popup = dialog.Popup()->hwnd();
    for (int page = 1; page <= 3; ++page) {
      VARIANT url;
      url.vt = VT_BSTR;
      url.bstrVal = ::SysAllocString(L"http://127.0.0.1/page");
      VARIANT args[2];
      ::VariantInit(&args[1]);  // the browser object, unused
      args[0].vt = VT_BYREF | VT_VARIANT;
      args[0].pvarVal = &url;
      DISPPARAMS params{args, nullptr, 2, 0};
      IDispatch* sink = browser;
      EXPECT_EQ(S_OK, sink->Invoke(259, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr));
      ::SysFreeString(url.bstrVal);
      EXPECT_EQ(1, updateChecks) << "after page " << page;
      const RECT shown = BrowserRect(popup);
      const RECT page_area{0, CLoginPopupDlg::kPageTop, 705, 470};
      EXPECT_TRUE(::EqualRect(&page_area, &shown))
          << "after page " << page << ": " << shown.left << "," << shown.top << "," << shown.right << ","
          << shown.bottom;
      // A page that hid the browser again is shown by the next load.
      browser->SetBrowserRect(RECT{0, 0, 0, 0});
    }
    // The page gets no external object.
    IDispatch* external = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(S_OK, browser->GetExternal(&external));
    EXPECT_EQ(nullptr, external);
    dialog.EndDialog(5);
  });
}

TEST_F(LaunchDialogTest, TheNavigationIntoTheGameIsStoppedAndEndsTheDialogWithItsUrl) {
  const std::wstring game = server.BaseUrl() + L"/game/play_gamecode.php?svname=s1/s1&user=guest";
  const std::wstring otherCase = server.BaseUrl() + L"/game/PLAY_GAMECODE.php?svname=s1/s1";
  CVedaziLogin dialog(services);
  INT_PTR result = Run(dialog, [&] {
    WebFormLogin* browser = dialog.Popup()->Browser();
    auto navigate = [&](const std::wstring& text) {
      VARIANT url;
      url.vt = VT_BSTR;
      url.bstrVal = ::SysAllocString(text.c_str());
      browser->Navigate(url);
      ::SysFreeString(url.bstrVal);
    };
    // Only the exact mark counts: this one reaches the server and the
    // dialog goes on.
    navigate(otherCase);
    EXPECT_TRUE(WaitUntil([&] { return SawAnyWith(server, "PLAY_GAMECODE"); }, 15000));
    Pump(50);
    EXPECT_TRUE(dialog.IsModal());
    EXPECT_EQ(L"", dialog.GetGameUrl());
    navigate(game);
  });
  EXPECT_EQ(0, result);
  EXPECT_EQ(game, dialog.GetGameUrl());
  EXPECT_EQ(game, g_lastNavigateUrl);
  EXPECT_FALSE(::IsWindow(dialog.hwnd()));
  ::Sleep(300);
  EXPECT_FALSE(SawAnyWith(server, "play_gamecode")) << "the game request left the launcher";
}

// A popup whose owner is no launch dialog stops the game navigation but has
// nowhere to hand it: the URL is dropped and nothing else happens.
TEST(LoginPopup, GameNavigationWithoutALaunchDialogIsStoppedAndDropped) {
  fw::Dialog owner(IDD_OVERLAY);
  ASSERT_TRUE(owner.Create());
  CLoginPopupDlg popup(owner.hwnd());
  ASSERT_TRUE(popup.Create(owner.hwnd()));
  ASSERT_NE(nullptr, popup.Browser());

  const std::wstring game = L"http://127.0.0.1:1/frame/play_gamecode.php?svname=s1/s1";
  VARIANT url;
  url.vt = VT_BSTR;
  url.bstrVal = ::SysAllocString(game.c_str());
  VARIANT_BOOL cancel = 0;
  VARIANT args[7];
  for (VARIANT& arg : args) ::VariantInit(&arg);
  args[0].vt = VT_BYREF | VT_BOOL;  // BeforeNavigate2's arguments come last first
  args[0].pboolVal = &cancel;
  args[5].vt = VT_BYREF | VT_VARIANT;
  args[5].pvarVal = &url;
  DISPPARAMS params{args, nullptr, 7, 0};
  IDispatch* sink = popup.Browser();
  EXPECT_EQ(S_OK, sink->Invoke(250, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr));
  ::SysFreeString(url.bstrVal);
  EXPECT_EQ(1, cancel);
  EXPECT_EQ(game, g_lastNavigateUrl);
  EXPECT_TRUE(::IsWindow(popup.hwnd()));
  EXPECT_TRUE(::IsWindow(owner.hwnd()));
}

// The launch dialog of a launcher process: visible, layered, titled.
HWND LaunchDialogOf(DWORD processId) {
  for (HWND w : testing_support::TopLevelWindowsOf(processId)) {
    wchar_t title[64] = {};
    ::GetWindowTextW(w, title, 64);
    if (::IsWindowVisible(w) && (::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_LAYERED) &&
        std::wstring(title) == L"《Quarrow》加强版登录器") {
      return w;
    }
  }
  return nullptr;
}

// A visible dialog box of the process other than the ones given.
HWND OtherDialogOf(DWORD processId, const std::vector<HWND>& known) {
  for (HWND w : testing_support::TopLevelWindowsOf(processId)) {
    wchar_t cls[16] = {};
    ::GetClassNameW(w, cls, 16);
    if (std::wstring(cls) == L"#32770" && ::IsWindowVisible(w) &&
        std::find(known.begin(), known.end(), w) == known.end()) {
      return w;
    }
  }
  return nullptr;
}

// Confirming ends the whole process, so it is watched in a launcher of its own.
TEST(LaunchDialogInLauncher, ConfirmedCloseEndsTheLauncherWithZero) {
  using namespace testing_support;
  RemoveLauncherInstallation();
  const std::wstring launcher = LauncherPath();
  HANDLE process = StartProcess(launcher, L"\"" + launcher + L"\"");
  ASSERT_NE(nullptr, process);
  const DWORD id = ::GetProcessId(process);
  HWND dialog = nullptr;
  EXPECT_TRUE(WaitUntil([&] { return (dialog = LaunchDialogOf(id)) != nullptr; }, 15000));
  HWND popup = nullptr;
  if (dialog) {
    RECT frame{};
    ::GetWindowRect(dialog, &frame);
    EXPECT_EQ(1114, frame.right - frame.left);
    // The dialog installs the launcher for the user.
    const std::wstring installed = quarrow::GetDataFolder() + L"QuarrowLauncher.exe";
    EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(installed) == ReadFileBytes(launcher); }, 15000));
    for (HWND w : TopLevelWindowsOf(id)) {
      if (::GetWindow(w, GW_OWNER) == dialog && ::IsWindowVisible(w)) popup = w;
    }
    EXPECT_NE(nullptr, popup);
    ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    HWND box = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (box = OtherDialogOf(id, {dialog, popup})) != nullptr; }, 10000));
    EXPECT_EQ(STILL_ACTIVE, WaitForExit(process, 0)) << "asking ends nothing";
    if (box) ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  }
  const DWORD code = WaitForExit(process, 15000);
  EXPECT_EQ(0u, code);
  if (code == STILL_ACTIVE) ::TerminateProcess(process, 1);
  ::CloseHandle(process);
  RemoveLauncherInstallation();
}

}  // namespace
