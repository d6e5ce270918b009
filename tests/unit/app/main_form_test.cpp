#include "app/main_form.h"

#include <gtest/gtest.h>

#include "app/sample_dist.h"
#include "config/lang_strings.h"
#include "diag/diag_window.h"
#include "platform/sim/sim_windows.h"
#include "ui/application.h"

namespace pinst {
namespace {

// The main window with the install run replaced by a record of the calls.
class RecordingMainForm : public TMainForm {
 public:
  using TMainForm::TMainForm;
  std::vector<bool> runs;
  void RunInstall(bool online) override { runs.push_back(online); }
};

class MainFormTest : public ::testing::Test {
 protected:
  MainFormTest() {
    InitLangStrings(0x0409);
    testdata::AddTwoModels(win);
  }
  sim::SimWindows win;
};

TEST_F(MainFormTest, TextsComeFromTheTableAndTheFirstModelIsSelected) {
  TMainForm form({});
  EXPECT_EQ(form.Caption(), "Printer Installer");
  EXPECT_EQ(ui::Application().Title, "Printer Installer");
  EXPECT_EQ(form.LblMainTitle.Caption(), "Welcome To Use Norvik  Printer Driver Installation");
  EXPECT_EQ(form.LblMainTitle.FontColor(), 0x800080u);
  EXPECT_EQ(form.EdtInfos.FontColor(), 0x800080u);
  EXPECT_EQ(form.BbtnStart.Caption(), "&Install");
  EXPECT_EQ(form.BbtnExit.Caption(), "E&xit");
  EXPECT_EQ(form.LblReadGuide.Caption(), "Installation Manual");
  EXPECT_EQ(form.LblReadManual.Caption(), "User Manual");
  EXPECT_EQ(form.lblReadQuickGuide.Caption(), " Quick Index");
  ASSERT_EQ(form.LvPrinters.ItemCount(), 2);
  EXPECT_EQ(form.LvPrinters.ItemCaption(0), "Tessaly XP-100");
  EXPECT_EQ(form.LvPrinters.ItemCaption(1), "Tessaly TP-58");
  EXPECT_EQ(win.ui.Window(form.LvPrinters.Handle()).items,
            (std::vector<std::string>{"Tessaly XP-100", "Tessaly TP-58"}));
  EXPECT_EQ(form.LvPrinters.ItemIndex(), 0);
  EXPECT_EQ(win.ui.Window(form.LvPrinters.Handle()).selected, 0);
  EXPECT_EQ(form.GrpBoxPrinters.Caption(), "Select Printer Driver: Tessaly XP-100");
  EXPECT_EQ(form.EdtInfos.Caption(), "InfosClick Installation Button to start!");
  EXPECT_EQ(form.StaBarInfo.SimpleText(), "Dot-matrix printer");
  EXPECT_TRUE(form.BbtnStart.Enabled());
  EXPECT_TRUE(form.BbtnStart.Default());
  EXPECT_EQ(form.BbtnExit.Kind(), ui::TButtonKind::kClose);
}

TEST_F(MainFormTest, LayoutFollowsTheLogoAndTheHiddenPortBox) {
  TMainForm form({});
  // The logo is 170 x 72; the design places it at 24, 9.
  ASSERT_EQ(form.ImgLogo.Width(), 170);
  ASSERT_EQ(form.ImgLogo.Height(), 72);
  EXPECT_EQ(form.GrpBoxPrinters.Left(), 24);
  EXPECT_EQ(form.GrpBoxPrinters.Width(), 434 + 192 - 24);
  EXPECT_EQ(form.LblMainTitle.Left(), 24 + 170 + 30);
  EXPECT_EQ(form.LblMainTitle.Width(), 657 - (24 + 170 + 30) - 3);
  EXPECT_EQ(form.PnlTitle.Height(), 9 + 72 + 10);
  // The printer panel fills what the title and the status bar leave.
  EXPECT_EQ(form.PnlPrinters.Top(), form.PnlTitle.Height());
  EXPECT_EQ(form.PnlPrinters.Height(), 450 - form.PnlTitle.Height() - form.StaBarInfo.Height());
  // The printer box keeps its distance from the panel's bottom edge.
  EXPECT_EQ(form.PnlPrinters.Height() - form.GrpBoxPrinters.Top() - form.GrpBoxPrinters.Height(),
            352 - 16 - 264);
  // So does the bottom row, which moves with it.
  for (const ui::TControl* control : {static_cast<const ui::TControl*>(&form.EdtInfos),
                                      static_cast<const ui::TControl*>(&form.BbtnStart),
                                      static_cast<const ui::TControl*>(&form.BbtnExit)}) {
    EXPECT_EQ(form.PnlPrinters.Height() - control->Top(), 352 - 301) << control->Name();
  }
  EXPECT_EQ(form.BbtnStart.Left(), 376);
  EXPECT_EQ(form.BbtnExit.Bounds().width, 113);
  EXPECT_EQ(form.LblReadGuide.Top(), 9 + 52 + 10);
  EXPECT_EQ(form.LblReadGuide.Left(), 24 + 170 + 10);
  EXPECT_EQ(form.LblReadManual.Top(), form.LblReadGuide.Top());
  EXPECT_GT(form.LblReadGuide.Width(), 0);
  EXPECT_EQ(form.LblReadManual.Left(), form.LblReadGuide.Left() + form.LblReadGuide.Width() + 60);
  EXPECT_FALSE(form.lblReadQuickGuide.Visible());
  EXPECT_EQ(win.ui.Window(form.LblMainTitle.Handle()).bounds, (UiBounds{224, 9, 430, 52}));
}

TEST_F(MainFormTest, LinksFollowTheSelectedModelsFilesAndTheHintGoesToTheStatusBar) {
  TMainForm form({});
  form.Show();
  EXPECT_TRUE(form.LblReadGuide.Enabled());
  EXPECT_TRUE(form.LblReadManual.Enabled());
  EXPECT_TRUE(form.lblReadQuickGuide.Enabled());
  EXPECT_FALSE(form.lblReadQuickGuide.Visible());

  ASSERT_TRUE(win.ui.SelectItem(form.LvPrinters.Handle(), 1));
  EXPECT_EQ(form.GrpBoxPrinters.Caption(), "Select Printer Driver: Tessaly TP-58");
  EXPECT_FALSE(form.LblReadGuide.Enabled());  // Missing.txt
  EXPECT_FALSE(form.LblReadManual.Enabled());
  EXPECT_FALSE(form.lblReadQuickGuide.Enabled());
  EXPECT_EQ(form.StaBarInfo.SimpleText(), "");  // no hint
  EXPECT_TRUE(form.BbtnStart.Enabled());

  // A click on the list's empty space leaves no model selected.
  ASSERT_TRUE(win.ui.SelectItem(form.LvPrinters.Handle(), -1));
  EXPECT_EQ(form.LvPrinters.ItemIndex(), -1);
  EXPECT_EQ(form.GrpBoxPrinters.Caption(), "Select Printer Driver: ");
  EXPECT_EQ(form.EdtInfos.Caption(), "InfosPlease Select A Printer Driver");
  EXPECT_FALSE(form.BbtnStart.Enabled());
  EXPECT_FALSE(form.LblReadGuide.Enabled());

  ASSERT_TRUE(win.ui.SelectItem(form.LvPrinters.Handle(), 0));
  EXPECT_TRUE(form.LblReadGuide.Enabled());
  EXPECT_EQ(form.StaBarInfo.SimpleText(), "Dot-matrix printer");
}

TEST_F(MainFormTest, ResizeReReadsTheModelsAndKeepsTheSelection) {
  TMainForm form({});
  form.Show();
  ASSERT_TRUE(win.ui.SelectItem(form.LvPrinters.Handle(), 1));
  win.files.AddFile("i386\\TP58.inf", testdata::InfNaming("Tessaly TP-58 II"));
  ASSERT_TRUE(win.ui.ResizeClient(form.Handle(), 700, 500));
  EXPECT_EQ(form.LvPrinters.ItemIndex(), 1);
  EXPECT_EQ(form.LvPrinters.ItemCaption(1), "Tessaly TP-58 II");
  EXPECT_EQ(form.GrpBoxPrinters.Caption(), "Select Printer Driver: Tessaly TP-58 II");
  // The anchored printer box grew with the window.
  EXPECT_EQ(form.GrpBoxPrinters.Width(), 602 + 43);
  EXPECT_EQ(form.StaBarInfo.Top(), 500 - form.StaBarInfo.Height());

  ASSERT_TRUE(win.ui.SelectItem(form.LvPrinters.Handle(), -1));
  ASSERT_TRUE(win.ui.ResizeClient(form.Handle(), 660, 460));
  EXPECT_EQ(form.LvPrinters.ItemIndex(), -1);
  EXPECT_EQ(form.LvPrinters.ItemCount(), 2);
}

// More models than the list shows at once: a row's INF is read when the row is
// first drawn, selected or found by typing, and kept until a resize re-reads it.
TEST_F(MainFormTest, RowsReadTheirInfOnFirstNeedAndKeepIt) {
  std::string ini;
  for (int i = 0; i < 40; ++i) {
    const std::string n = std::to_string(i);
    ini += "[M" + n + "]\r\nInstallSettingFile2K=inf\\m" + n + ".inf\r\n";
    if (i != 7) win.files.AddFile("inf\\m" + n + ".inf", testdata::InfNaming("Model " + n));
  }
  win.files.AddFile("install.ini", ini);
  TMainForm form({});
  form.Show();
  const sim::SimWindow& list = win.ui.Window(form.LvPrinters.Handle());
  // The rows in view are drawn in order; model 7's INF is missing: an empty caption.
  EXPECT_EQ(list.items[6], "Model 6");
  EXPECT_TRUE(list.drawn[7]);
  EXPECT_EQ(list.items[7], "");
  EXPECT_FALSE(list.drawn[39]);

  win.files.AddFile("inf\\m0.inf", testdata::InfNaming("Model 0 B"));
  win.files.AddFile("inf\\m39.inf", testdata::InfNaming("Model 39 B"));
  ASSERT_TRUE(win.ui.TypeInList(form.LvPrinters.Handle(), "model 39"));
  EXPECT_EQ(form.LvPrinters.ItemIndex(), 39);
  EXPECT_EQ(list.items[39], "Model 39 B");
  EXPECT_EQ(form.GrpBoxPrinters.Caption(), "Select Printer Driver: Model 39 B");
  EXPECT_EQ(form.LvPrinters.ItemCaption(0), "Model 0");
  EXPECT_FALSE(win.ui.TypeInList(form.LvPrinters.Handle(), "Tessaly"));

  ASSERT_TRUE(win.ui.ResizeClient(form.Handle(), 700, 500));
  EXPECT_EQ(form.LvPrinters.ItemIndex(), 39);
  EXPECT_EQ(form.LvPrinters.ItemCaption(0), "Model 0 B");
  EXPECT_EQ(list.items[0], "Model 0 B");
}

// One document at a time: a link wired to another field's file would show here.
TEST_F(MainFormTest, EachLinkFollowsItsOwnDocumentOnly) {
  struct Case {
    const char* key;
    ui::TLabel TMainForm::*link;
  };
  const Case cases[] = {{"InstallGuide2", &TMainForm::LblReadGuide},
                        {"QuickGuide2", &TMainForm::lblReadQuickGuide},
                        {"HandBook2", &TMainForm::LblReadManual}};
  win.files.AddFile("only.txt", "the one document");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    std::string ini = "[M]\r\nInstallSettingFile2K=i386\\XP100.inf\r\n";
    for (const Case& other : cases) {
      ini += std::string(other.key) + "=" + (other.key == c.key ? "only.txt" : "none.txt") + "\r\n";
    }
    win.files.AddFile("install.ini", ini);
    TMainForm form({});
    form.Show();
    for (const Case& other : cases) EXPECT_EQ((form.*other.link).Enabled(), other.key == c.key);
    // The quick guide's link is never shown, so no mouse reaches it.
    if (!(form.*c.link).Visible()) continue;
    ASSERT_TRUE(win.ui.MouseMove((form.*c.link).Handle()));
    EXPECT_EQ(form.StaBarInfo.SimpleText(), "only.txt");
  }
}

TEST_F(MainFormTest, GuideLinksOpenTheSelectedModelsDocuments) {
  TMainForm form({});
  form.Show();
  ASSERT_TRUE(win.ui.Click(form.LblReadGuide.Handle()));
  ASSERT_TRUE(win.ui.Click(form.LblReadManual.Handle()));
  // Hidden: no clicks reach it.
  EXPECT_FALSE(win.ui.Click(form.lblReadQuickGuide.Handle()));
  ASSERT_EQ(win.shell.calls.size(), 2u);
  EXPECT_EQ(win.shell.calls[0].owner, form.Handle());
  EXPECT_EQ(win.shell.calls[0].verb, "open");
  EXPECT_EQ(win.shell.calls[0].file, "ReadmeEN.txt");
  EXPECT_EQ(win.shell.calls[0].parameters, "");
  EXPECT_EQ(win.shell.calls[0].directory, "");
  EXPECT_EQ(win.shell.calls[0].showCommand, 5);
  EXPECT_EQ(win.shell.calls[1].file, "Manual\\XP100_EN.txt");

  // The disabled links of a model without documents take no clicks.
  ASSERT_TRUE(win.ui.SelectItem(form.LvPrinters.Handle(), 1));
  EXPECT_FALSE(win.ui.Click(form.LblReadGuide.Handle()));
  EXPECT_EQ(win.shell.calls.size(), 2u);
}

TEST_F(MainFormTest, LinksTurnBlueAndNameTheirFileWhileTheMouseIsOverThem) {
  TMainForm form({});
  form.Show();
  EXPECT_EQ(form.LblReadManual.Cursor(), UiCursor::kHand);
  ASSERT_TRUE(win.ui.MouseMove(form.LblReadManual.Handle()));
  EXPECT_EQ(win.ui.Window(form.LblReadManual.Handle()).textColor, kColorBlue);
  EXPECT_EQ(form.StaBarInfo.SimpleText(), "Manual\\XP100_EN.txt");
  EXPECT_EQ(win.ui.Window(form.StaBarInfo.Handle()).text, "Manual\\XP100_EN.txt");
  ASSERT_TRUE(win.ui.MouseLeave(form.LblReadManual.Handle()));
  EXPECT_EQ(win.ui.Window(form.LblReadManual.Handle()).textColor, kColorBlack);
  EXPECT_EQ(form.StaBarInfo.SimpleText(), "");
}

TEST_F(MainFormTest, DoubleClickOnTheListInstallsOnlyWithAModelSelected) {
  RecordingMainForm form(std::vector<std::string>{});
  form.Show();
  ASSERT_TRUE(win.ui.SelectItem(form.LvPrinters.Handle(), -1));
  ASSERT_TRUE(win.ui.DblClick(form.LvPrinters.Handle()));
  EXPECT_TRUE(form.runs.empty());
  // Only the top-most state went on and off again, and the automatic install is parked.
  EXPECT_EQ(win.ui.Window(form.Handle()).topMostChanges, (std::vector<bool>{true, false}));
  EXPECT_FALSE(form.TmrAutoInstall.Enabled());
  EXPECT_EQ(form.TmrAutoInstall.Interval(), 3600000u);

  ASSERT_TRUE(win.ui.SelectItem(form.LvPrinters.Handle(), 1));
  ASSERT_TRUE(win.ui.DblClick(form.LvPrinters.Handle()));
  EXPECT_EQ(form.runs, std::vector<bool>{true});
}

TEST_F(MainFormTest, ReturnPressesInstallAndEscapeDoesNothing) {
  RecordingMainForm form(std::vector<std::string>{});
  form.Show();
  EXPECT_EQ(win.ui.GetFocus(), form.LvPrinters.Handle());
  ASSERT_TRUE(win.ui.PressKey(form.Handle(), UiKey::kReturn));
  EXPECT_EQ(form.runs.size(), 1u);
  ASSERT_TRUE(win.ui.PressKey(form.Handle(), UiKey::kEscape));
  EXPECT_TRUE(form.Visible());
  EXPECT_FALSE(win.ui.Quitting());
}

TEST_F(MainFormTest, ExitClosesTheWindowFreesTheConfigurationAndEndsTheProgram) {
  TMainForm form({});
  form.Show();
  ASSERT_TRUE(win.ui.Click(form.BbtnExit.Handle()));
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(form.FOptions, nullptr);
  EXPECT_TRUE(win.ui.Quitting());
}

TEST_F(MainFormTest, InstallMessagesReachTheWindow) {
  TMainForm form({});
  EXPECT_TRUE(form.Post(WM_INSTALL_FAILED, 0, 5));
  EXPECT_TRUE(form.Post(WM_INSTALL_SUCCEEDED, 0, 0));
  win.ui.ProcessMessages();
  ASSERT_EQ(win.ui.delivered.size(), 2u);
  EXPECT_EQ(win.ui.delivered[0].msg, 0x0401u);
  EXPECT_EQ(win.ui.delivered[1].msg, 0x0402u);
}

TEST_F(MainFormTest, PrinterPanelOpensTheTestWindowOnlyInDebugMode) {
  TMainForm plain({});
  TFormTest test;
  plain.TestWindow = [&] { return &test; };
  plain.Show();
  ASSERT_TRUE(win.ui.DblClick(plain.PnlPrinters.Handle()));
  EXPECT_FALSE(test.Visible());
  EXPECT_EQ(win.ui.LoopDepth(), 0);

  win.files.AddFile("d:\\Debug");
  TMainForm debug({});
  debug.TestWindow = [&] { return &test; };
  debug.Show();
  bool sawTest = false;
  win.ui.onIdle = [&] {
    sawTest = test.Visible() && win.ui.ActiveForm() == test.Handle() && !debug.Enabled();
    return win.ui.Click(test.btnClose.Handle());
  };
  ASSERT_TRUE(win.ui.DblClick(debug.PnlPrinters.Handle()));
  EXPECT_TRUE(sawTest);
  EXPECT_FALSE(test.Visible());
  EXPECT_TRUE(debug.Enabled());
  EXPECT_EQ(win.ui.ActiveForm(), debug.Handle());
}

TEST_F(MainFormTest, LogoAppendsWow64AndTheHandleOnlyUnderWow64WithTheMarker) {
  TMainForm form({});
  form.Show();
  win.system.wow64 = true;
  ASSERT_TRUE(win.ui.DblClick(form.ImgLogo.Handle()));
  EXPECT_EQ(form.Caption(), "Printer Installer");  // no marker file

  win.files.AddFile("d:\\Debug");
  win.system.wow64 = false;
  ASSERT_TRUE(win.ui.DblClick(form.ImgLogo.Handle()));
  EXPECT_EQ(form.Caption(), "Printer Installer");  // 32-bit Windows

  win.system.wow64 = true;
  char hex[32];
  std::snprintf(hex, sizeof hex, "%llX", static_cast<unsigned long long>(form.Handle()));
  const std::string once = std::string(" WOW64 ") + hex + "H";
  ASSERT_TRUE(win.ui.DblClick(form.ImgLogo.Handle()));
  ASSERT_TRUE(win.ui.DblClick(form.ImgLogo.Handle()));
  EXPECT_EQ(form.Caption(), "Printer Installer" + once + once);
  EXPECT_EQ(win.ui.Window(form.Handle()).text, form.Caption());
}

TEST_F(MainFormTest, OnlinePortQueryUsesTheSelectedModelsInfAndLibrary) {
  TMainForm form({});
  std::string port = "USB001";
  // No installer library in the folder: nothing can be found, and the port is emptied.
  EXPECT_EQ(form.FindOnlinePort(port), 0);
  EXPECT_EQ(port, "");
}

}  // namespace
}  // namespace pinst
