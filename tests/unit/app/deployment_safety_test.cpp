// Runs that fail after the printer of the same name was removed put it back as
// it was; a run that cannot install changes nothing and says why.
#include "app/install_codes.h"
#include "app/install_fixture.h"
#include "app/installer_main.h"
#include "ui/application.h"

namespace pinst {
namespace {

using testdata::kModel;
using Steps = std::vector<std::string>;

const std::string kRestored =
    "The printer \"" + kModel + "\" that was there before has been restored.";

class SafetyTest : public testdata::InstallTest {
 protected:
  SafetyTest() { win.processes.SetProgram("X64\\Instavo64.exe", {0, std::nullopt}); }
  void OldPrinter() {
    sim::SimPrinter& old = win.spooler.AddLocalPrinter(kModel, "Old Driver", "LPT2:");
    old.info.comment = "second floor";
    old.info.shareName = "OLDP";
    old.info.attributes |= 0x8;  // shared
    win.spooler.defaultPrinter = kModel;
  }
  // A machine of the case's kind with the old printer on it.
  void MachineWithOldPrinter(bool wow64) {
    win.system.wow64 = false;
    if (wow64) Wow64();
    win.spooler.printers.clear();
    OldPrinter();
  }
  void ExpectOldPrinterBack() {
    const sim::SimPrinter* back = win.spooler.Find(kModel);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->info.driverName, "Old Driver");
    EXPECT_EQ(back->info.portName, "LPT2:");
    EXPECT_EQ(back->info.comment, "second floor");
    EXPECT_EQ(back->info.shareName, "OLDP");
    EXPECT_EQ(back->info.attributes & 0x8, 0x8u);
    EXPECT_EQ(win.spooler.defaultPrinter, kModel);
  }
};

TEST_F(SafetyTest, FailedRunPutsTheOldPrinterBackAsItWasOnEveryWindows) {
  struct Case {
    const char* name;
    bool wow64;
    std::function<void(TInstallerWindows&)> fail;
    std::vector<int> answers;
  } cases[] = {
      {"library fails", false, [](TInstallerWindows&) {}, {}},
      {"helper fails",
       true,
       [](TInstallerWindows& w) { w.Main.Post(WM_INSTALL_FAILED, 0, 5); },
       {}},
      {"online failure cancelled",
       true,
       [](TInstallerWindows& w) {
         w.Main.Post(WM_INSTALL_FAILED, 0, static_cast<intptr_t>(kErrorNoSuchDevinst));
       },
       {kIdCancel}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MachineWithOldPrinter(c.wow64);
    UsbPrinterConnected();
    lib.installResult = c.wow64 ? 1 : 2;
    lib.lastInstallError = c.wow64 ? 0 : 5;
    WriteIni("QuiteMode=1\r\n");
    auto w = Start();
    win.system.messageBoxAnswers.assign(c.answers.begin(), c.answers.end());
    w->Main.BbtnStart.Click();
    c.fail(*w);
    win.ui.AdvanceTime(500);
    ExpectOldPrinterBack();
    const Steps boxes = Boxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_NE(boxes.back().find(kRestored), std::string::npos) << boxes.back();
    EXPECT_EQ(w->Main.Outcome(),
              c.answers.empty() ? TRunOutcome::kFailed : TRunOutcome::kCancelled);
    if (c.wow64) win.processes.End(win.processes.started.size() - 1, 0);
  }
}

// The library said it installed, yet no printer of the model's name is there:
// a failure, said as such, and the old printer back.
TEST_F(SafetyTest, SuccessThatLeftNoPrinterFailsWith1603) {
  OldPrinter();
  win.spooler.failAddPrinter = 1797;  // ERROR_UNKNOWN_PRINTER_DRIVER: the install added nothing
  lib.onInstall = [](const sim::SimInstallCall&) {};
  WriteIni("QuiteMode=1\r\nAutoMode=1\r\n");
  EXPECT_EQ(RunInstaller({"/Hide", "/Log=C:\\install.log"}), kExitFailed);
  const std::string log = win.files.Contents("C:\\install.log").value_or("");
  EXPECT_NE(log.find("No printer named \"" + kModel + "\" after the install: failed"),
            std::string::npos)
      << log;
  EXPECT_NE(
      log.find("The driver was installed, but no printer named \"" + kModel + "\" was created."),
      std::string::npos)
      << log;
  EXPECT_EQ(win.spooler.defaultPrinter == kModel, false);
}

TEST_F(SafetyTest, SpoolerThatDoesNotAnswerIsFoundBeforeAnythingChanges) {
  OldPrinter();
  WriteIni("AutoMode=1\r\n");
  win.faults.failName = "spooler.EnumPrintersA";
  win.faults.failNth = 1;
  EXPECT_EQ(RunInstaller({"/Quiet", "/Log=C:\\install.log"}), kExitFailed);
  const std::string log = win.files.Contents("C:\\install.log").value_or("");
  EXPECT_NE(log.find("error 0x000006BA"), std::string::npos) << log;
  EXPECT_NE(log.find("Message: The Print Spooler service is not running."), std::string::npos)
      << log;
  EXPECT_EQ(log.find("Question:"), std::string::npos) << log;
  EXPECT_TRUE(lib.installCalls.empty());
  EXPECT_NE(win.spooler.Find(kModel), nullptr);
  for (const std::string& step : Trace()) EXPECT_EQ(step.find("WebPrint"), std::string::npos);
}

TEST_F(SafetyTest, WindowsOnArmStopsBeforeAnythingChanges) {
  OldPrinter();
  Wow64();
  win.system.nativeMachine = NativeMachine::kArm64;
  WriteIni("AutoMode=1\r\n");
  EXPECT_EQ(RunInstaller({"/Quiet", "/Log=C:\\install.log"}), kExitFailed);
  const std::string log = win.files.Contents("C:\\install.log").value_or("");
  EXPECT_NE(log.find("Message: This driver cannot be installed on Windows for ARM"),
            std::string::npos)
      << log;
  EXPECT_TRUE(win.processes.started.empty());
  EXPECT_EQ(win.spooler.Find(kModel)->info.driverName, "Old Driver");
}

// Whatever the run waits on is ended at the limit; the old printer comes back
// and the run ends with 1460.
TEST_F(SafetyTest, UnattendedRunEndsWhatRunsPastTheLimitWith1460) {
  struct Case {
    const char* name;
    bool wow64;
    std::vector<std::string> args;
  } cases[] = {
      {"device console that never returns", false, {"/Quiet", "/Timeout=5"}},
      {"helper that never reports", true, {"/Quiet", "/Timeout=30"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MachineWithOldPrinter(c.wow64);
    win.console.Script("cmd /C .\\i386\\devcon.exe rescan", {"", 0, 3600000});
    WriteIni("AutoMode=1\r\n");
    std::vector<std::string> args = c.args;
    args.push_back("/Log=C:\\install.log");
    win.files.RemoveFile("C:\\install.log");
    win.ui.NewProcess();
    EXPECT_EQ(RunInstaller(args), kExitTimedOut);
    ExpectOldPrinterBack();
    const std::string log = win.files.Contents("C:\\install.log").value_or("");
    EXPECT_NE(log.find("Timed out waiting for "), std::string::npos) << log;
    EXPECT_NE(log.find("Exit code 1460"), std::string::npos) << log;
    if (c.wow64) {
      ASSERT_FALSE(win.processes.started.empty());
      EXPECT_TRUE(win.processes.started.back().state->terminated);
    } else {
      EXPECT_EQ(win.console.terminated, std::vector<uint32_t>{1460});
      EXPECT_TRUE(lib.installCalls.empty());
    }
  }
}

// A person's run waits on console commands as before, but not without end on the
// helper: after the limit the failure box says so.
TEST_F(SafetyTest, PersonsRunShowsTheFailureWhenTheHelperPassesTheLimit) {
  Wow64();
  WriteIni("QuiteMode=1\r\n");
  auto w = Start();
  w->Main.BbtnStart.Click();
  ASSERT_TRUE(w->Main.AwaitingHelper());
  win.ui.AdvanceTime(895000);
  EXPECT_TRUE(w->Main.AwaitingHelper());
  win.ui.AdvanceTime(10000);
  EXPECT_FALSE(w->Main.AwaitingHelper());
  EXPECT_EQ(Boxes(), Steps{testdata::Failure("000005B4")});
  EXPECT_TRUE(win.processes.started.back().state->terminated);
}

}  // namespace
}  // namespace pinst
