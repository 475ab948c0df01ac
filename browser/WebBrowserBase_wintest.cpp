#include "browser/WebBrowserBase.h"

#include <gtest/gtest.h>

#include <exdispid.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "tests/WinTestSupport.h"
#include "update/StandInServer.h"

namespace {

using testing_support::StandInServer;
using testing_support::WaitUntil;

const wchar_t kHostClass[] = L"QuarrowBrowserTestHost";

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND CreatePlainWindow(const wchar_t* className, DWORD style, HWND parent, int width, int height) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = className;
  ::RegisterClassW(&wc);  // fails harmlessly once registered
  return ::CreateWindowExW(0, className, L"", style, 0, 0, width, height, parent, nullptr, wc.hInstance, nullptr);
}

// A hidden window hosting a browser, as the login popup does; destroyed at
// the end unless a test destroyed it already.
class HostWindow {
 public:
  explicit HostWindow(HWND owner = nullptr)
      : m_hwnd(CreatePlainWindow(kHostClass, WS_POPUP | WS_CLIPCHILDREN, owner, 640, 480)) {}
  ~HostWindow() {
    if (::IsWindow(m_hwnd)) ::DestroyWindow(m_hwnd);
  }
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;
  operator HWND() const { return m_hwnd; }

 private:
  HWND m_hwnd;
};

// The derived class a host writes: it names its window and records the two
// events; URLs holding "play_gamecode" are cancelled, as the login host does.
class TestBrowser : public CWebBrowserBase {
 public:
  explicit TestBrowser(HWND host) : m_host(host) {}
  HWND GetHostWindow() override { return m_host; }
  void OnDocumentComplete(std::wstring url) override { documents.push_back(url); }
  void OnBeforeNavigate2(std::wstring url, VARIANT_BOOL* cancel) override {
    navigations.push_back(url);
    if (url.find(L"play_gamecode") != std::wstring::npos) *cancel = 1;
  }
  LONG References() {
    AddRef();
    return static_cast<LONG>(Release());
  }
  using CWebBrowserBase::m_bInPlaceActive;
  using CWebBrowserBase::m_pOleObject;
  using CWebBrowserBase::m_pStorage;
  using CWebBrowserBase::m_rcObject;
  using CWebBrowserBase::m_strUrl;

  std::vector<std::wstring> documents;
  std::vector<std::wstring> navigations;

 private:
  HWND m_host;
};

class Url {
 public:
  explicit Url(const std::wstring& text) {
    ::VariantInit(&m_value);
    m_value.vt = VT_BSTR;
    m_value.bstrVal = ::SysAllocString(text.c_str());
  }
  ~Url() { ::VariantClear(&m_value); }
  operator const VARIANT&() const { return m_value; }

 private:
  VARIANT m_value;
};

std::wstring LoginPageUrl(const StandInServer& server) {
  return server.BaseUrl() + L"/client/gamecode/vor/skin/as/mac/00-11-22-33-44-55/";
}
const char kLoginPageRequest[] = "GET /client/gamecode/vor/skin/as/mac/00-11-22-33-44-55/ -";

bool ServerSaw(StandInServer& server, const std::string& request) {
  std::vector<std::string> seen = server.Requests();
  return std::find(seen.begin(), seen.end(), request) != seen.end();
}

size_t CountOf(const std::vector<std::wstring>& list, const std::wstring& item) {
  return static_cast<size_t>(std::count(list.begin(), list.end(), item));
}

bool SameRect(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }

// The browser's own window inside the host, in host client coordinates.
RECT BrowserWindowRect(HWND host) {
  RECT rect{};
  HWND browser = ::GetWindow(host, GW_CHILD);
  if (!browser) return rect;
  ::GetWindowRect(browser, &rect);
  ::MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// An active browser in its host window, with the stand-in to navigate to.
class WebBrowserBaseActive : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.running());
    ASSERT_TRUE(browser.InPlaceActivate());
  }
  // Navigates to the login page and waits until the stand-in has seen it.
  bool LoadLoginPage() {
    return browser.Navigate(Url(LoginPageUrl(server))) &&
           WaitUntil([&] { return ServerSaw(server, kLoginPageRequest); }, 15000);
  }

  StandInServer server;
  HostWindow host;
  TestBrowser browser{host};
};

