// Runs that fail after the printer of the same name was removed put it back as
// it was; a run that cannot install changes nothing and says why.
#include <algorithm>

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
  // The program as a deployment tool starts it, logging to a fresh C:\install.log.
  int RunLogged(std::vector<std::string> args) {
    args.push_back("/Log=C:\\install.log");
    win.files.RemoveFile("C:\\install.log");
    win.ui.NewProcess();
    return RunInstaller(args);
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
      {"helper success that left no printer",
       true,
       [](TInstallerWindows& w) { w.Main.Post(WM_INSTALL_SUCCEEDED, 0, 0); },
       {}},
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
    // Told once, in the end box.
    EXPECT_EQ(std::count_if(
                  boxes.begin(), boxes.end(),
                  [](const std::string& box) { return box.find(kRestored) != std::string::npos; }),
              1);
    EXPECT_EQ(w->Main.Outcome(),
              c.answers.empty() ? TRunOutcome::kFailed : TRunOutcome::kCancelled);
    if (c.wow64) win.processes.End(win.processes.started.size() - 1, 0);
  }
}

// A failed install that left a printer of the name after all: nothing is put
// back beside it.
TEST_F(SafetyTest, PutBackOverAPrinterTheFailedInstallLeftDoesNothing) {
  OldPrinter();
  lib.installResult = 2;
  lib.lastInstallError = 5;
  lib.onInstall = [this](const sim::SimInstallCall& call) {
    win.spooler.drivers.push_back(kModel);
    win.spooler.AddLocalPrinter(kModel, kModel, call.portName);
  };
  WriteIni("QuiteMode=1\r\nAutoMode=1\r\n");
  EXPECT_EQ(RunInstaller({"/Quiet"}), kExitFailed);
  ASSERT_EQ(std::count_if(win.spooler.printers.begin(), win.spooler.printers.end(),
                          [](const sim::SimPrinter& p) { return p.info.printerName == kModel; }),
            1);
  EXPECT_EQ(win.spooler.Find(kModel)->info.driverName, kModel);
}

