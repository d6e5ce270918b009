// The widget kit on real windows: what the kit sets is what the windows show,
// and what a user does to the windows reaches the kit's handlers.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/win32_platform.h"
#include "ui/application.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/list_view.h"
#include "ui/timer.h"

namespace pinst::ui {
namespace {

HWND H(const TControl& control) { return reinterpret_cast<HWND>(control.Handle()); }

std::string TextOf(HWND hwnd) {
  char buf[512] = {};
  ::GetWindowTextA(hwnd, buf, sizeof buf);
  return buf;
}

RECT RectInParent(HWND hwnd) {
  RECT r;
  ::GetWindowRect(hwnd, &r);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TFormDesign Design(const std::string& className, UiBorder border = UiBorder::kSizeable) {
  TFormDesign d;
  d.className = className;
  d.caption = "Caption of " + className;
  d.clientWidth = 400;
  d.clientHeight = 300;
  d.border = border;
  return d;
}

// A window of the shape the installer's main window has.
class Sample : public TForm {
 public:
  Sample()
      : TForm(Design("TKitSample")),
        title(*this, "title", At(0, 0, 400, 60)),
        link(title, "link", At(10, 10).Caption("Manual")),
        body(*this, "body", At(0, 60, 400, 221)),
        box(body, "box", At(10, 10, 380, 150).Caption("Box")),
        list(box, "list", At(10, 20, 360, 120), "Printer32"),
        info(body, "info", At(10, 170, 200, 24).Caption("Infos:"),
             TEditStyle().ReadOnly().NoTabStop().InfoBackground()),
        start(body, "start", At(220, 170, 80, 30).Caption("&Start")),
        cancel(body, "cancel", At(310, 170, 80, 30).Caption("Cancel"), TButtonKind::kCancel),
        inside(box, "inside", At(300, 10, 60, 20).Caption("In")),
        status(*this, "status", At(0, 0, 400)),
        timer(*this, 10, false) {
    title.SetAlign(TAlign::kTop);
    body.SetAlign(TAlign::kClient);
    box.SetAnchors({.left = true, .top = true, .right = true, .bottom = true});
    start.SetDefault(true);
    start.OnClick = [this] { ++starts; };
    inside.OnClick = [this] { ++insides; };
    link.SetCursor(UiCursor::kHand);
    link.OnMouseMove = [this] { link.SetFontColor(kColorBlue); };
    link.OnMouseLeave = [this] { link.SetFontColor(kColorBlack); };
    list.OnSelectItem = [this](int index, bool selected) { reports.push_back({index, selected}); };
    ActiveControl = &list;
    Loaded();
  }
  TPanel title;
  TLabel link;
  TPanel body;
  TGroupBox box;
  TListView list;
  TEdit info;
  TButton start;
  TButton cancel;
  TButton inside;
  TStatusBar status;
  TTimer timer;
  int starts = 0;
  int insides = 0;
  std::vector<std::pair<int, bool>> reports;
};

class UiWTest : public ::testing::Test {
 protected:
  win32::Win32Platform platform;
};

TEST_F(UiWTest, WindowsShowWhatTheKitSet) {
  Sample form;
  HWND hwnd = H(form);
  char cls[64] = {};
  ::GetClassNameA(hwnd, cls, sizeof cls);
  EXPECT_STREQ(cls, "TKitSample");
  EXPECT_EQ(TextOf(hwnd), "Caption of TKitSample");
  RECT client;
  ::GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 400);
  EXPECT_EQ(client.bottom, 300);
  EXPECT_EQ(TextOf(H(form.box)), "Box");
  EXPECT_EQ(form.info.Text(), "Infos:");
  EXPECT_TRUE(::GetWindowLongA(H(form.start), GWL_STYLE) & BS_DEFPUSHBUTTON);

  // The status bar's height as drawn is the one the layout used.
  RECT bar = RectInParent(H(form.status));
  EXPECT_EQ(bar.bottom - bar.top, form.status.Height());
  EXPECT_EQ(bar.bottom, 300);
  RECT body = RectInParent(H(form.body));
  EXPECT_EQ(body.top, 60);
  EXPECT_EQ(body.bottom, bar.top);

  // A label fits its text, in the window as in the kit.
  const int before = form.link.Width();
  EXPECT_GT(before, 0);
  form.link.SetCaption("Manual and more");
  EXPECT_GT(form.link.Width(), before);
  RECT link = RectInParent(H(form.link));
  EXPECT_EQ(link.right - link.left, form.link.Width());

  form.status.SetSimpleText("Hint text");
  char text[64] = {};
  // The simple panel's text (Wine answers for it as part 0).
  ::SendMessageA(H(form.status), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Hint text");
}

TEST_F(UiWTest, ClicksReachTheHandlersAlsoInsideAGroupBox) {
  Sample form;
  form.Show();
  ::SendMessageA(H(form.start), BM_CLICK, 0, 0);
  ::SendMessageA(H(form.inside), BM_CLICK, 0, 0);
  Application().ProcessMessages();
  EXPECT_EQ(form.starts, 1);
  EXPECT_EQ(form.insides, 1);
}

TEST_F(UiWTest, UserSelectionIsReportedOnceAndTheProgramsOwnOnlyByTheKit) {
  Sample form;
  form.Show();
  form.list.AddItem("first");
  form.list.AddItem("second");
  form.list.SetItemIndex(0);
  EXPECT_EQ(form.reports, (std::vector<std::pair<int, bool>>{{0, true}}));
  EXPECT_EQ(ListView_GetNextItem(H(form.list), -1, LVNI_SELECTED), 0);

  // As a click on the second item: the list view itself changes the selection.
  form.reports.clear();
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED;
  item.state = LVIS_SELECTED;
  ::SendMessageA(H(form.list), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(form.reports, (std::vector<std::pair<int, bool>>{{0, false}, {1, true}}));
  EXPECT_EQ(form.list.ItemIndex(), 1);
}

// The list holds its rows as owner data: it asks for the captions it shows, and
// typing finds a row by the start of its caption, as it would in an ordinary list.
TEST_F(UiWTest, OwnerDataRowsShowTheirCaptionsAndTypingFindsThem) {
  Sample form;
  form.Show();
  form.list.AddItems({"first", "sa", "sb"});
  char text[32] = {};
  ListView_GetItemText(H(form.list), 2, 0, text, sizeof text);
  EXPECT_STREQ(text, "sb");
  form.list.SetItemIndex(0);
  form.list.SetFocus();
  for (char c : {'s', 'b'}) ::SendMessageA(H(form.list), WM_CHAR, static_cast<WPARAM>(c), 1);
  Application().ProcessMessages();
  EXPECT_EQ(form.list.ItemIndex(), 2);
  EXPECT_EQ(ListView_GetNextItem(H(form.list), -1, LVNI_SELECTED), 2);
}

// Rows set while the window is hidden are never drawn, so none is asked for; once
// shown, the list asks for the rows in view, not for every row it holds.
TEST_F(UiWTest, HiddenListAsksForNoRowAndAShownOneForTheRowsInView) {
  Sample form;
  std::vector<int> asked;
  form.list.SetItems(1000, [&asked](int index) {
    asked.push_back(index);
    return "row " + std::to_string(index);
  });
  Application().ProcessMessages();
  EXPECT_TRUE(asked.empty());
  form.Show();
  ::UpdateWindow(H(form.list));
  Application().ProcessMessages();
  EXPECT_NE(std::find(asked.begin(), asked.end(), 0), asked.end());
  EXPECT_LT(asked.size(), 100u);
  char text[32] = {};
  ListView_GetItemText(H(form.list), 999, 0, text, sizeof text);
  EXPECT_STREQ(text, "row 999");
}

TEST_F(UiWTest, ReturnAndEscapePressTheDefaultAndCancelButtons) {
  Sample form;
  form.Show();
  form.list.SetFocus();
  ::PostMessageA(H(form.list), WM_KEYDOWN, VK_RETURN, 0);
  Application().ProcessMessages();
  EXPECT_EQ(form.starts, 1);

  form.Hide();
  form.timer.OnTimer = [&] {
    form.timer.SetEnabled(false);
    ::PostMessageA(H(form.list), WM_KEYDOWN, VK_ESCAPE, 0);
  };
  form.timer.SetEnabled(true);
  EXPECT_EQ(form.ShowModal(), mrCancel);
  EXPECT_EQ(form.starts, 1);
}

TEST_F(UiWTest, ModalFormDisablesTheOthersUntilItsResultIsSet) {
  TForm main(Design("TKitMain"));
  main.Show();
  Sample dialog;
  bool mainEnabledMeanwhile = true;
  int ticks = 0;
  dialog.timer.OnTimer = [&] {
    mainEnabledMeanwhile = ::IsWindowEnabled(H(main)) != FALSE;
    if (++ticks == 3) dialog.SetModalResult(mrYes);
  };
  dialog.timer.SetEnabled(true);
  EXPECT_EQ(dialog.ShowModal(), mrYes);
  EXPECT_EQ(ticks, 3);
  EXPECT_FALSE(mainEnabledMeanwhile);
  EXPECT_TRUE(::IsWindowEnabled(H(main)));
  EXPECT_FALSE(::IsWindowVisible(H(dialog)));
}

TEST_F(UiWTest, PostedUserMessagesReachTheForm) {
  class Receiver : public TForm {
   public:
    Receiver() : TForm(Design("TKitReceiver")) {}
    std::vector<intptr_t> codes;

   protected:
    bool HandleMessage(TMessage& message) override {
      if (message.Msg != kWmUser + 1) return false;
      codes.push_back(message.LParam);
      return true;
    }
  } form;
  ::PostMessageA(H(form), WM_USER + 1, 0, static_cast<LPARAM>(0xE000020B));
  ::PostMessageA(H(form), WM_USER + 2, 0, 5);
  Application().ProcessMessages();
  EXPECT_EQ(form.codes, std::vector<intptr_t>{static_cast<intptr_t>(0xE000020B)});
}

TEST_F(UiWTest, TransparencyMakesALayeredWindow) {
  TForm form(Design("TKitLayered"));
  form.SetAlphaBlend(true, 0);
  ASSERT_TRUE(::GetWindowLongA(H(form), GWL_EXSTYLE) & WS_EX_LAYERED);
  BYTE alpha = 255;
  DWORD flags = 0;
  ASSERT_TRUE(::GetLayeredWindowAttributes(H(form), nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 0);
  EXPECT_TRUE(flags & LWA_ALPHA);
  // Fully opaque is drawn as an ordinary window.
  form.SetAlphaBlend(true, 255);
  EXPECT_FALSE(::GetWindowLongA(H(form), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST_F(UiWTest, LinksChangeColourAndShowTheHandCursor) {
  Sample form;
  form.Show();
  ::SendMessageA(H(form.link), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(form.link.FontColor(), kColorBlue);
  ::SendMessageA(H(form.link), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(form.link.FontColor(), kColorBlack);
  EXPECT_EQ(::SendMessageA(H(form.link), WM_SETCURSOR, reinterpret_cast<WPARAM>(H(form.link)),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            TRUE);
  EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
}

}  // namespace
}  // namespace pinst::ui