TEST_F(WebBrowserBaseActive, NavigationReachesTheHookWithItsUrlAndThenTheServer) {
  // A second activation runs no second verb and connects no second sink:
  // each navigation still reaches the hook once.
  EXPECT_TRUE(browser.InPlaceActivate());
  EXPECT_TRUE(LoadLoginPage());
  EXPECT_EQ(LoginPageUrl(server), browser.m_strUrl);
  EXPECT_EQ(1u, CountOf(browser.navigations, LoginPageUrl(server)));
}

TEST_F(WebBrowserBaseActive, CancellingHookKeepsTheRequestFromTheServer) {
  const std::wstring game = server.BaseUrl() + L"/game/play_gamecode.php?svname=s1/s1&user=guest";
  browser.Navigate(Url(game));
  EXPECT_TRUE(WaitUntil([&] { return CountOf(browser.navigations, game) == 1; }, 15000));
  // A navigation that goes ahead afterwards shows the browser has moved on;
  // the cancelled one never arrived before it.
  EXPECT_TRUE(LoadLoginPage());
  EXPECT_EQ(std::vector<std::string>{kLoginPageRequest}, server.Requests());
}

TEST(WebBrowserBase, BrowserRectIsRememberedBeforeActivationAndPlacesTheBrowserAfter) {
  HostWindow host;
  TestBrowser browser(host);
  const RECT early{10, 20, 110, 220};
  EXPECT_TRUE(browser.SetBrowserRect(early));
  EXPECT_TRUE(SameRect(early, browser.m_rcObject));

  // Activation asks for the window context, which takes the whole client area.
  EXPECT_EQ(S_FALSE, browser.CanInPlaceActivate());
  ASSERT_TRUE(browser.InPlaceActivate());
  EXPECT_EQ(S_OK, browser.CanInPlaceActivate());
  RECT client{};
  ::GetClientRect(host, &client);
  EXPECT_TRUE(SameRect(client, browser.m_rcObject));

  // The login popup's area below its 84-pixel strip, then hidden at zero size.
  const RECT area{0, 84, 640, 480};
  EXPECT_TRUE(browser.SetBrowserRect(area));
  EXPECT_TRUE(SameRect(area, browser.m_rcObject));
  EXPECT_TRUE(SameRect(area, BrowserWindowRect(host)));
  SIZEL extent{};
  ASSERT_EQ(S_OK, browser.m_pOleObject->GetExtent(DVASPECT_CONTENT, &extent));
  HDC screen = ::GetDC(nullptr);
  EXPECT_EQ(::MulDiv(640, 2540, ::GetDeviceCaps(screen, LOGPIXELSX)), extent.cx) << "HIMETRIC, not pixels";
  EXPECT_EQ(::MulDiv(396, 2540, ::GetDeviceCaps(screen, LOGPIXELSY)), extent.cy);
  ::ReleaseDC(nullptr, screen);

  const RECT none{0, 0, 0, 0};
  EXPECT_TRUE(browser.SetBrowserRect(none));
  RECT shown = BrowserWindowRect(host);
  EXPECT_TRUE(::IsRectEmpty(&shown));
}

// DISPPARAMS as the browser builds them: arguments in reverse order, the URL
// a VARIANT by reference holding a BSTR, the cancel flag a VARIANT_BOOL by
// reference.
class EventArguments {
 public:
  EventArguments(int count, const std::wstring& url, int urlIndex) : m_args(count) {
    for (VARIANT& arg : m_args) ::VariantInit(&arg);
    m_url.vt = VT_BSTR;
    m_url.bstrVal = ::SysAllocString(url.c_str());
    if (urlIndex >= 0 && urlIndex < count) {
      m_args[urlIndex].vt = VT_BYREF | VT_VARIANT;
      m_args[urlIndex].pvarVal = &m_url;
    }
  }
  ~EventArguments() { ::SysFreeString(m_url.bstrVal); }
  EventArguments& WithCancelFlag() {
    m_args[0].vt = VT_BYREF | VT_BOOL;
    m_args[0].pboolVal = &cancel;
    return *this;
  }
  VARIANT& operator[](size_t i) { return m_args[i]; }
  HRESULT FireAt(IDispatch* sink, DISPID id) {
    DISPPARAMS params{m_args.data(), nullptr, static_cast<UINT>(m_args.size()), 0};
    return sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
  }
  VARIANT_BOOL cancel = 0;

