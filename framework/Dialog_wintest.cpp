#include "framework/Dialog.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/FileUtils.h"
#include "framework/ResourceString.h"
#include "res/resource.h"
#include "tests/WinTestSupport.h"

namespace fw {
namespace {

using namespace testing_support;

// A button subclassed as an object, made owner-drawn as the skin's buttons are.
class RecordingButton : public Window {
 public:
  int draws = 0;
  int ctlColors = 0;
  RecordingButton() {
    OnMessage(kReflectCtlColor, [this](WPARAM, LPARAM) -> LRESULT {
      ++ctlColors;
      return 0;  // no brush: the parent's own answer stands
    });
  }
  void DrawItem(DRAWITEMSTRUCT*) override { ++draws; }

 protected:
  void PreSubclassWindow() override {
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, ::GetWindowLongPtrW(m_hWnd, GWL_STYLE) | BS_OWNERDRAW);
  }
};

// The message box template: a popup with buttons IDOK, IDCANCEL and 1001.
class BoxDialog : public Dialog {
 public:
  explicit BoxDialog(HWND parent = nullptr) : Dialog(IDD_MESSAGEBOX, parent) {
    OnCommand(IDC_MSGBOX_CLOSE, &BoxDialog::OnCloseButton);
    OnMessage(WM_APP, [this](WPARAM w, LPARAM) -> LRESULT {
      EndDialog(static_cast<INT_PTR>(w));
      return 0;
    });
  }
  void OnPaintCheck(std::function<void(BoxDialog&)> check) {
    OnMessage(WM_APP + 1, [this, check](WPARAM, LPARAM) -> LRESULT {
      check(*this);
      return 0;
    });
  }
  RecordingButton ok;
  bool initialised = false;
  std::function<void(BoxDialog&)> onInit;
  std::function<bool(MSG*)> preTranslate;

 protected:
  void DoDataExchange() override { BindControl(IDOK, ok); }
  BOOL OnInitDialog() override {
    initialised = true;
    if (onInit) onInit(*this);
    return TRUE;
  }
  bool PreTranslateMessage(MSG* msg) override {
    if (preTranslate && preTranslate(msg)) return true;
    return Dialog::PreTranslateMessage(msg);
  }