// A model in quiet mode asks nothing and tells nothing of a printer still busy:
// it is kept, and nothing is installed.
TEST_F(SafetyTest, QuietModelKeepsABusyPrinterWithoutABox) {
  OldPrinter();
  win.spooler.AddJobs(kModel, 1);
  WriteIni("QuiteMode=1\r\n");
  auto w = Start();
  w->Main.BbtnStart.Click();
  EXPECT_EQ(Boxes(), Steps{});
  EXPECT_TRUE(lib.installCalls.empty());
  ExpectOldPrinterBack();
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

// Windows on ARM: an INF without NTarm64 models ends the run before anything
// changes with 1633; one with them installs as on any machine.
TEST_F(SafetyTest, WindowsOnArmNeedsNtArm64Models) {
  const auto inf = [](const std::string& decorations, const std::string& section) {
    return "[Manufacturer]\r\n\"Tessaly\"=Tessaly," + decorations + "\r\n\r\n[" + section +
           "]\r\n\"" + kModel + "\"=XP100.Install,LPTENUM\\" + testdata::kHwid + "\r\n";
  };
  struct Case {
    const char* name;
    std::string inf;  // empty: the sample's, undecorated
    NativeMachine machine;
    bool refused;
  } cases[] = {
      // the NTarm64 INF last: it stays in place
      {"ARM, no NTarm64 models", "", NativeMachine::kArm64, true},
      {"x64, no NTarm64 models", "", NativeMachine::kX64, false},
      {"ARM, a bare NT section only", inf("NT", "Tessaly.NT"), NativeMachine::kArm64, true},
      {"ARM, NTarm64 listed, its section missing", inf("NTarm64", "Tessaly"), NativeMachine::kArm64,
       true},
      {"ARM, NTarm64 models", inf("NTamd64,NTarm64", "Tessaly.NTarm64"), NativeMachine::kArm64,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MachineWithOldPrinter(true);
    win.system.nativeMachine = c.machine;
    win.processes.started.clear();
    if (!c.inf.empty()) win.files.AddFile("i386\\XP100.inf", c.inf);
    WriteIni("AutoMode=1\r\n");
    const int exitCode = RunLogged({"/Quiet"});
    const std::string log = win.files.Contents("C:\\install.log").value_or("");
    const bool refused = c.refused;
    // Otherwise the install goes on: the helper is started (and here never reports).
    EXPECT_EQ(exitCode == kExitPlatformUnsupported, refused) << log;
    EXPECT_EQ(log.find("Message: This printer's driver has no version for Windows on ARM") !=
                  std::string::npos,
              refused)
        << log;
    EXPECT_EQ(log.find("lists no NTarm64 models") != std::string::npos, refused) << log;
    EXPECT_EQ(win.processes.started.empty(), refused);
    EXPECT_EQ(log.find("Printer \"" + kModel + "\" removed") == std::string::npos, refused);
    EXPECT_EQ(win.spooler.Find(kModel)->info.driverName, "Old Driver");
  }
}

// Windows protected print mode: told by the policy, the Settings switch or the
// runtime class; the run ends before anything changes with 1625. A value not there,
// of another type or unreadable is off.
TEST_F(SafetyTest, ProtectedPrintModeRefusesBeforeAnythingChanges) {
  const std::string key = "Software\\Policies\\Microsoft\\Windows NT\\Printers\\WPP";
  const std::string policy = "WindowsProtectedPrintGroupPolicyState";
  const std::string setting = "WindowsProtectedPrintMode";
  struct Case {
    const char* name;
    std::function<void(sim::SimWindows&)> set;
    bool wow64;
    const char* saidBy;  // null: off
    const char* logged;  // a line the detection logs besides
  } cases[] = {
      {"policy on",
       [&](sim::SimWindows& w) { w.registry.SetDword(RegistryView::k64, key, policy, 1); }, false,
       "HKLM\\Software\\Policies\\Microsoft\\Windows NT\\Printers\\WPP "
       "WindowsProtectedPrintGroupPolicyState = 1",
       nullptr},
      {"policy on, WOW64",
       [&](sim::SimWindows& w) { w.registry.SetDword(RegistryView::k64, key, policy, 1); }, true,
       "HKLM\\Software\\Policies\\Microsoft\\Windows NT\\Printers\\WPP "
       "WindowsProtectedPrintGroupPolicyState = 1",
       nullptr},
      {"Settings switch on",
       [&](sim::SimWindows& w) { w.registry.SetDword(RegistryView::k64, key, setting, 1); }, false,
       "HKLM\\Software\\Policies\\Microsoft\\Windows NT\\Printers\\WPP "
       "WindowsProtectedPrintMode = 1",
       nullptr},
      {"only the 32-bit view says on",
       [&](sim::SimWindows& w) { w.registry.SetDword(RegistryView::k32, key, policy, 1); }, false,
       nullptr, nullptr},
      {"both off",
       [&](sim::SimWindows& w) {
         w.registry.SetDword(RegistryView::k64, key, policy, 0);
         w.registry.SetDword(RegistryView::k64, key, setting, 0);
       },
       false, nullptr, nullptr},
      {"key missing", [](sim::SimWindows&) {}, false, nullptr, nullptr},
      {"value of the wrong type",
       [&](sim::SimWindows& w) { w.registry.SetString(RegistryView::k64, key, policy, "1"); },
       false, nullptr, "WindowsProtectedPrintGroupPolicyState is no REG_DWORD: taken as off"},
      {"value unreadable", [](sim::SimWindows& w) { w.registry.failReads = 5u; }, false, nullptr,
       "WindowsProtectedPrintGroupPolicyState cannot be read (error 5): taken as off"},
      {"runtime says on", [](sim::SimWindows& w) { w.system.protectedPrint = true; }, false,
       "WindowsProtectedPrintInfo.IsProtectedPrintEnabled = true", nullptr},
      {"runtime says off", [](sim::SimWindows& w) { w.system.protectedPrint = false; }, false,
       nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MachineWithOldPrinter(c.wow64);
    win.registry.failReads.reset();
    win.registry.DeleteKey(RegistryView::k64, key);
    win.registry.DeleteKey(RegistryView::k32, key);
    win.system.protectedPrint.reset();
    c.set(win);
    lib.installCalls.clear();
    win.processes.started.clear();
    WriteIni("AutoMode=1\r\n");
    const int exitCode = RunLogged({"/Quiet"});
    const std::string log = win.files.Contents("C:\\install.log").value_or("");
    if (c.logged) {
      EXPECT_NE(log.find(c.logged), std::string::npos) << log;
    }
    if (!c.saidBy) {
      EXPECT_EQ(exitCode, kExitInstalled) << log;
      EXPECT_EQ(log.find("protected print mode is on"), std::string::npos) << log;
      continue;
    }
    EXPECT_EQ(exitCode, kExitPackageRejected);
    EXPECT_NE(log.find(std::string("Windows protected print mode is on (") + c.saidBy + ")"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Message: This printer maker's driver cannot be installed while Windows "
                       "protected print mode is on."),
              std::string::npos)
        << log;
    EXPECT_TRUE(lib.installCalls.empty());
    EXPECT_TRUE(win.processes.started.empty());
    EXPECT_EQ(win.spooler.Find(kModel)->info.driverName, "Old Driver");
    EXPECT_EQ(win.spooler.defaultPrinter, kModel);
  }
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
      {"device console that never returns, WOW64", true, {"/Quiet", "/Timeout=5"}},
      {"helper that never reports", true, {"/Quiet", "/Timeout=30"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MachineWithOldPrinter(c.wow64);
    const bool helperHangs = c.args.back() == "/Timeout=30";
    win.console.Script("cmd /C .\\i386\\devcon.exe rescan", {"", 0, helperHangs ? 0u : 3600000u});
    win.console.Script("cmd /C .\\X64\\devcon.exe rescan", {"", 0, helperHangs ? 0u : 3600000u});
    win.console.terminated.clear();
    WriteIni("AutoMode=1\r\n");
    EXPECT_EQ(RunLogged(c.args), kExitTimedOut);
    ExpectOldPrinterBack();
    const std::string log = win.files.Contents("C:\\install.log").value_or("");
    EXPECT_NE(log.find("Timed out waiting for "), std::string::npos) << log;
    EXPECT_NE(log.find("Exit code 1460"), std::string::npos) << log;
    if (helperHangs) {
      ASSERT_FALSE(win.processes.started.empty());
      EXPECT_TRUE(win.processes.started.back().state->terminated);
    } else {
      // The run ends where the wait ended: no library call, no helper.
      EXPECT_EQ(win.console.terminated, std::vector<uint32_t>{1460});
      EXPECT_TRUE(lib.installCalls.empty());
      EXPECT_TRUE(win.processes.started.empty());
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

// A service that does not start in time is one that did not start: it gets no
// second wait, the printer the library installed is finished, and the code says
// the restart that follows (or is wanted).
TEST_F(SafetyTest, ServiceStartPastTheLimitGetsNoSecondWaitAndThePrinterIsFinished) {
  struct Case {
    const char* name;
    uint32_t minor;     // Windows 5.0 drives the service with net, later ones with sc
    const char* start;  // the command that never returns; null: the service refuses
    std::vector<std::string> args;
    int exitCode;
    bool restartStarted;
  } cases[] = {
      {"sc, restart", 1, "sc start NvPrnMon", {"/Quiet", "/Timeout=5"}, kExitRestartStarted, true},
      {"sc, /NoRestart",
       1,
       "sc start NvPrnMon",
       {"/Quiet", "/Timeout=5", "/NoRestart"},
       kExitRestartNeeded,
       false},
      {"net, restart",
       0,
       "net start NvPrnMon",
       {"/Quiet", "/Timeout=5"},
       kExitRestartStarted,
       true},
      // Whoever started a shown automatic install is told of the restart too.
      {"refused, shown", 1, nullptr, {"/Model=XP100"}, kExitRestartStarted, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MachineWithOldPrinter(false);
    win.SetVersion(5, c.minor);
    win.files.AddFile("i386\\NvPrnMon.exe", "service");
    win.console.Script("net stop NvPrnMon", {"The service was stopped successfully.\r\n"});
    ServiceRuns(false);
    if (c.start) win.console.Script(c.start, {"", 0, 3600000});
    win.console.commandLines.clear();
    win.shell.calls.clear();
    WriteIni(
        "AutoMode=1\r\nQuiteMode=1\r\nServiceName=NvPrnMon\r\nServiceExe=i386\\NvPrnMon.exe\r\n"
        "DefaultPortName=USB002\r\n");
    EXPECT_EQ(RunLogged(c.args), c.exitCode);
    if (c.start) {
      EXPECT_EQ(
          std::count(win.console.commandLines.begin(), win.console.commandLines.end(), c.start), 1);
    }
    const sim::SimPrinter* printer = win.spooler.Find(kModel);
    ASSERT_NE(printer, nullptr);
    EXPECT_EQ(printer->info.driverName, kModel);
    EXPECT_EQ(printer->info.portName, "USB002");
    EXPECT_EQ(win.spooler.defaultPrinter, kModel);
    const bool setupBat = std::any_of(win.shell.calls.begin(), win.shell.calls.end(),
                                      [](const sim::SimShellCall& call) {
                                        return call.file.find("Setup.bat") != std::string::npos;
                                      });
    EXPECT_EQ(setupBat, c.restartStarted);
    const std::string log = win.files.Contents("C:\\install.log").value_or("");
    const std::string said =
        c.start ? std::string("Timed out waiting for ") + c.start +
                      ": it was ended; the service NvPrnMon did not start in time"
                : "Service NvPrnMon did not start: Setup.bat restarts the computer";
    EXPECT_NE(log.find(said), std::string::npos) << log;
  }
}

// A spooler read that fails is "cannot tell": the run adds no printer blind (a
// second one of the name could result) and fails, saying which read failed.
TEST_F(SafetyTest, PrinterListThatCannotBeReadAfterTheInstallAddsNothingBlind) {
  for (bool libraryFails : {true, false}) {
    SCOPED_TRACE(libraryFails ? "put-back after a failure" : "check after a success");
    MachineWithOldPrinter(false);
    lib.installResult = libraryFails ? 2 : 1;
    lib.lastInstallError = libraryFails ? 5 : 0;
    const auto install = lib.onInstall;
    lib.onInstall = [&](const sim::SimInstallCall& call) {
      install(call);
      win.faults.Restart();
      win.faults.failName = "spooler.EnumPrintersA";
      win.faults.failNth = 1;
    };
    WriteIni("QuiteMode=1\r\nAutoMode=1\r\n");
    EXPECT_EQ(RunLogged({"/Quiet"}), kExitFailed);
    lib.onInstall = install;
    win.faults.failName.clear();
    const long named =
        std::count_if(win.spooler.printers.begin(), win.spooler.printers.end(),
                      [](const sim::SimPrinter& p) { return p.info.printerName == kModel; });
    EXPECT_EQ(named, libraryFails ? 0 : 1);
    const std::string log = win.files.Contents("C:\\install.log").value_or("");
    EXPECT_NE(log.find(libraryFails ? "Cannot tell whether the printer \"" + kModel + "\" is there"
                                    : "Cannot tell whether a printer named \"" + kModel +
                                          "\" exists after the install"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("the printer list cannot be read (error 0x000006BA)"), std::string::npos);
  }
}

// The printer of the model's name is removed only with its record in hand: one
// that cannot be read is kept as it is, and the run ends before anything changed.
TEST_F(SafetyTest, PrinterThatCannotBeReadIsNeverRemoved) {
  OldPrinter();
  WriteIni("AutoMode=1\r\n");
  // The same-name step reads the printer's driver, then its whole record.
  win.faults.failName = "printer.GetPrinterA";
  win.faults.failNth = 3;
  EXPECT_EQ(RunInstaller({"/Quiet", "/Log=C:\\install.log"}), kExitFailed);
  EXPECT_EQ(win.faults.Failed(), "printer.GetPrinterA");
  ExpectOldPrinterBack();
  EXPECT_TRUE(lib.installCalls.empty());
  const std::string log = win.files.Contents("C:\\install.log").value_or("");
  EXPECT_NE(log.find("The printer \"" + kModel + "\" cannot be read"), std::string::npos) << log;
  EXPECT_NE(log.find("Message: The printer \"" + kModel +
                     "\" could not be read, so it was not replaced: nothing was changed."),
            std::string::npos)
      << log;
}

// The helper's limit in milliseconds does not fit 32 bits for every limit that
// can be given: a large one must not wrap into a short one.
TEST_F(SafetyTest, LimitBeyondThirtyTwoBitsOfMillisecondsIsKeptWhole) {
  Wow64();
  WriteIni("QuiteMode=1\r\n");
  auto w = Start({"/Timeout=4294968"});
  w->Main.BbtnStart.Click();
  win.ui.AdvanceTime(60000);
  EXPECT_TRUE(w->Main.AwaitingHelper());
  EXPECT_FALSE(win.processes.started.back().state->terminated);
}

// Once the watchdog has ended the helper at the limit, a report of its that
// arrives afterwards cannot turn the timed-out run into another.
TEST_F(SafetyTest, HelperReportAfterTheLimitEndedTheRunChangesNothing) {
  for (uint32_t report : {uint32_t{WM_INSTALL_SUCCEEDED}, uint32_t{WM_INSTALL_FAILED}}) {
    SCOPED_TRACE(report);
    MachineWithOldPrinter(true);
    WriteIni("QuiteMode=1\r\n");
    auto w = Start({"/Timeout=30"});
    w->Main.BbtnStart.Click();
    win.ui.AdvanceTime(35000);
    ASSERT_FALSE(w->Main.AwaitingHelper());
    ExpectOldPrinterBack();
    w->Main.Post(report, 0, 5);
    win.ui.AdvanceTime(500);
    EXPECT_EQ(w->Main.Outcome(), TRunOutcome::kFailed);
    const Steps boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes.front().find("0x000005B4"), std::string::npos) << boxes.front();
    EXPECT_EQ(win.spooler.Find(kModel)->info.driverName, "Old Driver");
  }
}

// The library's code for a package without a catalog is a cancel only when a
// person could have cancelled: an unattended run fails, saying why.
TEST_F(SafetyTest, UnsignedPackageFailsAnUnattendedRunAndIsACancelForAPerson) {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    const char* quiteMode;
    std::vector<int> answers;
    int exitCode;
    const char* said;
  } cases[] = {
      {"quiet", {"/Quiet"}, "1", {}, kExitFailed, "Message: The driver package is not signed"},
      {"hidden", {"/Hide"}, "1", {}, kExitFailed, "Message: The driver package is not signed"},
      {"shown", {"/Model=XP100"}, "1", {}, kExitCancelled, "Message: Install cancel by user !"},
      // The upgrade question declined is a person's cancel, in any run.
      {"declined",
       {"/Hide"},
       "0",
       {kIdYes, kIdCancel},
       kExitCancelled,
       "Message: Install cancel by user !"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MachineWithOldPrinter(false);
    lib.installResult = 2;
    lib.lastInstallError = kErrorInstallCancelled;
    WriteIni(std::string("QuiteMode=") + c.quiteMode + "\r\nAutoMode=1\r\n");
    win.system.messageBoxAnswers.assign(c.answers.begin(), c.answers.end());
    EXPECT_EQ(RunLogged(c.args), c.exitCode);
    ExpectOldPrinterBack();
    const std::string log = win.files.Contents("C:\\install.log").value_or("");
    EXPECT_NE(log.find(c.said), std::string::npos) << log;
  }
}

}  // namespace
}  // namespace pinst