 private:
  std::vector<VARIANT> m_args;
  VARIANT m_url{};
};

TEST(WebBrowserBase, EventsReachTheHooksThroughTheSinkInterface) {
  HostWindow host;
  TestBrowser browser(host);
  IDispatch* sink = &browser;
  const std::wstring page = L"http://127.0.0.1/client/gamecode/vor/skin/as/mac/AA-BB/";
  const std::wstring game = L"http://127.0.0.1/game/play_gamecode.php?svname=s1/s1";

  EXPECT_EQ(S_OK, EventArguments(2, page, 0).FireAt(sink, DISPID_DOCUMENTCOMPLETE));
  EXPECT_EQ(std::vector<std::wstring>{page}, browser.documents);

  EventArguments toPage(7, page, 5);
  EXPECT_EQ(S_OK, toPage.WithCancelFlag().FireAt(sink, DISPID_BEFORENAVIGATE2));
  EXPECT_EQ(0, toPage.cancel) << "the base never cancels; this host cancels only game URLs";
  EventArguments toGame(7, game, 5);
  EXPECT_EQ(S_OK, toGame.WithCancelFlag().FireAt(sink, DISPID_BEFORENAVIGATE2));
  EXPECT_EQ(1, toGame.cancel);
  EXPECT_EQ((std::vector<std::wstring>{page, game}), browser.navigations);

  // Every other event is answered E_NOTIMPL and reaches no hook.
  for (DISPID other : {DISPID_NAVIGATECOMPLETE2, DISPID_DOWNLOADBEGIN, DISPID_DOWNLOADCOMPLETE,
                       DISPID_NAVIGATEERROR, DISPID_NEWWINDOW2, DISPID_ONQUIT}) {
    EXPECT_EQ(E_NOTIMPL, EventArguments(2, page, 0).FireAt(sink, other)) << other;
  }

  // Events that do not carry the browser's arguments reach no hook either.
  struct Malformed {
    const char* name;
    DISPID id;
    int count;
    int urlIndex;
    bool cancelFlag;
  };
  const Malformed malformed[] = {
      {"document complete without arguments", DISPID_DOCUMENTCOMPLETE, 0, -1, false},
      {"document complete, URL not a string", DISPID_DOCUMENTCOMPLETE, 2, -1, false},
      {"before navigate, too few arguments", DISPID_BEFORENAVIGATE2, 6, 5, true},
      {"before navigate, no cancel flag", DISPID_BEFORENAVIGATE2, 7, 5, false},
      {"before navigate, URL not a string", DISPID_BEFORENAVIGATE2, 7, -1, true},
  };
  for (const Malformed& m : malformed) {
    EventArguments args(m.count, game, m.urlIndex);
    if (m.cancelFlag) args.WithCancelFlag();
    EXPECT_TRUE(FAILED(args.FireAt(sink, m.id))) << m.name;
  }
  DISPPARAMS nothing{nullptr, nullptr, 0, 0};
  EXPECT_TRUE(FAILED(sink->Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, 0, &nothing, nullptr, nullptr, nullptr)));
  EXPECT_EQ(1u, browser.documents.size());
  EXPECT_EQ(2u, browser.navigations.size());
}

TEST(WebBrowserBase, EveryPartAnswersForTheSameObject) {
  HostWindow host;
  TestBrowser browser(host);
  struct Part {
    const IID* iid;
    void* expected;
  };
  const Part parts[] = {
      {&IID_IUnknown, static_cast<IDispatch*>(&browser)},
      {&IID_IDispatch, static_cast<IDispatch*>(&browser)},
      {&IID_IOleClientSite, static_cast<IOleClientSite*>(&browser)},
      {&IID_IOleWindow, static_cast<IOleInPlaceSite*>(&browser)},
      {&IID_IOleInPlaceSite, static_cast<IOleInPlaceSite*>(&browser)},
      {&IID_IOleInPlaceUIWindow, static_cast<IOleInPlaceFrame*>(&browser)},
      {&IID_IOleInPlaceFrame, static_cast<IOleInPlaceFrame*>(&browser)},
      {&IID_IDocHostUIHandler, static_cast<IDocHostUIHandler*>(&browser)},
  };
  for (const Part& part : parts) {
    IUnknown* answer = nullptr;
    ASSERT_EQ(S_OK, browser.QueryInterface(*part.iid, reinterpret_cast<void**>(&answer)));
    EXPECT_EQ(part.expected, static_cast<void*>(answer));
    // Identity: every part leads back to the same IUnknown.
    IUnknown* identity = nullptr;
    ASSERT_EQ(S_OK, answer->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)));
    EXPECT_EQ(static_cast<void*>(static_cast<IDispatch*>(&browser)), static_cast<void*>(identity));
    identity->Release();
    answer->Release();
  }
  void* answer = reinterpret_cast<void*>(1);
  EXPECT_EQ(E_NOINTERFACE, browser.QueryInterface(IID_IStorage, &answer));
  EXPECT_EQ(nullptr, answer);
}

