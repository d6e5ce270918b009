// How a run ends: the 64-bit helper's reports and its watchdog, the automatic
// install with its exit codes, the installing hint, and what the window allows
// while a run is in progress.
#include "app/install_codes.h"
#include "app/install_fixture.h"
#include "app/installer_main.h"
#include "ui/application.h"

namespace pinst {
namespace {

using testdata::Box;
using testdata::Failure;
using testdata::kHwid;
using testdata::kModel;
using Steps = std::vector<std::string>;

const std::string kSuccess = Box(kMbOk | kMbIconInformation, "Notice",
                                 "Printer driver successfully install on LPT1: port!", kIdOk);
const std::string kCancelled = Box(kMbOk, "Notice", "Install cancel by user !", kIdOk);

class CompletionTest : public testdata::InstallTest {
 protected:
  CompletionTest() { win.processes.SetProgram("X64\\Instavo64.exe", {0, std::nullopt}); }
  // What the 64-bit helper does when it succeeds: the printer is there.
  void HelperInstalls() {
    win.spooler.drivers.push_back(kModel);
    win.spooler.AddLocalPrinter(kModel, kModel, "LPT1:");
  }
};

TEST_F(CompletionTest, HelperIsStartedWithTheWindowsHandleAndTheWindowWaitsForIt) {
  Wow64();
  WriteIni("QuiteMode=1\r\n");
  auto w = Start();
  w->Main.BbtnStart.Click();
  ASSERT_EQ(win.processes.started.size(), 1u);
  EXPECT_EQ(win.processes.started[0].info.commandLine,
            "X64\\Instavo64.exe /Handle " + std::to_string(w->Main.Handle()) +
                " /Dll \"inst2k64.dll\" /Inf \"..\\i386\\XP100.inf\" /HWID " + kHwid);
  EXPECT_TRUE(w->Main.AwaitingHelper());
  EXPECT_FALSE(w->Main.BbtnStart.Enabled());
  EXPECT_FALSE(w->Main.BbtnExit.Enabled());
  EXPECT_TRUE(win.ui.BusyCursor());

  // The hint counts its dots while the helper works.
  Steps hints;
  for (int i = 0; i < 6; ++i) {
    win.ui.AdvanceTime(500);
    hints.push_back(w->Main.StaBarInfo.SimpleText());
  }
  EXPECT_EQ(hints,
            (Steps{"InfosInstalling, Please Wait .", "InfosInstalling, Please Wait . .",
                   "InfosInstalling, Please Wait . . .", "InfosInstalling, Please Wait . . . .",
                   "InfosInstalling, Please Wait . . . . .", "InfosInstalling, Please Wait"}));

  // A resize re-selects the model but leaves Install disabled; a second click
  // starts nothing.
  ASSERT_TRUE(win.ui.ResizeClient(w->Main.Handle(), 700, 500));
  EXPECT_FALSE(w->Main.BbtnStart.Enabled());
  w->Main.BbtnStartClick();
  EXPECT_EQ(win.processes.started.size(), 1u);

  HelperInstalls();
  ASSERT_TRUE(w->Main.Post(WM_INSTALL_SUCCEEDED, 0, 0));
  win.processes.End(0, 0);
  win.ui.AdvanceTime(500);
  EXPECT_EQ(Boxes(), (Steps{kSuccess}));
  EXPECT_FALSE(w->Main.AwaitingHelper());
  EXPECT_TRUE(w->Main.BbtnStart.Enabled());
  EXPECT_FALSE(win.ui.BusyCursor());
  EXPECT_EQ(win.ui.GetFocus(), w->Main.BbtnExit.Handle());
  EXPECT_EQ(w->Main.StaBarInfo.SimpleText(), "");
  EXPECT_FALSE(w->Main.TimerInstallingHints.Enabled());
  EXPECT_EQ(win.spooler.defaultPrinter, kModel);
  EXPECT_EQ(win.spooler.Find(kModel)->info.printProcessor, "WinPrint");
}

// The helper's report, or its end without one, as the watchdog sees it every
// five seconds, with the window showing.
TEST_F(CompletionTest, HelperReportsOrTheWatchdogEndsTheRun) {
  struct Case {
    const char* name;
    std::optional<std::pair<uint32_t, uint32_t>> report;  // message and LParam
    std::optional<uint32_t> exitCode;                     // nullopt: still running
    bool startable;
    Steps boxes;
    TRunOutcome outcome;
  } cases[] = {
      {"succeeds",
       {{WM_INSTALL_SUCCEEDED, 0}},
       std::nullopt,
       true,
       {kSuccess},
       TRunOutcome::kInstalled},
      {"fails",
       {{WM_INSTALL_FAILED, 5}},
       std::nullopt,
       true,
       {Failure("00000005")},
       TRunOutcome::kFailed},
      {"fails without a code",
       {{WM_INSTALL_FAILED, 0}},
       std::nullopt,
       true,
       {},
       TRunOutcome::kFailed},
      {"user cancel",
       {{WM_INSTALL_FAILED, kErrorInstallCancelled}},
       std::nullopt,
       true,
       {kCancelled},
       TRunOutcome::kCancelled},
      {"reports, then ends before the tick",
       {{WM_INSTALL_SUCCEEDED, 0}},
       0u,
       true,
       {kSuccess},
       TRunOutcome::kInstalled},
      {"ends without a report",
       std::nullopt,
       0u,
       true,
       {Failure("00000643")},
       TRunOutcome::kFailed},
      {"crashes", std::nullopt, 0xC0000005u, true, {Failure("C0000005")}, TRunOutcome::kFailed},
      // 259 reads as "still running": no report and that code is no outcome.
      {"ends with 259 and no report",
       std::nullopt,
       259u,
       true,
       {Failure("00000643")},
       TRunOutcome::kFailed},
      {"could not be started",
       std::nullopt,
       std::nullopt,
       false,
       {Failure("00000643")},
       TRunOutcome::kFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Wow64();
    if (!c.startable) win.files.RemoveFile("X64\\Instavo64.exe");
    win.spooler.printers.clear();
    WriteIni("QuiteMode=1\r\n");
    auto w = Start();
    w->Main.BbtnStart.Click();
    ASSERT_TRUE(w->Main.AwaitingHelper());
    if (c.report) {
      if (c.report->first == WM_INSTALL_SUCCEEDED) HelperInstalls();
      ASSERT_TRUE(w->Main.Post(c.report->first, 0, static_cast<intptr_t>(c.report->second)));
    }
    const size_t helper = win.processes.started.size() - 1;
    if (c.exitCode && c.startable) win.processes.End(helper, *c.exitCode);
    win.ui.AdvanceTime(5000);
    EXPECT_EQ(Boxes(), c.boxes);
    EXPECT_EQ(w->Main.Outcome(), c.outcome);
    EXPECT_FALSE(w->Main.AwaitingHelper());
    EXPECT_TRUE(w->Main.BbtnStart.Enabled());
    EXPECT_FALSE(w->Main.TimerSetup64Error.Enabled());
    if (c.report && !c.exitCode) win.processes.End(helper, 0);
  }
}

// The search dialog hides the window and shows it again when it closes; that
// activation must not reset the run, or the watchdog would never act.
TEST_F(CompletionTest, WatchdogStillActsAfterTheSearchDialogShowedTheWindowAgain) {
  Wow64();
  WriteIni("QuiteMode=1\r\nForceOnlineCheck=1\r\n");
  UsbPrinterConnected();
  auto w = Start();
  w->Main.BbtnStart.Click();  // the dialog finds USB003 and goes on by itself
  ASSERT_TRUE(w->Main.AwaitingHelper());
  EXPECT_TRUE(w->Main.Visible());
  EXPECT_EQ(w->Main.Run().FInstallState, kInstalling);
  win.processes.End(win.processes.started.size() - 1, 0xC0000005);
  win.ui.AdvanceTime(5000);
  EXPECT_EQ(Boxes(), (Steps{Failure("C0000005")}));
  EXPECT_TRUE(w->Main.BbtnStart.Enabled());
}

// The online-failure retry under WOW64 belongs to the same run: the second
// helper's success finishes the printer the first was started for.
TEST_F(CompletionTest, HelperRetryAfterNoDeviceFinishesThePrinter) {
  Wow64();
  UsbPrinterConnected();
  WriteIni("PrintProcess=TsRaw\r\n");
  auto w = Start();
  Answer({kIdYes, kIdYes, kIdYes});  // USB question, retry online, USB question again
  w->Main.BbtnStart.Click();
  ASSERT_TRUE(w->Main.Post(WM_INSTALL_FAILED, 0, static_cast<intptr_t>(kErrorNoSuchDevinst)));
  win.processes.End(0, 0);
  win.ui.AdvanceTime(500);
  ASSERT_EQ(win.processes.started.size(), 2u);
  HelperInstalls();
  ASSERT_TRUE(w->Main.Post(WM_INSTALL_SUCCEEDED, 0, 0));
  win.processes.End(1, 0);
  win.ui.AdvanceTime(500);
  EXPECT_EQ(Boxes().back(),
            Box(kMbOk | kMbIconInformation, "Notice",
                "Printer driver successfully install on USB003 port!\r\n" + Lang().StrRestartNotice,
                kIdOk));
  EXPECT_EQ(win.spooler.Find(kModel)->info.portName, "USB003");
  EXPECT_EQ(win.spooler.defaultPrinter, kModel);
  EXPECT_EQ(w->Main.Outcome(), TRunOutcome::kInstalledRestart);
}

// A report the watchdog finds queued as the helper ends may start a retry; the
// retry's helper is then the one awaited, not failed for the first one's end.
TEST_F(CompletionTest, WatchdogLeavesARetryStartedByTheQueuedReportAlone) {
  Wow64();
  UsbPrinterConnected();
  WriteIni("QuiteMode=1\r\n");
  auto w = Start();
  Answer({kIdYes});  // retry online
  w->Main.BbtnStart.Click();
  win.processes.started[0].state->onExitRead = [&] {
    w->Main.Post(WM_INSTALL_FAILED, 0, static_cast<intptr_t>(kErrorNoSuchDevinst));
  };
  win.processes.End(0, 0);
  win.ui.AdvanceTime(5000);
  ASSERT_EQ(win.processes.started.size(), 2u);
  EXPECT_TRUE(w->Main.AwaitingHelper());
  EXPECT_TRUE(Boxes().size() == 1u && Boxes()[0].find("Online Install Fail") != std::string::npos);
  HelperInstalls();
  ASSERT_TRUE(w->Main.Post(WM_INSTALL_SUCCEEDED, 0, 0));
  win.ui.AdvanceTime(500);
  EXPECT_EQ(w->Main.Outcome(), TRunOutcome::kInstalled);
  EXPECT_EQ(Boxes().size(), 2u);
}

// Runs that end before the helper starts give the window back under WOW64 too.
TEST_F(CompletionTest, RunEndingBeforeTheHelperStartsGivesTheWindowBack) {
  Wow64();
  win.spooler.AddLocalPrinter(kModel, "Old Driver", "LPT2:");
  win.spooler.AddJobs(kModel, 1);
  WriteIni("QuiteMode=1\r\n");
  auto w = Start();
  w->Main.BbtnStart.Click();
  EXPECT_TRUE(win.processes.started.empty());
  EXPECT_FALSE(w->Main.RunInProgress());
  EXPECT_TRUE(w->Main.BbtnStart.Enabled());
  EXPECT_FALSE(win.ui.BusyCursor());
  EXPECT_EQ(w->Main.Run().FInstallState, kInstallFinished);
}

struct AutoCase {
  const char* name;
  std::string extra;
  bool wow64;
  std::optional<uint32_t> libraryError;  // the in-process install fails with this
  std::optional<uint32_t> helperReport;  // LParam of WM_INSTALL_FAILED, 0 for success;
                                         // nullopt: the helper dies without a report
  int exitCode;
};

class AutomaticInstallTest : public CompletionTest,
                             public ::testing::WithParamInterface<AutoCase> {};

TEST_P(AutomaticInstallTest, EndsTheProgramWithItsOutcome) {
  const AutoCase& c = GetParam();
  if (c.wow64) Wow64();
  lib.installResult = c.libraryError ? 2 : 1;
  lib.lastInstallError = c.libraryError.value_or(0);
  WriteIni("AutoMode=1\r\n" + c.extra);
  // The helper reports (or dies) while the program waits for it.
  bool acted = false;
  win.ui.onIdle = [&] {
    if (acted || win.processes.started.empty()) return false;
    acted = true;
    if (!c.helperReport) {
      win.processes.End(0, 0xC0000005);
      return true;
    }
    if (*c.helperReport == 0) {
      HelperInstalls();
      ui::Application().MainForm()->Post(WM_INSTALL_SUCCEEDED, 0, 0);
    } else {
      ui::Application().MainForm()->Post(WM_INSTALL_FAILED, 0, *c.helperReport);
    }
    win.processes.End(0, 0);
    return true;
  };
  EXPECT_EQ(RunInstaller({"/Hide"}), c.exitCode);
  win.ui.onIdle = nullptr;
  EXPECT_EQ(acted, c.wow64);
  // An installed printer was finished before the program closed; automatic
  // mode shows no success box.
  const bool installed = c.exitCode == kExitInstalled || c.exitCode == kExitRestartNeeded;
  EXPECT_EQ(win.spooler.defaultPrinter == kModel, installed);
  for (const std::string& box : Boxes()) EXPECT_EQ(box.find("successfully"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, AutomaticInstallTest,
    ::testing::Values(
        AutoCase{"Installed", "QuiteMode=1\r\n", false, std::nullopt, std::nullopt, kExitInstalled},
        AutoCase{"InstalledWithRestartNotice", "QuiteMode=1\r\nPrintProcess=WinPrint\r\n", false,
                 std::nullopt, std::nullopt, kExitRestartNeeded},
        AutoCase{"LibraryFails", "QuiteMode=1\r\n", false, 5u, std::nullopt, kExitFailed},
        AutoCase{"UsbQuestionNotAnsweredYes", "", false, std::nullopt, std::nullopt,
                 kExitCancelled},
        AutoCase{"LibraryMissing", "QuiteMode=1\r\nInstallDll2K=i386\\none.dll\r\n", false,
                 std::nullopt, std::nullopt, kExitFailed},
        AutoCase{"HelperInstalls", "QuiteMode=1\r\n", true, std::nullopt, 0u, kExitInstalled},
        AutoCase{"HelperFails", "QuiteMode=1\r\n", true, std::nullopt, 5u, kExitFailed},
        AutoCase{"HelperDies", "QuiteMode=1\r\n", true, std::nullopt, std::nullopt, kExitFailed}),
    [](const ::testing::TestParamInfo<AutoCase>& info) { return std::string(info.param.name); });

TEST_F(CompletionTest, HiddenRunWithTheSearchDialogNeverShowsTheMainWindow) {
  WriteIni("QuiteMode=1\r\nForceOnlineCheck=1\r\n");
  UsbPrinterConnected();
  auto w = Start({"/Hide"});
  bool mainShown = false;
  win.ui.onIdle = [&] {
    mainShown = mainShown || w->Main.Visible();
    return false;
  };
  w->Main.BbtnStart.Click();
  win.ui.onIdle = nullptr;
  EXPECT_FALSE(mainShown);
  EXPECT_FALSE(w->Main.Visible());
  EXPECT_NE(win.spooler.Find(kModel), nullptr);
  EXPECT_EQ(lib.installCalls.back().portName, "USB003");
}

// An INF that cannot be read while the dialog searches: one error box, shown
// with the search stopped; the run goes on as the dialog is left.
TEST_F(CompletionTest, ErrorInsideTheSearchStopsItsStepsBeforeTheBox) {
  WriteIni("QuiteMode=1\r\nForceOnlineCheck=1\r\n");
  auto w = Start();
  const std::string inf = *win.files.Contents("i386\\XP100.inf");
  int idle = 0;
  bool stepsRanDuringBox = false;
  win.ui.onIdle = [&] {
    if (idle++ == 0) {
      win.files.MakeUnreadable("i386\\XP100.inf");
      return true;
    }
    if (Boxes().empty()) return false;
    stepsRanDuringBox = w->Searching().tmrSteps.Enabled();
    win.files.AddFile("i386\\XP100.inf", inf);  // readable again
    return win.ui.Click(w->Searching().btnCancelSearch.Handle());
  };
  w->Main.BbtnStart.Click();
  win.ui.onIdle = nullptr;
  ASSERT_GE(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].rfind("box 10 Printer Installer: ", 0), 0u) << Boxes()[0];
  EXPECT_FALSE(stepsRanDuringBox);
  EXPECT_EQ(Boxes().size(), 2u);  // the error, then the success
  EXPECT_EQ(lib.installCalls.back().hardwareId, "LPTOFFLINE\\" + kHwid);
}

// A close request while the run is on the stack waits for it; while only the
// helper is awaited, the window closes at once.
TEST_F(CompletionTest, CloseWaitsForTheRunOnTheStackButNotForTheHelper) {
  WriteIni("QuiteMode=1\r\nForceOnlineCheck=1\r\n");
  UsbPrinterConnected();
  auto w = Start();
  bool quitDuringRun = false;
  bool asked = false;
  win.ui.onIdle = [&] {
    if (asked) return false;
    asked = true;
    w->Main.Close();
    quitDuringRun = win.ui.Quitting();
    return true;
  };
  w->Main.BbtnStart.Click();
  win.ui.onIdle = nullptr;
  ASSERT_TRUE(asked);
  EXPECT_FALSE(quitDuringRun);
  EXPECT_NE(win.spooler.Find(kModel), nullptr);
  EXPECT_TRUE(win.ui.Quitting());
}

TEST_F(CompletionTest, WindowClosesWhileOnlyTheHelperIsAwaited) {
  Wow64();
  WriteIni("QuiteMode=1\r\n");
  auto w = Start();
  w->Main.BbtnStart.Click();
  ASSERT_TRUE(w->Main.AwaitingHelper());
  EXPECT_TRUE(win.ui.CloseBox(w->Main.Handle()));
  EXPECT_TRUE(win.ui.Quitting());
  win.processes.End(0, 0);
}

}  // namespace
}  // namespace pinst
