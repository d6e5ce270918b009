// The install run on 32-bit Windows, read back as what it asked of the system
// and of the user, in order.
#include "app/install_codes.h"
#include "app/install_fixture.h"
#include "ui/application.h"

namespace pinst {
namespace {

using testdata::Box;
using testdata::Failure;
using testdata::kHwid;
using testdata::kModel;
using Steps = std::vector<std::string>;

std::string UsbQuestion(int answer) {
  return Box(kMbYesNo | kMbIconQuestion, "Notice",
             "If you need to use USB port,connect printer with USB cable .\r\nPower on printer, "
             "click \"YES\" when finding out the USB printer.\r\nAre you sure to install?",
             answer);
}
const std::string kUsbQuestion = UsbQuestion(kIdYes);
const Steps kRescan = {"sleep 100",
                       "cmd cmd /C .\\i386\\devcon.exe rescan",
                       "cmd cmd /C devcon.exe status *LPTENUM\\*",
                       "sleep 100",
                       "sleep 0",
                       "sleep 50",
                       "sleep 0",
                       "sleep 100"};
const Steps kAfterServiceStop = {"sleep 100", "sleep 0", "sleep 50", "sleep 0", "sleep 100"};
const Steps kAfterInstall = {"sleep 100", "sleep 0", "sleep 100"};
const Steps kAfterRemoval = {"sleep 500", "sleep 0", "sleep 100", "sleep 0", "sleep 100"};

Steps Join(std::initializer_list<Steps> parts) {
  Steps all;
  for (const Steps& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

std::string Finish(const std::string& port, const std::string& processor = "WinPrint") {
  return "SetPrinter " + kModel + " driver=" + kModel + " port=" + port +
         " processor=" + processor + " datatype=RAW share= attributes=40";
}

std::string Success(const std::string& port, const std::string& extra = "") {
  return Box(kMbOk | kMbIconInformation, "Notice",
             "Printer driver successfully install on " + port + " port!" + extra, kIdOk);
}

class InstallRunTest : public testdata::InstallTest {
 protected:
  // The window is given back to the user at the end of every run.
  void ExpectWindowBack(const TMainForm& form) {
    EXPECT_TRUE(form.Visible());
    EXPECT_TRUE(form.BbtnStart.Enabled());
    EXPECT_TRUE(form.BbtnExit.Enabled());
    EXPECT_TRUE(form.LvPrinters.Enabled());
    EXPECT_FALSE(win.ui.BusyCursor());
    EXPECT_EQ(win.ui.GetFocus(), form.BbtnExit.Handle());
    EXPECT_EQ(form.Run().FInstallState, kInstallFinished);
    EXPECT_FALSE(form.RunInProgress());
  }
};

TEST_F(InstallRunTest, OnlineUsbPrinterIsInstalledOnItsPortAndFinished) {
  WriteIni("ServiceName=NvPrnMon\r\nServiceExe=i386\\NvPrnMon.exe\r\n");
  UsbPrinterConnected();
  auto w = Start();
  Answer({kIdYes});
  ASSERT_TRUE(win.ui.Click(w->Main.BbtnStart.Handle()));
  EXPECT_EQ(Trace(), Join({{kUsbQuestion},
                           kRescan,
                           {"cmd sc query NvPrnMon", "cmd sc stop NvPrnMon", "sleep 100"},
                           kAfterServiceStop,
                           {"FuncInst2K i386\\XP100.inf " + kHwid + " USB003"},
                           kAfterInstall,
                           {"cmd sc query NvPrnMon", "cmd sc start NvPrnMon",
                            "SetDefaultPrinter " + kModel, Finish("USB003"), Success("USB003")}}));
  const sim::SimPrinter* printer = win.spooler.Find(kModel);
  ASSERT_NE(printer, nullptr);
  EXPECT_EQ(printer->info.portName, "USB003");
  EXPECT_EQ(win.spooler.defaultPrinter, kModel);
  ExpectWindowBack(w->Main);
  EXPECT_EQ(win.ui.Window(w->Main.Handle()).topMostChanges, (std::vector<bool>{true, false}));
  EXPECT_EQ(w->Main.Run().FPrinterName, "");
}

// A model whose library reports no device: where the online run went on
// "LPT1:" the offline install follows at once; on a USB port the user chooses.
TEST_F(InstallRunTest, NoDeviceOnlineLeadsOfflineDirectlyOrByTheUsersChoice) {
  const std::string question =
      "Online Install Fail !\r\n\r\nIf you want to retry, Please connect with Port USB003, power "
      "on you printer! and then click \"Yes\";\r\n\r\nClick \"No\" would enforce Offline install, "
      "The printer port set as LPT1:, Please set the printer port on your self (Such as USB "
      "port);\r\n\r\nClick \"Cancel\" to Cancel install.";
  const std::string online = "FuncInst2K i386\\XP100.inf " + kHwid + " ";
  const std::string offline = "FuncInst2K i386\\XP100.inf LPTOFFLINE\\" + kHwid + " LPT1:";
  struct Case {
    const char* name;
    bool usb;
    int answer;  // to the online-failure question
    Steps installs;
    bool installed;
  } cases[] = {
      {"not found", false, 0, {online + "LPT1:", offline}, true},
      {"USB, Yes retries online", true, kIdYes, {online + "USB003", online + "USB003"}, true},
      {"USB, No installs offline", true, kIdNo, {online + "USB003", offline}, true},
      {"USB, Cancel ends", true, kIdCancel, {online + "USB003"}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    win.spooler.printers.clear();
    win.spooler.defaultPrinter.reset();
    WriteIni("BeforeRun=before.txt\r\n");
    win.files.AddFile("before.txt", "notes");
    lib.devices.clear();
    if (c.usb) UsbPrinterConnected();
    libraryAnswers = {{2, kErrorNoSuchDevinst}, {1, 0}};
    auto w = Start();
    Answer({kIdYes});
    if (c.usb) Answer({c.answer, kIdYes});
    w->Main.BbtnStart.Click();
    Steps installs;
    for (const std::string& step : Trace()) {
      if (step.rfind("FuncInst2K", 0) == 0) installs.push_back(step);
    }
    EXPECT_EQ(installs, c.installs);
    // The click's own steps are not repeated by the retry.
    const Steps steps = Trace();
    EXPECT_EQ(std::count(steps.begin(), steps.end(), "shell open before.txt show 0"), 1);
    const Steps boxes = Boxes();
    ASSERT_FALSE(boxes.empty());
    if (c.usb) {
      EXPECT_EQ(boxes[1], Box(kMbYesNoCancel | kMbIconWarning, "Notice", question, c.answer));
    }
    EXPECT_EQ(win.spooler.Find(kModel) != nullptr, c.installed);
    EXPECT_EQ(w->Main.Outcome(), c.installed ? TRunOutcome::kInstalled : TRunOutcome::kCancelled);
    ExpectWindowBack(w->Main);
  }
}

TEST_F(InstallRunTest, OfflineRunAsksNothingAndSkipsTheRescan) {
  WriteIni();
  UsbPrinterConnected();
  auto w = Start();
  w->Main.RunInstall(false);
  EXPECT_EQ(Trace(), Join({kAfterServiceStop,
                           {"FuncInst2K i386\\XP100.inf LPTOFFLINE\\" + kHwid + " LPT1:"},
                           kAfterInstall,
                           {"SetDefaultPrinter " + kModel, Finish("LPT1:"), Success("LPT1:")}}));
}

// An offline run that reports no device is a plain failure: retrying it offline
// would start the same run again without end.
TEST_F(InstallRunTest, OfflineRunReportingNoDeviceIsShownAsAFailure) {
  WriteIni();
  lib.installResult = 2;
  lib.lastInstallError = kErrorNoSuchDevinst;
  auto w = Start();
  w->Main.RunInstall(false);
  EXPECT_EQ(Boxes(), (Steps{Failure("E000020B")}));
  EXPECT_EQ(lib.installCalls.size(), 1u);
}

TEST_F(InstallRunTest, SameNamePrinterIsReplacedAfterTheUpgradeQuestion) {
  const std::string upgrade = Box(kMbOkCancel | kMbIconQuestion, "Notice",
                                  "Exist The Same Printer Name:" + kModel +
                                      "\r\nYou Can Upgrade This Driver, Do You Want To Do This?",
                                  kIdOk);
  struct Case {
    const char* name;
    std::string extra;
    std::vector<int> answers;
    Steps boxes;
  } cases[] = {
      {"asked", "", {kIdYes, kIdOk}, {kUsbQuestion, upgrade, Success("LPT1:")}},
      {"quiet", "QuiteMode=1\r\n", {}, {Success("LPT1:")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    win.spooler.printers.clear();
    win.spooler.AddLocalPrinter(kModel, "Old Driver", "LPT2:");
    WriteIni(c.extra);
    lib.installCalls.clear();
    auto w = Start();
    win.system.messageBoxAnswers.assign(c.answers.begin(), c.answers.end());
    w->Main.BbtnStart.Click();
    EXPECT_EQ(Boxes(), c.boxes);
    const Steps steps = Trace();
    auto removed = std::find(steps.begin(), steps.end(), "DeletePrinter " + kModel);
    ASSERT_NE(removed, steps.end());
    EXPECT_TRUE(std::equal(kAfterRemoval.begin(), kAfterRemoval.end(), removed + 1));
    ASSERT_EQ(lib.installCalls.size(), 1u);
    EXPECT_EQ(win.spooler.Find(kModel)->info.driverName, kModel);
  }
}

// The run ends without installing; nothing but the run's own message is shown
// (an earlier run's failure code is not reported again), and the window comes back.
TEST_F(InstallRunTest, SameNamePrinterThatStaysEndsTheRunWithItsOwnMessageOnly) {
  const std::string busy = Box(kMbOk | kMbIconError, "Notice",
                               "Printer that you appointed still print the task, please retry "
                               "later! ",
                               kIdOk);
  const std::string declined = Box(kMbOkCancel | kMbIconQuestion, "Notice",
                                   "Exist The Same Printer Name:" + kModel +
                                       "\r\nYou Can Upgrade This Driver, Do You Want To Do This?",
                                   kIdCancel);
  const std::string cancelled = Box(kMbOk, "Notice", "Install cancel by user !", kIdOk);
  struct Case {
    const char* name;
    int upgradeAnswer;
    size_t jobs;
    bool refuseDelete;
    Steps boxes;
    TRunOutcome outcome;
  } cases[] = {
      {"declined",
       kIdCancel,
       0,
       false,
       {kUsbQuestion, declined, cancelled},
       TRunOutcome::kCancelled},
      {"busy",
       kIdOk,
       2,
       false,
       {kUsbQuestion,
        Box(kMbOkCancel | kMbIconQuestion, "Notice",
            "Exist The Same Printer Name:" + kModel +
                "\r\nYou Can Upgrade This Driver, Do You "
                "Want To Do This?",
            kIdOk),
        busy},
       TRunOutcome::kFailed},
      {"not removable",
       kIdOk,
       0,
       true,
       {kUsbQuestion, Box(kMbOkCancel | kMbIconQuestion, "Notice",
                          "Exist The Same Printer Name:" + kModel +
                              "\r\nYou Can Upgrade This Driver, "
                              "Do You Want To Do This?",
                          kIdOk)},
       TRunOutcome::kFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    win.spooler.printers.clear();
    win.spooler.AddLocalPrinter(kModel, "Old Driver", "LPT2:");
    win.spooler.AddJobs(kModel, c.jobs);
    if (c.refuseDelete) win.spooler.failDelete = 5;
    WriteIni();
    auto w = Start();
    w->Main.Run().FErrorCode = 0x1234;  // left by an earlier run
    Answer({kIdYes, c.upgradeAnswer});
    w->Main.BbtnStart.Click();
    EXPECT_EQ(Boxes(), c.boxes);
    EXPECT_TRUE(lib.installCalls.empty());
    EXPECT_EQ(win.spooler.Find(kModel)->info.driverName, "Old Driver");
    EXPECT_EQ(w->Main.Outcome(), c.outcome);
    ExpectWindowBack(w->Main);
    win.spooler.failDelete.reset();
  }
}

// Nothing of a run that ended early is left for the next: once the old printer's
// queue is empty, the next run replaces it and ends as installed.
TEST_F(InstallRunTest, RunAfterOneThatEndedEarlyInstallsAndFinishes) {
  WriteIni();
  win.spooler.AddLocalPrinter(kModel, "Old Driver", "LPT2:");
  win.spooler.AddJobs(kModel, 1);
  auto w = Start();
  Answer({kIdYes, kIdOk, kIdOk});
  w->Main.BbtnStart.Click();
  ASSERT_EQ(w->Main.Outcome(), TRunOutcome::kFailed);
  ASSERT_TRUE(lib.installCalls.empty());
  win.spooler.Find(kModel)->jobs.clear();
  win.trace.Clear();
  Answer({kIdYes, kIdOk});
  w->Main.BbtnStart.Click();
  EXPECT_EQ(lib.installCalls.size(), 1u);
  EXPECT_EQ(Boxes().back(), Success("LPT1:"));
  EXPECT_EQ(win.spooler.defaultPrinter, kModel);
  EXPECT_EQ(w->Main.Outcome(), TRunOutcome::kInstalled);
  ExpectWindowBack(w->Main);
}

// The search found nothing and the user goes on: the install stays online,
// without the offline prefix; only Cancel makes it offline.
TEST_F(InstallRunTest, SearchThatFoundNothingAndGoesOnInstallsOnline) {
  WriteIni("QuiteMode=1\r\nForceOnlineCheck=1\r\n");
  auto w = Start();
  win.ui.onIdle = [&] {
    if (!w->Searching().Visible() || w->Searching().btnCancelSearch.Caption() != "Continue Setup") {
      return false;
    }
    return win.ui.PressKey(w->Searching().Handle(), UiKey::kReturn);
  };
  w->Main.BbtnStart.Click();
  win.ui.onIdle = nullptr;
  ASSERT_EQ(lib.installCalls.size(), 1u);
  EXPECT_EQ(lib.installCalls[0].hardwareId, kHwid);
  EXPECT_EQ(w->Main.Outcome(), TRunOutcome::kInstalled);
}

// Only Windows 2000 deletes the replaced printer's driver.
TEST_F(InstallRunTest, SameNameReplacedOnXpKeepsItsDriver) {
  WriteIni("QuiteMode=1\r\n");
  win.spooler.AddLocalPrinter(kModel, "Old Driver", "LPT2:");
  auto w = Start();
  w->Main.BbtnStart.Click();
  EXPECT_EQ(lib.installCalls.size(), 1u);
  EXPECT_TRUE(win.spooler.driverDeletions.empty());
}

TEST_F(InstallRunTest, Windows2000RemovesTheOldDriverAndPutsThePrinterBackOnFailure) {
  win.SetVersion(5, 0);
  win.files.AddFile("i386\\Setup.exe", "tool");
  win.spooler.AddLocalPrinter(kModel, "Tessaly Driver", "LPT2:");
  WriteIni("QuiteMode=1\r\nDefaultPortName=LPT3:\r\nRegSetImage2000=i386\\Setup.exe\r\n");
  // The failing install has copied the driver again before it gave up.
  lib.onInstall = [this](const sim::SimInstallCall&) {
    win.spooler.drivers.push_back("Tessaly Driver");
  };
  lib.installResult = 2;
  lib.lastInstallError = 5;
  auto w = Start();
  w->Main.BbtnStart.Click();
  const Steps steps = Trace();
  const Steps expectedOrder = {"start C:\\dist\\i386\\Setup.exe Auto",
                               "DeletePrinter " + kModel,
                               "DeletePrinterDriver Tessaly Driver",
                               "FuncInst2K i386\\XP100.inf " + kHwid + " LPT1:",
                               "start C:\\dist\\i386\\Setup.exe Auto Disable",
                               Box(kMbOk | kMbIconError, "Notice",
                                   "Driver Install Fail Now(0x00000005)\r\nPlease Retry in wait "
                                   "for a minute !\r\nThe printer \"" +
                                       kModel + "\" that was there before has been restored.",
                                   kIdOk)};
  auto at = steps.begin();
  for (const std::string& step : expectedOrder) {
    at = std::find(at, steps.end(), step);
    ASSERT_NE(at, steps.end()) << step;
  }
  const sim::SimPrinter* back = win.spooler.Find(kModel);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->info.driverName, "Tessaly Driver");
  EXPECT_EQ(back->info.portName, "LPT2:");
}

TEST_F(InstallRunTest, ServiceThatWillNotStartTwiceLeadsToTheRestartBatch) {
  WriteIni(
      "QuiteMode=1\r\nServiceName=NvPrnMon\r\nServiceExe=i386\\NvPrnMon.exe\r\n"
      "AfterRun=after.exe\r\n");
  win.files.AddFile("after.exe", "program");
  ServiceRuns(false);
  auto w = Start();
  w->Main.BbtnStart.Click();
  const Steps steps = Trace();
  auto install = std::find_if(steps.begin(), steps.end(),
                              [](const std::string& s) { return s.rfind("FuncInst2K", 0) == 0; });
  ASSERT_NE(install, steps.end());
  const Steps expected = Join(
      {kAfterInstall,
       {"winexec after.exe show 0", "cmd sc query NvPrnMon", "cmd sc start NvPrnMon", "sleep 100",
        "sleep 0", "sleep 100", "cmd sc query NvPrnMon", "cmd sc start NvPrnMon"}});
  EXPECT_EQ(Steps(install + 1, install + 1 + static_cast<long>(expected.size())), expected);
  EXPECT_EQ(Boxes()[0],
            Box(kMbOk | kMbIconInformation, "Information",
                "\xB3\xCC\xD0\xF2\xC6\xF4\xB6\xAF\xB7\xFE\xCE\xF1\xCA\xA7\xB0\xDC\xA3\xAC\xB5\xE3"
                "\xBB\xF7\xC8\xB7\xB6\xA8\xBA\xF3\xD7\xD4\xB6\xAF\xD6\xD8\xD0\xC2\xC6\xF4\xB6\xAF"
                "\xA1\xA3",
                kIdOk));
  EXPECT_NE(std::find(steps.begin(), steps.end(), "winexec C:\\dist\\\\Setup.bat show 5"),
            steps.end());
}

TEST_F(InstallRunTest, MissingLibraryRaisesItsErrorAndTheWindowComesBack) {
  for (bool wow64 : {false, true}) {
    SCOPED_TRACE(wow64 ? "WOW64" : "32-bit");
    WriteIni("QuiteMode=1\r\nInstallDll2K=i386\\none.dll\r\n");
    if (wow64) Wow64();
    auto w = Start();
    // The Install button's click runs as the message loop runs it.
    ui::Application().Dispatch([&] { w->Main.BbtnStart.Click(); });
    EXPECT_EQ(
        Boxes(),
        (Steps{Box(kMbOk | kMbIconError, "Printer Installer", "The DLL file not found!", kIdOk)}));
    ExpectWindowBack(w->Main);
    EXPECT_EQ(win.ui.Window(w->Main.Handle()).topMostChanges.back(), false);
  }
}

// The list keeps the name it showed; the run reads the selected model's INF itself.
TEST_F(InstallRunTest, RunReadsTheSelectedModelsInfItself) {
  WriteIni();
  auto w = Start();
  ASSERT_EQ(w->Main.LvPrinters.ItemCaption(0), kModel);
  win.files.RemoveFile("i386\\XP100.inf");
  Answer({kIdYes});
  ui::Application().Dispatch([&] { w->Main.BbtnStart.Click(); });
  EXPECT_NE(Boxes().back().find("Cannot read the printer model from the file"), std::string::npos);
  EXPECT_EQ(lib.installCalls.size(), 0u);
  EXPECT_EQ(w->Main.LvPrinters.ItemCaption(0), kModel);
}

TEST_F(InstallRunTest, DeclinedUsbQuestionOrNoModelChangesNothing) {
  WriteIni();
  auto w = Start();
  Answer({kIdNo});
  w->Main.BbtnStart.Click();
  EXPECT_EQ(Trace(), (Steps{UsbQuestion(kIdNo)}));
  EXPECT_TRUE(w->Main.BbtnStart.Enabled());
  EXPECT_EQ(w->Main.Outcome(), TRunOutcome::kCancelled);

  ASSERT_TRUE(win.ui.SelectItem(w->Main.LvPrinters.Handle(), -1));
  win.trace.Clear();
  w->Main.BbtnStartClick();
  EXPECT_TRUE(win.trace.Lines().empty());
  EXPECT_FALSE(w->Main.TmrAutoInstall.Enabled());
  EXPECT_EQ(win.ui.Window(w->Main.Handle()).topMostChanges,
            (std::vector<bool>{true, false, true, false}));
}

}  // namespace
}  // namespace pinst
