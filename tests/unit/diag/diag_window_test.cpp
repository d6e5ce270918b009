#include "diag/diag_window.h"

#include <gtest/gtest.h>

#include "app/run_result.h"
#include "app/sample_dist.h"
#include "config/lang_strings.h"
#include "diag/diag_command.h"
#include "platform/sim/sim_windows.h"
#include "ui/application.h"

namespace pinst {
namespace {

// What sc prints for a service that does not exist.
const std::string kScMissing =
    "[SC] EnumQueryServicesStatus:OpenService FAILED 1060:\r\n\r\n"
    "The specified service does not exist as an installed service.\r\n\r\n";

class TestFormTest : public ::testing::Test {
 protected:
  TestFormTest() {
    InitLangStrings(0x0409);
    ui::Application().Title = "Printer Installer";
    form.Show();
  }
  sim::SimWindows win;
  TFormTest form;
};

TEST_F(TestFormTest, StartsWithItsFixedCaptionsAndTheDefaultCommand) {
  EXPECT_EQ(form.Caption(), "FormTest");
  EXPECT_EQ(form.ClientWidth(), 549);
  EXPECT_EQ(form.ClientHeight(), 438);
  EXPECT_EQ(form.btn1.Caption(), "Find HWID");
  // 运行命令
  EXPECT_EQ(form.btnRun.Caption(), "\xD4\xCB\xD0\xD0\xC3\xFC\xC1\xEE");
  EXPECT_EQ(form.mmo1.Text(), "cmd /c sc query NvPrnMon");
  EXPECT_EQ(form.RedtResults.Lines(), std::vector<std::string>{"RedtResults"});
  EXPECT_EQ(form.RedtResults.Font().charSet, kGb2312Charset);
}

TEST_F(TestFormTest, MissingServiceShowsWhereFailed1060BeginsInTheJoinedOutput) {
  bool busyWhileRunning = false;
  win.console.handler = [&](const std::string& line) -> std::optional<sim::SimCommand> {
    busyWhileRunning = win.ui.BusyCursor();
    if (line != "cmd /c sc query NvPrnMon") return std::nullopt;
    return sim::SimCommand{kScMissing, 1060, 0};
  };
  ASSERT_TRUE(win.ui.Click(form.btnRun.Handle()));
  EXPECT_TRUE(busyWhileRunning);
  EXPECT_FALSE(win.ui.BusyCursor());
  ASSERT_EQ(win.system.messageBoxes.size(), 1u);
  // "[SC] EnumQueryServicesStatus:OpenService " is 41 characters: the text starts at 42.
  EXPECT_EQ(win.system.messageBoxes[0].text, "42");
  EXPECT_EQ(win.system.messageBoxes[0].caption, "Printer Installer");
  EXPECT_EQ(win.system.messageBoxes[0].flags, kMbOk);
  // One item per chunk read, then the empty closing item.
  EXPECT_EQ(form.RedtResults.Text(), kScMissing + "\r\n");
}

TEST_F(TestFormTest, TypedCommandRunsAndLongOutputComesInChunks) {
  std::string text;
  for (int i = 0; text.size() < 9000; ++i) text += "line " + std::to_string(i) + "\r\n";
  win.console.Script("cmd /c type big.txt", {text, 0, 0});
  ASSERT_TRUE(win.ui.TypeText(form.mmo1.Handle(), "cmd /c type big.txt"));
  ASSERT_TRUE(win.ui.Click(form.btnRun.Handle()));
  EXPECT_TRUE(win.system.messageBoxes.empty());
  StringList items;
  RunDiagCommand("cmd /c type big.txt", items);
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[0].size(), 4096u);
  EXPECT_EQ(items[1].size(), 4096u);
  EXPECT_EQ(items[0] + items[1] + items[2], text);
  EXPECT_EQ(items[3], "");
  EXPECT_EQ(form.RedtResults.Text(), items[0] + "\r\n" + items[1] + "\r\n" + items[2] + "\r\n");
}

TEST_F(TestFormTest, CommandLineOf254CharactersRunsWholeAndALongerOneIsRefused) {
  const std::string fits = "cmd /c echo " + std::string(254 - 12, 'x');
  ASSERT_EQ(fits.size(), 254u);
  win.console.Script(fits, {"ok", 0, 0});
  StringList out;
  RunDiagCommand(fits, out);
  EXPECT_EQ(out, (StringList{"ok", ""}));
  ASSERT_EQ(win.console.commandLines.size(), 1u);
  EXPECT_EQ(win.console.commandLines[0], fits);

  const std::string tooLong = fits + "y";
  win.console.Script(tooLong, {"ran", 0, 0});
  ASSERT_TRUE(win.ui.TypeText(form.mmo1.Handle(), tooLong));
  ASSERT_TRUE(win.ui.Click(form.btnRun.Handle()));
  EXPECT_EQ(win.console.commandLines.size(), 1u);  // nothing was started
  ASSERT_EQ(win.system.messageBoxes.size(), 1u);
  EXPECT_EQ(win.system.messageBoxes[0].text, "Command line longer than 254 characters");
  EXPECT_EQ(form.RedtResults.Text(), "");
  EXPECT_FALSE(win.ui.BusyCursor());
}

TEST_F(TestFormTest, PipeAndProcessFailuresAreToldInMessageBoxes) {
  win.console.failCreatePipe = true;
  ASSERT_TRUE(win.ui.Click(form.btnRun.Handle()));
  win.console.failCreatePipe = false;
  // No script for the command: the process cannot be created.
  ASSERT_TRUE(win.ui.Click(form.btnRun.Handle()));
  ASSERT_EQ(win.system.messageBoxes.size(), 2u);
  EXPECT_EQ(win.system.messageBoxes[0].text, "Can not create pipe!");
  EXPECT_EQ(win.system.messageBoxes[1].text, "can not create process");
  EXPECT_EQ(form.RedtResults.Text(), "");
  EXPECT_FALSE(win.ui.BusyCursor());
}

TEST_F(TestFormTest, ConfigurationButtonsReadTheirOwnCopyOfInstallIni) {
  ASSERT_TRUE(win.ui.Click(form.btn1.Handle()));
  EXPECT_EQ(form.RedtResults.Lines(),
            (std::vector<std::string>{"RedtResults", "install.ini has no printer model"}));
  ASSERT_TRUE(win.ui.Click(form.BtnReadIni.Handle()));
  EXPECT_EQ(form.RedtResults.Lines().size(), 2u);

  testdata::AddTwoModels(win);
  form.RedtResults.SetLines({});
  ASSERT_TRUE(win.ui.Click(form.btn1.Handle()));
  ASSERT_TRUE(win.ui.Click(form.BtnReadIni.Handle()));
  EXPECT_EQ(form.RedtResults.Lines(),
            (std::vector<std::string>{"HWID=MakerModel1234", "PrinterName=Tessaly XP-100",
                                      "i386\\XP100.inf", "i386\\TP58.inf"}));
}

TEST_F(TestFormTest, InstallButtonWithoutTheLibraryShowsTheLibraryError) {
  testdata::AddTwoModels(win);
  ui::Application().ErrorText = InstallErrorText;  // as the program sets it
  ASSERT_TRUE(win.ui.Click(form.BtnInstallPrinter.Handle()));
  ASSERT_EQ(win.system.messageBoxes.size(), 1u);
  EXPECT_EQ(win.system.messageBoxes[0].text, "The DLL file not found!");
  EXPECT_EQ(win.system.messageBoxes[0].caption, "Printer Installer");
  EXPECT_EQ(win.system.messageBoxes[0].flags, kMbOk | kMbIconError);
  ui::Application().ErrorText = nullptr;
}

TEST_F(TestFormTest, PrinterPropertyButtonMovesTheSamplePrinterToLpt1) {
  win.spooler.AddLocalPrinter("Tessaly XP-100", "Tessaly XP-100", "COM1:");
  ASSERT_TRUE(win.ui.Click(form.BtnSetPrinterProperty.Handle()));
  ASSERT_NE(win.spooler.Find("Tessaly XP-100"), nullptr);
  EXPECT_EQ(win.spooler.Find("Tessaly XP-100")->info.portName, "LPT1:");
  EXPECT_TRUE(win.system.messageBoxes.empty());
}

TEST_F(TestFormTest, CloseButtonEndsTheModalWindow) {
  form.Hide();
  win.ui.onIdle = [&] { return win.ui.Click(form.btnClose.Handle()); };
  EXPECT_EQ(form.ShowModal(), ui::mrCancel);
  EXPECT_FALSE(form.Visible());
}

}  // namespace
}  // namespace pinst
