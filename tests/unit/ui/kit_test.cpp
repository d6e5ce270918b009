#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/sim/sim_windows.h"
#include "sys/pause.h"
#include "ui/application.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/list_view.h"
#include "ui/timer.h"

namespace pinst::ui {
namespace {

TFormDesign Design(const std::string& className, UiBorder border = UiBorder::kSizeable) {
  TFormDesign d;
  d.className = className;
  d.caption = className;
  d.clientWidth = 300;
  d.clientHeight = 200;
  d.border = border;
  return d;
}

// A dialog with an OK, a Cancel and a plain button; the plain one is created
// first so it is the first to take the focus.
class Dialog : public TForm {
 public:
  Dialog()
      : TForm(Design("TDialog", UiBorder::kDialog)),
        plain(*this, "plain", At(10, 10, 80, 25).Caption("Plain")),
        ok(*this, "ok", At(100, 10, 80, 25).Caption("OK"), TButtonKind::kOk),
        cancel(*this, "cancel", At(190, 10, 80, 25).Caption("Cancel"), TButtonKind::kCancel) {
    plain.OnClick = [this] { ++plainClicks; };
    OnClose = [this] { ++closes; };
    Loaded();
  }
  TButton plain;
  TButton ok;
  TButton cancel;
  int plainClicks = 0;
  int closes = 0;
};

class KitTest : public ::testing::Test {
 protected:
  KitTest() { Application().Title = "Kit"; }
  sim::SimWindows win;
};

TEST_F(KitTest, TimersTickAtTheirOwnTimesUntilStoppedAndRestartOnANewInterval) {
  TForm form(Design("TMain"));
  TTimer slow(form, 1000, true);
  TTimer fast(form, 300, true);
  TTimer off(form, 100, false);
  std::vector<std::pair<char, uint64_t>> ticks;
  slow.OnTimer = [&] { ticks.push_back({'s', win.clock.NowMs()}); };
  fast.OnTimer = [&] {
    ticks.push_back({'f', win.clock.NowMs()});
    if (ticks.size() == 3) fast.SetEnabled(false);
  };
  off.OnTimer = [&] { ticks.push_back({'o', win.clock.NowMs()}); };
  win.ui.AdvanceTime(1000);
  EXPECT_EQ(ticks, (std::vector<std::pair<char, uint64_t>>{
                       {'f', 300}, {'f', 600}, {'f', 900}, {'s', 1000}}));
  // A new interval counts from the moment it is set.
  win.ui.AdvanceTime(500);
  slow.SetInterval(200);
  win.ui.AdvanceTime(200);
  EXPECT_EQ(ticks.back(), (std::pair<char, uint64_t>{'s', 1700}));
  EXPECT_EQ(ticks.size(), 5u);
}

TEST_F(KitTest, ProcessingMessagesAfterALongPauseGivesOneTickPerTimer) {
  TForm form(Design("TMain"));
  TTimer timer(form, 100, true);
  int ticks = 0;
  timer.OnTimer = [&] { ++ticks; };
  pinst::Pause({300, 0, 50});
  EXPECT_EQ(win.system.sleeps, (std::vector<uint32_t>{300, 0, 50}));
  EXPECT_EQ(ticks, 0);  // nothing runs while the thread sleeps
  Application().ProcessMessages();
  EXPECT_EQ(ticks, 1);
  Application().ProcessMessages();
  EXPECT_EQ(ticks, 1);
}

TEST_F(KitTest, ModalFormRunsANestedLoopUntilAButtonSetsItsResult) {
  TForm main(Design("TMain"));
  main.Show();
  Dialog dialog;
  bool mainDisabled = false;
  win.ui.onIdle = [&] {
    mainDisabled = !main.Enabled() && !win.ui.Window(main.Handle()).enabled;
    EXPECT_EQ(win.ui.LoopDepth(), 1);
    EXPECT_TRUE(win.ui.Window(dialog.Handle()).visible);
    return win.ui.Click(dialog.ok.Handle());
  };
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_TRUE(mainDisabled);
  EXPECT_TRUE(main.Enabled());
  EXPECT_FALSE(dialog.Visible());
  EXPECT_EQ(dialog.closes, 1);
  EXPECT_EQ(win.ui.ActiveForm(), main.Handle());
  EXPECT_EQ(Application().ActiveForm(), &main);
}

TEST_F(KitTest, EscapePressesTheCancelButtonAndReturnTheFocusedOrDefaultOne) {
  Dialog dialog;
  win.ui.onIdle = [&] { return win.ui.PressKey(dialog.Handle(), UiKey::kEscape); };
  EXPECT_EQ(dialog.ShowModal(), mrCancel);

  int step = 0;
  win.ui.onIdle = [&] {
    switch (step++) {
      case 0:
        // The plain button has the focus: Return presses it, not the default button.
        EXPECT_EQ(win.ui.GetFocus(), dialog.plain.Handle());
        return win.ui.PressKey(dialog.Handle(), UiKey::kReturn);
      case 1:
        // No button has the focus: Return presses the default (OK) button.
        win.ui.SetFocus(0);
        return win.ui.PressKey(dialog.Handle(), UiKey::kReturn);
      default:
        return false;
    }
  };
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_EQ(dialog.plainClicks, 1);

  // The Cancel button with the focus takes Return itself.
  win.ui.onIdle = [&] {
    win.ui.SetFocus(dialog.cancel.Handle());
    return win.ui.PressKey(dialog.Handle(), UiKey::kReturn);
  };
  EXPECT_EQ(dialog.ShowModal(), mrCancel);

  // A disabled default button is not pressed.
  dialog.ok.SetEnabled(false);
  win.ui.onIdle = [&] {
    win.ui.SetFocus(0);
    win.ui.PressKey(dialog.Handle(), UiKey::kReturn);
    EXPECT_EQ(dialog.ModalResult(), mrNone);
    return win.ui.Click(dialog.cancel.Handle());
  };
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
}

TEST_F(KitTest, ClosingAModalFormGivesCancelAndADialogWithoutCaptionButtonsCannotBeClosed) {
  Dialog dialog;
  win.ui.onIdle = [&] { return win.ui.CloseBox(dialog.Handle()); };
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
  EXPECT_EQ(dialog.closes, 1);

  TForm locked(Design("TLocked", UiBorder::kDialogNoCaptionButtons));
  locked.Show();
  EXPECT_FALSE(win.ui.CloseBox(locked.Handle()));
  EXPECT_TRUE(locked.Visible());
}

TEST_F(KitTest, ModalLoopWithNothingToWaitForIsReportedInsteadOfHanging) {
  Dialog dialog;
  EXPECT_THROW(dialog.ShowModal(), sim::SimUiStalled);
  EXPECT_FALSE(dialog.Visible());
  EXPECT_EQ(win.ui.LoopDepth(), 0);
}

TEST_F(KitTest, CloseKindButtonClosesTheMainFormAndEndsTheProgram) {
  TForm main(Design("TMain"));
  TButton exit(main, "exit", At(10, 10, 80, 25).Caption("Exit"), TButtonKind::kClose);
  main.Show();
  win.ui.onIdle = [&] { return win.ui.Click(exit.Handle()); };
  Application().Run();
  EXPECT_TRUE(win.ui.Quitting());
  EXPECT_FALSE(main.Visible());
}

TEST_F(KitTest, AnErrorRaisedByAHandlerIsShownAndEndsOnlyThatHandler) {
  TForm main(Design("TMain"));
  TButton button(main, "b", At(10, 10, 80, 25));
  main.Show();
  std::string text = "The DLL file not found!";
  bool after = false;
  button.OnClick = [&] {
    throw std::runtime_error(text);
    after = true;
  };
  ASSERT_TRUE(win.ui.Click(button.Handle()));
  text = "Function Incorrect in the DLL file ";
  ASSERT_TRUE(win.ui.Click(button.Handle()));
  // 指定的DLL文件不存在: the last byte sorts after '.', so a full stop is added.
  text =
      "\xD6\xB8\xB6\xA8\xB5\xC4"
      "DLL\xCE\xC4\xBC\xFE\xB2\xBB\xB4\xE6\xD4\xDA";
  ASSERT_TRUE(win.ui.Click(button.Handle()));
  EXPECT_FALSE(after);
  ASSERT_EQ(win.system.messageBoxes.size(), 3u);
  EXPECT_EQ(win.system.messageBoxes[0].text, "The DLL file not found!");
  EXPECT_EQ(win.system.messageBoxes[0].caption, "Kit");
  EXPECT_EQ(win.system.messageBoxes[0].flags, kMbOk | kMbIconError);
  EXPECT_EQ(win.system.messageBoxes[1].text, "Function Incorrect in the DLL file ");
  EXPECT_EQ(win.system.messageBoxes[2].text, text + ".");
  // A click made by the program itself hands the error to its caller.
  EXPECT_THROW(button.Click(), std::runtime_error);
}

TEST_F(KitTest, ListViewReportsTheItemThatLosesAndTheOneThatGainsTheSelection) {
  TForm main(Design("TMain"));
  TListView list(main, "list", At(0, 0, 200, 100), "Printer32");
  main.Show();
  std::vector<std::pair<int, bool>> reports;
  list.OnSelectItem = [&](int index, bool selected) { reports.push_back({index, selected}); };
  list.Clear();
  EXPECT_TRUE(reports.empty());
  list.AddItem("a");
  list.AddItem("b");
  list.SetItemIndex(0);
  list.SetItemIndex(0);
  list.SetItemIndex(1);
  ASSERT_TRUE(win.ui.SelectItem(list.Handle(), 0));
  ASSERT_TRUE(win.ui.SelectItem(list.Handle(), -1));
  list.SetItemIndex(1);
  list.Clear();
  EXPECT_EQ(reports, (std::vector<std::pair<int, bool>>{{0, true},
                                                        {0, false},
                                                        {1, true},
                                                        {1, false},
                                                        {0, true},
                                                        {0, false},
                                                        {1, true},
                                                        {1, false}}));
  EXPECT_EQ(list.ItemIndex(), -1);
  EXPECT_TRUE(win.ui.Window(list.Handle()).items.empty());
}

// A title along the top, a status bar along the bottom, a panel filling the rest
// with a stretching and a corner-anchored button in it.
class Layout : public TForm {
 public:
  Layout()
      : TForm(Design("TLayout")),
        top(*this, "top", At(0, 0, 300, 40)),
        fill(*this, "fill", At(0, 40, 300, 140)),
        stretch(fill, "stretch", At(10, 10, 100, 100)),
        corner(fill, "corner", At(200, 110, 90, 25)),
        bar(*this, "bar", At(0, 0, 300)) {
    top.SetAlign(TAlign::kTop);
    fill.SetAlign(TAlign::kClient);
    stretch.SetAnchors({.left = true, .top = true, .right = true, .bottom = true});
    corner.SetAnchors({.left = false, .top = false, .right = true, .bottom = true});
    Loaded();
  }
  TPanel top;
  TPanel fill;
  TButton stretch;
  TButton corner;
  TStatusBar bar;
};

TEST_F(KitTest, AlignedPanelsShareTheClientAreaAndAnchoredControlsFollowTheEdges) {
  Layout form;
  ASSERT_EQ(form.bar.Height(), 19);
  // The filling panel was 140 high by design and is 141 now: its children follow.
  EXPECT_EQ(form.fill.Bounds(), (UiBounds{0, 40, 300, 200 - 40 - 19}));
  EXPECT_EQ(form.bar.Bounds(), (UiBounds{0, 181, 300, 19}));
  EXPECT_EQ(form.stretch.Bounds(), (UiBounds{10, 10, 100, 101}));
  EXPECT_EQ(form.corner.Bounds(), (UiBounds{200, 111, 90, 25}));

  form.Show();
  ASSERT_TRUE(win.ui.ResizeClient(form.Handle(), 400, 300));
  EXPECT_EQ(form.fill.Bounds(), (UiBounds{0, 40, 400, 300 - 40 - 19}));
  EXPECT_EQ(form.stretch.Bounds(), (UiBounds{10, 10, 200, 201}));
  EXPECT_EQ(form.corner.Bounds(), (UiBounds{300, 211, 90, 25}));
  EXPECT_EQ(win.ui.Window(form.corner.Handle()).bounds, form.corner.Bounds());

  // A taller title pushes the filling panel down; setting its top does not stick.
  form.top.SetHeight(60);
  EXPECT_EQ(form.fill.Top(), 60);
  form.fill.SetTop(100);
  EXPECT_EQ(form.fill.Top(), 60);
  EXPECT_EQ(form.fill.Height(), 300 - 60 - 19);
}

TEST_F(KitTest, MessagesInTheUserRangeReachTheFormInOrder) {
  class Receiver : public TForm {
   public:
    Receiver() : TForm(Design("TReceiver")) {}
    std::vector<std::pair<uint32_t, intptr_t>> seen;

   protected:
    bool HandleMessage(TMessage& message) override {
      seen.push_back({message.Msg, message.LParam});
      return message.Msg == kWmUser + 1;
    }
  } form;
  form.Post(kWmUser + 2, 0, 7);
  form.Post(kWmUser + 1, 0, static_cast<intptr_t>(0xE000020B));
  EXPECT_TRUE(form.seen.empty());
  Application().ProcessMessages();
  EXPECT_EQ(form.seen, (std::vector<std::pair<uint32_t, intptr_t>>{
                           {0x402, 7}, {0x401, static_cast<intptr_t>(0xE000020B)}}));
}

TEST_F(KitTest, LabelsFitTheirTextAndFixedOnesKeepTheirSize) {
  TForm form(Design("TMain"));
  TLabel fit(form, "fit", At(10, 10).Caption("abcd"));
  TLabel fixed(form, "fixed", At(10, 40, 100, 30).Caption("abcd"), TLabelStyle().Fixed());
  const int four = fit.Width();
  EXPECT_GT(four, 0);
  fit.SetCaption("abcdefgh");
  EXPECT_EQ(fit.Width(), 2 * four);
  fit.SetFont({"Tahoma", 32, false, kDefaultCharset});
  EXPECT_EQ(fit.Width(), 4 * four);
  fixed.SetCaption("a much longer text than before");
  EXPECT_EQ(fixed.Bounds(), (UiBounds{10, 40, 100, 30}));
}

TEST_F(KitTest, OpacityAndTopMostReachTheWindow) {
  TForm form(Design("TMain"));
  form.SetAlphaBlend(true, 0);
  EXPECT_TRUE(win.ui.Window(form.Handle()).layered);
  EXPECT_EQ(win.ui.Window(form.Handle()).alpha, 0);
  form.SetTopMost(true);
  form.SetTopMost(false);
  EXPECT_EQ(win.ui.Window(form.Handle()).topMostChanges, (std::vector<bool>{true, false}));
  Application().SetBusyCursor(true);
  EXPECT_TRUE(win.ui.BusyCursor());
  Application().SetBusyCursor(false);
  EXPECT_FALSE(win.ui.BusyCursor());
}

}  // namespace
}  // namespace pinst::ui