TEST(WebBrowserBase, WindowContextAndHostInfoAsTheBrowserAsks) {
  HostWindow owner;
  HostWindow host(static_cast<HWND>(owner));  // an owned popup, as the login popup is
  TestBrowser browser(host);

  IOleInPlaceFrame* frame = nullptr;
  IOleInPlaceUIWindow* document = reinterpret_cast<IOleInPlaceUIWindow*>(1);
  RECT position{}, clip{};
  OLEINPLACEFRAMEINFO info{};
  info.fMDIApp = TRUE;
  info.cAccelEntries = 7;
  LONG before = browser.References();
  ASSERT_EQ(S_OK, browser.GetWindowContext(&frame, &document, &position, &clip, &info));
  EXPECT_EQ(static_cast<IOleInPlaceFrame*>(&browser), frame);
  EXPECT_EQ(before + 1, browser.References()) << "the frame is handed out with a reference";
  frame->Release();
  EXPECT_EQ(nullptr, document);
  RECT client{};
  ::GetClientRect(host, &client);
  EXPECT_TRUE(SameRect(client, position));
  EXPECT_TRUE(SameRect(client, clip));
  EXPECT_TRUE(SameRect(client, browser.m_rcObject));
  EXPECT_EQ(sizeof(OLEINPLACEFRAMEINFO), info.cb);
  EXPECT_FALSE(info.fMDIApp);
  EXPECT_EQ(static_cast<HWND>(owner), info.hwndFrame);
  EXPECT_EQ(nullptr, info.haccel);
  EXPECT_EQ(0u, info.cAccelEntries);

  DOCHOSTUIINFO hostInfo{};
  hostInfo.cbSize = sizeof(hostInfo);
  hostInfo.dwFlags = DOCHOSTUIFLAG_SCROLL_NO;
  hostInfo.dwDoubleClick = DOCHOSTUIDBLCLK_SHOWCODE;
  EXPECT_EQ(S_OK, browser.GetHostInfo(&hostInfo));
  EXPECT_EQ(static_cast<DWORD>(DOCHOSTUIFLAG_SCROLL_NO | DOCHOSTUIFLAG_NO3DOUTERBORDER), hostInfo.dwFlags);
  EXPECT_EQ(static_cast<DWORD>(DOCHOSTUIDBLCLK_SHOWCODE), hostInfo.dwDoubleClick);
  EXPECT_EQ(nullptr, hostInfo.pchHostCss);
}

TEST(WebBrowserBase, ContentWindowIsFoundDownTheFirstChildren) {
  HostWindow top;
  HWND embedding = CreatePlainWindow(L"Shell Embedding", WS_CHILD, top, 100, 100);
  HWND view = CreatePlainWindow(L"Shell DocObject View", WS_CHILD, embedding, 100, 100);
  HWND server = CreatePlainWindow(L"Internet Explorer_Server", WS_CHILD, view, 100, 100);
  ASSERT_TRUE(embedding && view && server);
  EXPECT_EQ(server, CWebBrowserBase::FindContentWindowBelow(top));
  EXPECT_EQ(server, CWebBrowserBase::FindContentWindowBelow(server));
  EXPECT_EQ(nullptr, CWebBrowserBase::FindContentWindowBelow(nullptr));

  // Only first children are followed: a content window in second place is not found.
  HWND other = CreatePlainWindow(L"Shell Embedding", WS_CHILD, top, 100, 100);
  HWND first = CreatePlainWindow(L"Shell DocObject View", WS_CHILD, other, 100, 100);
  HWND second = CreatePlainWindow(L"Internet Explorer_Server", WS_CHILD, other, 100, 100);
  ASSERT_EQ(first, ::GetWindow(other, GW_CHILD));
  ASSERT_TRUE(second);
  EXPECT_EQ(nullptr, CWebBrowserBase::FindContentWindowBelow(other));
}