 private:
  void OnCloseButton() { EndDialog(77); }
};

TEST(Dialog, ModalResultComesFromEndDialogAndButtonsReachMemberHandlers) {
  BoxDialog box;
  box.onInit = [](BoxDialog& d) { ::PostMessageW(d.Item(IDC_MSGBOX_CLOSE), BM_CLICK, 0, 0); };
  EXPECT_EQ(77, box.DoModal());
  EXPECT_TRUE(box.initialised);
  EXPECT_EQ(nullptr, box.hwnd()) << "the window is gone after the modal run";
}

TEST(Dialog, OkAndCancelEndTheDialogByDefault) {
  for (int id : {IDOK, IDCANCEL}) {
    BoxDialog box;
    box.onInit = [id](BoxDialog& d) { ::PostMessageW(d.hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); };
    EXPECT_EQ(id, box.DoModal());
  }
  BoxDialog box;  // the system close request becomes IDCANCEL
  box.onInit = [](BoxDialog& d) { ::PostMessageW(d.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); };
  EXPECT_EQ(IDCANCEL, box.DoModal());
}

TEST(Dialog, OwnerDrawAndColourQuestionsAreReflectedToTheBoundControl) {
  BoxDialog box;
  box.onInit = [](BoxDialog& d) { ::PostMessageW(d.hwnd(), WM_APP + 1, 0, 0); };
  box.OnPaintCheck([](BoxDialog& d) {
    ::ShowWindow(d.hwnd(), SW_SHOW);
    ::RedrawWindow(d.hwnd(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    d.EndDialog(5);
  });
  EXPECT_EQ(5, box.DoModal());
  EXPECT_GT(box.ok.draws, 0) << "WM_DRAWITEM reached the button object";
  EXPECT_GT(box.ok.ctlColors, 0) << "WM_CTLCOLORBTN reached the button object";
}

TEST(Dialog, KeysPassThroughPreTranslateMessageInTheModalLoop) {
  BoxDialog box;
  WPARAM seenKey = 0;
  box.preTranslate = [&](MSG* msg) {
    if (msg->message != WM_KEYDOWN) return false;
    seenKey = msg->wParam;
    box.EndDialog(9);
    return true;
  };
  box.onInit = [](BoxDialog& d) { ::PostMessageW(d.Item(IDOK), WM_KEYDOWN, VK_ESCAPE, 0); };
  EXPECT_EQ(9, box.DoModal()) << "Escape was taken before the dialog manager turned it into IDCANCEL";
  EXPECT_EQ(static_cast<WPARAM>(VK_ESCAPE), seenKey);
}

TEST(Dialog, ModalInsideInitialisationAndModelessPopupOwnedByIt) {
  BoxDialog outer;
  Dialog popup(IDD_OVERLAY);
  INT_PTR innerResult = 0;
  HWND popupOwner = nullptr, popupWindow = nullptr;
  bool outerDisabledDuringInner = false, outerEnabledAfterInner = false;
  outer.onInit = [&](BoxDialog& d) {
    // A second modal run while the first dialog is still initialising.
    BoxDialog inner(d.hwnd());
    inner.onInit = [&](BoxDialog& in) {
      // Layered, as the launch picture is: the loop must still show and end it.
      ::SetWindowLongPtrW(in.hwnd(), GWL_EXSTYLE, ::GetWindowLongPtrW(in.hwnd(), GWL_EXSTYLE) | WS_EX_LAYERED);
      ::SetLayeredWindowAttributes(in.hwnd(), 0, 229, LWA_ALPHA);
      // A modeless popup owned by the modal dialog.
      ASSERT_TRUE(popup.Create(in.hwnd()));
      popupWindow = popup.hwnd();
      popupOwner = ::GetWindow(popupWindow, GW_OWNER);
      outerDisabledDuringInner = !::IsWindowEnabled(d.hwnd());
      ::PostMessageW(in.hwnd(), WM_APP, 3, 0);
    };
    innerResult = inner.DoModal();
    outerEnabledAfterInner = ::IsWindowEnabled(d.hwnd()) != FALSE;
    ::PostMessageW(d.hwnd(), WM_APP, 4, 0);
  };
  EXPECT_EQ(4, outer.DoModal());
  EXPECT_EQ(3, innerResult);
  EXPECT_TRUE(outerDisabledDuringInner);
  EXPECT_TRUE(outerEnabledAfterInner);
  EXPECT_NE(nullptr, popupOwner);
  EXPECT_FALSE(::IsWindow(popupWindow)) << "the popup goes with its owner";
  EXPECT_EQ(nullptr, popup.hwnd()) << "and its object lets go of the handle";
}

TEST(ResourceStrings, ChineseTextsAndBuildSettingsComeFromTheStringTable) {
  EXPECT_EQ(L"《Quarrow》加强版", LoadResString(IDS_PRODUCT_NAME));
  EXPECT_EQ(L"《Quarrow》加强版登录器", LoadResString(IDS_LAUNCHER_TITLE));
  EXPECT_EQ(L"卸载-《Quarrow》加强版", LoadResString(IDS_UNINSTALL_LINK));
  EXPECT_EQ(L"缓存清理中，请稍后……", LoadResString(IDS_OVERLAY_TEXT));
  EXPECT_EQ(L"\\qvvortmp.exe", LoadResString(IDS_DOWNLOAD_TEMP_NAME));
  EXPECT_EQ(L"\\cache\\qvtstmpu.exe", LoadResString(IDS_UNINSTALL_TEMP_EXE));
  EXPECT_EQ(L"res//systemset.ini", LoadResString(IDS_SETTINGS_FILE));
  EXPECT_EQ(L"getClientVersion.php?p=orbix_v1&g=vor&v=", LoadResString(IDS_VERSION_QUERY_PATH));
  const std::wstring loginBase = LoadResString(IDS_LOGIN_PAGE_BASE);
  EXPECT_EQ(L"/client/gamecode/vor/skin/as/", loginBase.substr(loginBase.size() - 29));
  EXPECT_EQ(L"http://", LoadResString(IDS_VERSION_BASE_URL).substr(0, 7));
  EXPECT_EQ(L"是否退出《Quarrow》加强版登录器？", Format(L"是否退出%ls？", LoadResString(IDS_LAUNCHER_TITLE).c_str()));
}

}  // namespace
}  // namespace fw
