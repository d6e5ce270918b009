#include <gtest/gtest.h>

#include "app/installer_main.h"
#include "app/main_form.h"
#include "app/sample_dist.h"
#include "config/lang_strings.h"
#include "platform/sim/sim_windows.h"
#include "ui/application.h"

namespace pinst {
namespace {

class StartUpTest : public ::testing::Test {
 protected:
  StartUpTest() { InitLangStrings(0x0409); }
  sim::SimWindows win;
};

TEST_F(StartUpTest, HideSwitchCountsInAnyPositionAndCaseButOnlyAsAWholeSwitch) {
  testdata::AddTwoModels(win);
  {
    TMainForm form({"/x", "/Hide", "/y"});
    EXPECT_TRUE(form.FHideMode);
    EXPECT_FALSE(form.ShowOnRun());
    EXPECT_TRUE(form.AlphaBlend());
    EXPECT_EQ(form.AlphaBlendValue(), 0);
    EXPECT_EQ(win.ui.Window(form.Handle()).alpha, 0);
  }
  for (const char* same : {"/hide", "/HIDE", "-Hide"}) {
    TMainForm form({same});
    EXPECT_TRUE(form.FHideMode) << same;
  }
  for (const char* other : {"Hide", "/Hide ", "/Hidden"}) {
    TMainForm form({other});
    EXPECT_FALSE(form.FHideMode) << other;
    EXPECT_TRUE(form.ShowOnRun()) << other;
    EXPECT_EQ(form.AlphaBlendValue(), 255) << other;
  }
}

TEST_F(StartUpTest, HiddenStartArmsTheFirstAutomaticModelWithoutActivation) {
  testdata::AddTwoModels(win, "", "AutoMode=1\r\n");
  // The second lets a person see the window first; under /Quiet no one is there,
  // and the install is posted to start at once.
  for (const auto& [arg, quiet] : {std::pair{"/Hide", false}, std::pair{"/Quiet", true}}) {
    SCOPED_TRACE(arg);
    win.ui.delivered.clear();
    TMainForm form({arg});
    EXPECT_EQ(form.FAutoIndex, 1);
    EXPECT_EQ(form.LvPrinters.ItemIndex(), 1);
    EXPECT_EQ(form.TmrAutoInstall.Enabled(), !quiet);
    if (!quiet) {
      EXPECT_EQ(win.ui.TimerInterval(form.Handle(), 1), 1000u);
    }
    // Armed automatic mode makes the window opaque again; it is still never shown.
    EXPECT_EQ(form.AlphaBlendValue(), 255);
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(form.Run().FInstallState, kInstallIdle);
    form.FAutoIndex = -1;  // the start message finds nothing to install
    win.ui.ProcessMessages();
    EXPECT_EQ(win.ui.delivered.size(), quiet ? 1u : 0u);
  }
}

TEST_F(StartUpTest, TwoAutomaticModelsArmTheFirst) {
  testdata::AddTwoModels(win, "AutoMode=1\r\n", "AutoMode=1\r\n");
  TMainForm form({"/Hide"});
  EXPECT_EQ(form.FAutoIndex, 0);
  EXPECT_EQ(form.LvPrinters.ItemIndex(), 0);
}

TEST_F(StartUpTest, ShownWindowArmsTheAutomaticInstallOnEachActivation) {
  testdata::AddTwoModels(win, "", "AutoMode=1\r\n");
  TMainForm form({});
  // Not armed before the window is activated.
  EXPECT_EQ(form.FAutoIndex, -1);
  EXPECT_FALSE(form.TmrAutoInstall.Enabled());
  form.Run().FInstallState = kInstallFinished;
  form.Run().FPrinterName = "Tessaly TP-58";
  form.Show();
  EXPECT_EQ(win.ui.ActiveForm(), form.Handle());
  EXPECT_EQ(form.FAutoIndex, 1);
  EXPECT_TRUE(form.TmrAutoInstall.Enabled());
  EXPECT_EQ(form.Run().FInstallState, kInstallIdle);
  EXPECT_EQ(form.Run().FPrinterName, "");
  // The Install button parks the timer; the next activation re-arms it.
  form.TmrAutoInstall.SetEnabled(false);
  ui::TForm other({"TOther", "", 10, 10, UiBorder::kSizeable, UiPlacement::kDesktopCentre, {}});
  other.Show();
  EXPECT_FALSE(form.TmrAutoInstall.Enabled());
  ASSERT_TRUE(win.ui.Activate(form.Handle()));
  EXPECT_TRUE(form.TmrAutoInstall.Enabled());
}

TEST_F(StartUpTest, NoAutomaticModelLeavesTheTimerOffAndResetsState) {
  testdata::AddTwoModels(win);
  TMainForm form({});
  form.Run().FPrinterName = "left over";
  form.Show();
  EXPECT_EQ(form.FAutoIndex, -1);
  EXPECT_FALSE(form.TmrAutoInstall.Enabled());
  EXPECT_EQ(form.Run().FPrinterName, "");
  EXPECT_EQ(form.LvPrinters.ItemIndex(), 0);
}

TEST_F(StartUpTest, DebugMarkerDirectoryDoesNotCount) {
  testdata::AddTwoModels(win);
  {
    TMainForm form({});
    EXPECT_FALSE(form.FDebugMode);
  }
  win.files.AddDirectory("D:\\Debug");
  TMainForm form({});
  EXPECT_FALSE(form.FDebugMode);
}

TEST_F(StartUpTest, DebugMarkerFileCounts) {
  testdata::AddTwoModels(win);
  win.files.AddFile("D:\\debug", "");
  TMainForm form({});
  EXPECT_TRUE(form.FDebugMode);
}

// The marker sits on a drive that may have no medium: Windows must not put up its
// own "No disk" box, at start or on a double-click of the logo.
TEST_F(StartUpTest, DebugMarkerIsProbedQuietlyAndNothingElseIs) {
  testdata::AddTwoModels(win);
  win.files.AddFile("D:\\Debug", "");
  win.system.wow64 = true;
  TMainForm form({});
  EXPECT_EQ(win.files.quietProbes, std::vector<std::string>{kDebugMarkerFile});
  form.Show();
  ASSERT_TRUE(win.ui.DblClick(form.ImgLogo.Handle()));
  EXPECT_EQ(win.files.quietProbes, (std::vector<std::string>{kDebugMarkerFile, kDebugMarkerFile}));
  EXPECT_NE(form.Caption().find(" WOW64 "), std::string::npos);
}

TEST_F(StartUpTest, MissingConfigurationGivesAnEmptyListAndTheDesignInfoText) {
  TMainForm form({});
  EXPECT_EQ(form.FOptions->Count, 0);
  EXPECT_EQ(form.LvPrinters.ItemCount(), 0);
  EXPECT_EQ(form.LvPrinters.ItemIndex(), -1);
  EXPECT_EQ(form.EdtInfos.Caption(), "Infos:");
  EXPECT_FALSE(form.LblReadGuide.Enabled());
  EXPECT_FALSE(form.LblReadManual.Enabled());
  EXPECT_EQ(form.GrpBoxPrinters.Caption(), "Select Printer Driver: ");
}

TEST_F(StartUpTest, HiddenWithoutAutomaticModelEndsAtOnceWithAnError) {
  testdata::AddTwoModels(win);
  EXPECT_EQ(RunInstaller({"/Hide"}), kExitNothingToInstall);
  EXPECT_EQ(win.ui.LoopDepth(), 0);
  EXPECT_TRUE(win.system.messageBoxes.empty());
  // The windows were made and are gone again; none was ever shown.
  EXPECT_EQ(win.ui.FindForm("TMainForm"), nullptr);
  EXPECT_EQ(ui::Application().ActiveForm(), nullptr);
}

TEST_F(StartUpTest, MainBlockMakesTheWindowsInOrderThenLoopsUntilTheMainWindowCloses) {
  testdata::AddTwoModels(win);
  win.SetLanguage(0x0804);
  std::vector<std::string> classes;
  std::string caption;
  std::string title;
  bool shown = false;
  win.ui.onIdle = [&] {
    if (!classes.empty()) return false;
    for (ui::TForm* form : ui::Application().Forms()) {
      classes.push_back(win.ui.Window(form->Handle()).className);
    }
    const sim::SimWindow* main = win.ui.FindForm("TMainForm");
    shown = main->visible && win.ui.ActiveForm() == main->handle;
    caption = main->text;
    title = ui::Application().Title;
    win.ui.CloseBox(main->handle);
    return true;
  };
  EXPECT_EQ(RunInstaller({}), 0);
  EXPECT_EQ(classes, (std::vector<std::string>{"TMainForm", "TFormSearching", "TFormPromptCheck",
                                               "TFormTest"}));
  EXPECT_TRUE(shown);
  // 打印机安装程序: the text table followed the system language before any window.
  const std::string gbkTitle = "\xB4\xF2\xD3\xA1\xBB\xFA\xB0\xB2\xD7\xB0\xB3\xCC\xD0\xF2";
  EXPECT_EQ(caption, gbkTitle);
  EXPECT_EQ(title, gbkTitle);
}

}  // namespace
}  // namespace pinst