TEST_F(WebBrowserBaseActive, ClosedBrowserGivesBackEveryReferenceItsWindowAndItsStorage) {
  EXPECT_TRUE(LoadLoginPage());
  ASSERT_NE(nullptr, ::GetWindow(host, GW_CHILD));

  STATSTG stat{};
  ASSERT_EQ(S_OK, browser.m_pStorage->Stat(&stat, STATFLAG_DEFAULT));
  std::wstring storageFile = stat.pwcsName;
  ::CoTaskMemFree(stat.pwcsName);
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(storageFile.c_str()));

  browser.CloseBrowser();
  EXPECT_EQ(0, browser.References()) << "the browser still holds references to its container";
  EXPECT_EQ(nullptr, ::GetWindow(host, GW_CHILD)) << "the browser's window outlived it";
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(storageFile.c_str())) << "temporary storage left behind";

  // From here on it is an object without a browser.
  EXPECT_FALSE(browser.InPlaceActivate());
  EXPECT_EQ(nullptr, browser.GetWebBrowser());
  EXPECT_EQ(nullptr, browser.FindContentWindow());
  const std::wstring later = server.BaseUrl() + L"/later";
  EXPECT_FALSE(browser.Navigate(Url(later)));
  EXPECT_EQ(later, browser.m_strUrl);
  const RECT place{1, 2, 3, 4};
  EXPECT_TRUE(browser.SetBrowserRect(place));
  EXPECT_TRUE(SameRect(place, browser.m_rcObject));
  EXPECT_TRUE(::DestroyWindow(host));
}

TEST(WebBrowserBase, HostWindowMayGoFirstAndASecondBrowserWorksAfterwards) {
  StandInServer server;
  ASSERT_TRUE(server.running());
  {
    auto host = std::make_unique<HostWindow>();
    auto browser = std::make_unique<TestBrowser>(*host);
    ASSERT_TRUE(browser->InPlaceActivate());
    browser->Navigate(Url(LoginPageUrl(server)));
    EXPECT_TRUE(WaitUntil([&] { return ServerSaw(server, kLoginPageRequest); }, 15000));
    // As the login popup goes: its window is destroyed with its owner, the
    // object is deleted afterwards.
    host.reset();
    browser.reset();
  }
  {
    // The other order: the object first, then its window.
    HostWindow host;
    auto browser = std::make_unique<TestBrowser>(host);
    ASSERT_TRUE(browser->InPlaceActivate());
    browser.reset();
    EXPECT_TRUE(::DestroyWindow(host));
  }
  HostWindow host;
  TestBrowser browser(host);
  ASSERT_TRUE(browser.InPlaceActivate());
  const std::wstring again = server.BaseUrl() + L"/client/gamecode/vor/skin/as/mac/second/";
  EXPECT_TRUE(browser.Navigate(Url(again)));
  EXPECT_TRUE(WaitUntil([&] { return ServerSaw(server, "GET /client/gamecode/vor/skin/as/mac/second/ -"); }, 15000));
  EXPECT_EQ(1u, CountOf(browser.navigations, again));
}

// On a thread of its own the container's OleInitialize is the first: once the
// container is gone the thread must be free to enter another apartment.
DWORD WINAPI BrowserOnFreshThread(void* result) {
  {
    HostWindow host;
    TestBrowser browser(host);
    if (!browser.InPlaceActivate()) {
      *static_cast<HRESULT*>(result) = E_UNEXPECTED;
      return 0;
    }
  }
  HRESULT entered = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  *static_cast<HRESULT*>(result) = entered;
  if (SUCCEEDED(entered)) ::CoUninitialize();
  return 0;
}

TEST(WebBrowserBase, DestroyedBrowserBalancesItsOleInitialize) {
  HRESULT result = E_PENDING;
  HANDLE thread = ::CreateThread(nullptr, 0, BrowserOnFreshThread, &result, 0, nullptr);
  ASSERT_NE(nullptr, thread);
  EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread, 60000));
  ::CloseHandle(thread);
  EXPECT_EQ(S_OK, result) << "RPC_E_CHANGED_MODE means OLE was still initialised on the thread";
}

}  // namespace
