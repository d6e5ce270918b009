// /Check, /List and /Uninstall run as a deployment tool starts them: the exit
// code, the lines on standard output, the boxes, and what is left in the spooler.
#include <gtest/gtest.h>

#include <functional>

#include "app/install_codes.h"
#include "app/installer_main.h"
#include "config/lang_strings.h"
#include "platform/sim/sim_windows.h"
#include "sample_dist.h"

namespace pinst {
namespace {

using Lines = std::vector<std::string>;

constexpr const char* kTp58 = "Tessaly TP-58";
constexpr const char* kLog = "C:\\switch.log";
constexpr const char* kWppKey = "Software\\Policies\\Microsoft\\Windows NT\\Printers\\WPP";
constexpr const char* kWppNote =
    "Windows protected print mode is on: no printer maker's driver can be installed";

class SwitchCommandTest : public ::testing::Test {
 protected:
  SwitchCommandTest() {
    InitLangStrings(0x0409);
    testdata::AddTwoModels(win);
  }

  void Installed(const std::string& port = "COM1:") {
    win.spooler.AddLocalPrinter(kTp58, kTp58, port);
  }

  // The program run with args and /Log=; the output it wrote and the boxes it showed.
  int Run(std::vector<std::string> args) {
    args.push_back(std::string("/Log=") + kLog);
    win.trace.Clear();
    win.ui.NewProcess();
    win.system.standardOutput.clear();
    win.files.RemoveFile(kLog);
    return RunInstaller(args);
  }
  Lines Boxes() const {
    Lines boxes;
    for (const std::string& line : win.trace.Lines()) {
      if (line.rfind("box ", 0) == 0) boxes.push_back(line);
    }
    return boxes;
  }
  std::string Log() { return win.files.Contents(kLog).value_or(""); }
  const std::string& Output() const { return win.system.standardOutput; }
  bool HasPrinter(const std::string& name) { return win.spooler.Find(name) != nullptr; }
  bool HasDriver(const std::string& name) {
    const auto& d = win.spooler.drivers;
    return std::find(d.begin(), d.end(), name) != d.end();
  }

  sim::SimWindows win;
};

TEST_F(SwitchCommandTest, CheckSaysWhetherTheModelsPrinterIsInstalled) {
  const struct {
    const char* name;
    std::function<void()> setUp;
    const char* model;
    int exitCode;
    const char* output;
  } cases[] = {
      {"installed, default",
       [&] {
         Installed();
         win.spooler.defaultPrinter = kTp58;
       },
       "/Model=Tessaly TP-58", kExitInstalled,
       "installed: Tessaly TP-58, port COM1:, the default printer\r\n"},
      {"installed, found by section", [&] { Installed("USB003"); }, "/Model=tp58", kExitInstalled,
       "installed: Tessaly TP-58, port USB003, not the default printer\r\n"},
      {"absent", [] {}, "/Model=TP58", kExitUnknownProduct,
       "not installed: Tessaly TP-58, no printer of that name\r\n"},
      {"same name, another driver",
       [&] { win.spooler.AddLocalPrinter("TESSALY TP-58", "Generic / Text Only"); }, "/Model=TP58",
       kExitUnknownProduct,
       "not installed: Tessaly TP-58, the printer of that name uses the driver Generic / Text "
       "Only\r\n"},
      {"two of the name, other drivers: the first is named",
       [&] {
         win.spooler.AddLocalPrinter("Tessaly TP-58", "First Driver");
         win.spooler.AddLocalPrinter("TESSALY TP-58", "Second Driver");
       },
       "/Model=TP58", kExitUnknownProduct,
       "not installed: Tessaly TP-58, the printer of that name uses the driver First Driver\r\n"},
      {"no such model", [&] { Installed(); }, "/Model=Tessaly TP-80", kExitNothingToInstall,
       "unknown model: Tessaly TP-80 is not in install.ini\r\n"},
      {"spooler unreadable",
       [&] {
         Installed();
         win.faults.failName = "spooler.EnumPrintersA";
       },
       "/Model=TP58", kExitFailed,
       "cannot tell: Tessaly TP-58, the spooler's printer list cannot be read (error "
       "0x000006BA)\r\n"},
      // The exit code still says whether the model is installed; the line says why an
      // install would be refused.
      {"absent, protected print mode on",
       [&] { win.registry.SetDword(RegistryView::k64, kWppKey, "WindowsProtectedPrintMode", 1); },
       "/Model=TP58", kExitUnknownProduct,
       "not installed: Tessaly TP-58, no printer of that name; Windows protected print mode is "
       "on: no printer maker's driver can be installed\r\n"},
      {"installed, protected print mode on by the runtime",
       [&] {
         Installed();
         win.system.protectedPrint = true;
       },
       "/Model=TP58", kExitInstalled,
       "installed: Tessaly TP-58, port COM1:, not the default printer; Windows protected print "
       "mode is on: no printer maker's driver can be installed\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    win.spooler.printers.clear();
    win.spooler.defaultPrinter.reset();
    win.faults.failName.clear();
    win.faults.Restart();
    win.registry.DeleteKey(RegistryView::k64, kWppKey);
    win.system.protectedPrint.reset();
    c.setUp();
    EXPECT_EQ(Run({"/Check", c.model}), c.exitCode);
    EXPECT_EQ(Output(), c.output);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_NE(Log().find("Exit code " + std::to_string(c.exitCode)), std::string::npos) << Log();
  }
  // Without a model to check, the command line is refused, still without a box.
  EXPECT_EQ(Run({"/Check", "/Quiet"}), kExitInvalidCommandLine);
  EXPECT_EQ(Output(), "refused: /Check needs /Model=NAME\r\n");
  EXPECT_TRUE(Boxes().empty());
}

// /Verify checks the folder it is started in with the maker's own check.
TEST_F(SwitchCommandTest, VerifyWritesTheFindingsAndEndsWithTheirCode) {
  EXPECT_EQ(Run({"/Verify"}), 1);  // the sample's libraries are not in the sim's folder
  EXPECT_NE(Output().find("error pe-missing: "), std::string::npos) << Output();
  EXPECT_NE(Log().find("error pe-missing: "), std::string::npos);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(Run({"/Verify", "/List"}), kExitInvalidCommandLine);
}

TEST_F(SwitchCommandTest, ListGivesEveryModelTabSeparatedWithTheInstalledOneMarked) {
  Installed();
  win.spooler.AddLocalPrinter("Tessaly XP-100", "Generic / Text Only");  // not the model's driver
  EXPECT_EQ(Run({"-LIST"}), kExitInstalled);
  EXPECT_EQ(Output(),
            "XP100\tTessaly XP-100\ti386\\XP100.inf\tnot installed\t\r\n"
            "TP58\tTessaly TP-58\ti386\\TP58.inf\tinstalled\tCOM1:\r\n");
  EXPECT_TRUE(Boxes().empty());
  EXPECT_NE(Log().find("Output: TP58\tTessaly TP-58"), std::string::npos);

  // A spooler that cannot be asked gives no false "not installed".
  win.faults.failName = "spooler.EnumPrintersA";
  EXPECT_EQ(Run({"/List"}), kExitFailed);
  EXPECT_EQ(Output(),
            "XP100\tTessaly XP-100\ti386\\XP100.inf\tunknown\t\r\n"
            "TP58\tTessaly TP-58\ti386\\TP58.inf\tunknown\t\r\n");

  // Protected print mode: a sixth column, the five as they were, the exit code kept.
  win.faults.failName.clear();
  win.registry.SetDword(RegistryView::k64, kWppKey, "WindowsProtectedPrintGroupPolicyState", 1);
  EXPECT_EQ(Run({"/List"}), kExitInstalled);
  EXPECT_EQ(Output(), std::string("XP100\tTessaly XP-100\ti386\\XP100.inf\tnot installed\t\t") +
                          kWppNote + "\r\nTP58\tTessaly TP-58\ti386\\TP58.inf\tinstalled\tCOM1:\t" +
                          kWppNote + "\r\n");
  EXPECT_NE(Log().find("Windows protected print mode is on (HKLM\\Software\\Policies\\Microsoft\\"
                       "Windows NT\\Printers\\WPP WindowsProtectedPrintGroupPolicyState = 1)"),
            std::string::npos)
      << Log();
}

TEST_F(SwitchCommandTest, QuietUninstallRemovesOnlyWhatIsTheModelsAndIdle) {
  const struct {
    const char* name;
    std::function<void()> setUp;
    int exitCode;
    bool printerLeft, driverLeft;
    const char* output;
  } cases[] = {
      {"printer and driver", [&] { Installed(); }, kExitInstalled, false, false,
       "removed: Tessaly TP-58, driver removed\r\n"},
      {"driver used by another printer",
       [&] {
         Installed();
         win.spooler.AddLocalPrinter("Receipts", kTp58);
       },
       kExitInstalled, false, true,
       "removed: Tessaly TP-58, driver kept: used by the printer Receipts\r\n"},
      {"jobs queued",
       [&] {
         Installed();
         win.spooler.AddJobs(kTp58, 2);
       },
       kExitFailed, true, true,
       "not removed: Tessaly TP-58, 2 job(s) still queued; nothing purged\r\n"},
      {"jobs queued, job list unreadable (Wine)",
       [&] {
         Installed();
         win.spooler.AddJobs(kTp58, 1);
         win.spooler.failEnumJobs = 0;
       },
       kExitFailed, true, true,
       "not removed: Tessaly TP-58, 1 job(s) still queued; nothing purged\r\n"},
      {"idle, no job list, no status level, no unused-files flag (Wine)",
       [&] {
         Installed();
         win.spooler.failEnumJobs = 0;
         win.spooler.failSetStatus = kErrorInvalidLevel;
         win.spooler.failDriverDeletions = 1;
         win.spooler.driverDeletionError = kErrorInvalidParameter;
       },
       kExitInstalled, false, false, "removed: Tessaly TP-58, driver removed\r\n"},
      {"spooler refuses the driver",
       [&] {
         Installed();
         win.spooler.failDriverDeletions = 9;
         win.spooler.driverDeletionError = kErrorAccessDenied;
       },
       kExitInstalled, false, true,
       "removed: Tessaly TP-58, driver kept: the spooler refused to delete it (error "
       "0x00000005)\r\n"},
      {"spooler refuses the printer",
       [&] {
         Installed();
         win.spooler.failDelete = kErrorAccessDenied;
       },
       kExitFailed, true, true,
       "not removed: Tessaly TP-58, the spooler refused to delete the printer (error "
       "0x00000005)\r\n"},
      {"nothing installed", [] {}, kExitUnknownProduct, false, false,
       "not installed: Tessaly TP-58, no printer of that name\r\n"},
      {"same name on another driver",
       [&] { win.spooler.AddLocalPrinter(kTp58, "Generic / Text Only"); }, kExitUnknownProduct,
       true, false,
       "not installed: Tessaly TP-58, the printer of that name uses the driver Generic / Text "
       "Only\r\n"},
      {"driver left by an earlier removal", [&] { win.spooler.drivers.push_back(kTp58); },
       kExitInstalled, false, false,
       "removed: Tessaly TP-58, driver removed (there was no printer of that name)\r\n"},
      // Cannot tell is not "not installed": 1605 would be counted as removed.
      {"driver list unreadable",
       [&] {
         win.spooler.drivers.push_back(kTp58);
         win.faults.failName = "spooler.EnumPrinterDriversA";
       },
       kExitFailed, false, true,
       "cannot tell: Tessaly TP-58, the spooler's driver list cannot be read (error "
       "0x000006BA)\r\n"},
      {"printer gone, driver used by another printer",
       [&] { win.spooler.AddLocalPrinter("Receipts", kTp58); }, kExitUnknownProduct, false, true,
       "not installed: Tessaly TP-58, no printer of that name; its driver is used by the printer "
       "Receipts\r\n"},
      {"listed driver the spooler does not know",
       [&] {
         win.spooler.drivers.push_back(kTp58);
         win.spooler.failDriverDeletions = 9;
         win.spooler.driverDeletionError = kErrorUnknownPrinterDriver;
       },
       kExitUnknownProduct, false, true,
       "not installed: Tessaly TP-58, no printer or driver of that name\r\n"},
      {"default printer removed",
       [&] {
         Installed();
         win.spooler.defaultPrinter = kTp58;
       },
       kExitInstalled, false, false, "removed: Tessaly TP-58, driver removed\r\n"},
      {"driver in use for a moment",
       [&] {
         Installed();
         win.spooler.failDriverDeletions = 1;
       },
       kExitInstalled, false, false, "removed: Tessaly TP-58, driver removed\r\n"},
      {"driver in use",
       [&] {
         Installed();
         win.spooler.failDriverDeletions = 9;
       },
       kExitInstalled, false, true, "removed: Tessaly TP-58, driver kept: in use\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::SimSpooler& s = win.spooler;
    s.printers.clear();
    s.drivers.clear();
    s.failEnumJobs.reset();
    s.failSetStatus.reset();
    s.failDelete.reset();
    s.failDriverDeletions = 0;
    s.driverDeletionError = kErrorPrinterDriverInUse;
    win.faults.failName.clear();
    win.spooler.AddLocalPrinter("Laser", "Laser Driver");
    win.spooler.defaultPrinter = "Laser";
    c.setUp();
    EXPECT_EQ(Run({"/Uninstall", "/Quiet", "/Model=Tessaly TP-58"}), c.exitCode);
    EXPECT_EQ(Output(), c.output);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(HasPrinter(kTp58), c.printerLeft);
    EXPECT_EQ(HasDriver(kTp58), c.driverLeft);
    // Other printers, their driver and the default stay as they were; no job is lost.
    EXPECT_TRUE(HasPrinter("Laser") && HasDriver("Laser Driver"));
    EXPECT_EQ(win.spooler.defaultPrinter, "Laser");
    if (c.printerLeft && HasPrinter(kTp58)) {
      EXPECT_EQ(win.spooler.Find(kTp58)->info.status, 0u);
    }
    EXPECT_NE(Log().find("Exit code " + std::to_string(c.exitCode)), std::string::npos) << Log();
  }
}

// A 32-bit program on 64-bit Windows would list and delete the 32-bit drivers by
// default; the model's driver there is the 64-bit one the helper installed.
TEST_F(SwitchCommandTest, UnderWow64TheDriversOfThe64BitEnvironmentAreMeant) {
  win.system.wow64 = true;
  Installed();
  EXPECT_EQ(Run({"/Uninstall", "/Quiet", "/Model=TP58"}), kExitInstalled);
  ASSERT_FALSE(win.spooler.driverDeletions.empty());
  EXPECT_EQ(win.spooler.driverDeletions.back().environment, "Windows x64");
  win.spooler.drivers.push_back(kTp58);
  EXPECT_EQ(Run({"/Uninstall", "/Quiet", "/Model=TP58"}), kExitInstalled);
  ASSERT_FALSE(win.spooler.driverListEnvironments.empty());
  EXPECT_EQ(win.spooler.driverListEnvironments.back(), "Windows x64");
  win.system.wow64 = false;
  EXPECT_EQ(Run({"/Uninstall", "/Quiet", "/Model=TP58"}), kExitUnknownProduct);
  EXPECT_EQ(win.spooler.driverListEnvironments.back(), std::nullopt);
}

TEST_F(SwitchCommandTest, UninstallAsksAPersonFirstAndTellsTheResult) {
  const std::string question =
      "box 24 Printer Installer: Remove the printer \"Tessaly TP-58\" and its driver from this "
      "computer? -> ";
  const struct {
    const char* name;
    std::function<void()> setUp;
    int answer;
    int exitCode;
    bool printerLeft;
    Lines boxes;
  } cases[] = {
      {"declined", [&] { Installed(); }, kIdNo, kExitCancelled, true, {question + "7"}},
      {"accepted",
       [&] { Installed(); },
       kIdYes,
       kExitInstalled,
       false,
       {question + "6",
        "box 40 Printer Installer: The printer \"Tessaly TP-58\" has been removed. -> 1"}},
      {"accepted, jobs queued",
       [&] {
         Installed();
         win.spooler.AddJobs(kTp58, 1);
       },
       kIdYes,
       kExitFailed,
       true,
       {question + "6",
        "box 10 Printer Installer: The printer \"Tessaly TP-58\" still has print jobs and was not "
        "removed. Let them print or delete them, then try again. -> 1"}},
      {"nothing installed",
       [] {},
       kIdOk,
       kExitUnknownProduct,
       false,
       {"box 40 Printer Installer: No printer of the model \"Tessaly TP-58\" is installed. -> 1"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    win.spooler.printers.clear();
    win.spooler.drivers.clear();
    c.setUp();
    win.system.messageBoxAnswers = {c.answer};
    EXPECT_EQ(Run({"/Uninstall", "/Model=TP58"}), c.exitCode);
    EXPECT_EQ(Boxes(), c.boxes);
    EXPECT_EQ(HasPrinter(kTp58), c.printerLeft);
    EXPECT_EQ(HasDriver(kTp58), c.printerLeft);
    if (c.printerLeft) {
      EXPECT_EQ(win.spooler.Find(kTp58)->jobs.empty(), c.exitCode != kExitFailed);
    }
  }
  // An unknown model is told to a person; /Quiet tells only the log.
  EXPECT_EQ(Run({"/Uninstall", "/Model=TP80"}), kExitNothingToInstall);
  EXPECT_EQ(Boxes(),
            Lines{"box 10 Printer Installer: The model \"TP80\" is not in install.ini. -> 1"});
  EXPECT_EQ(Run({"/Uninstall", "/Model=TP80", "/Quiet"}), kExitNothingToInstall);
  EXPECT_TRUE(Boxes().empty());
}

}  // namespace
}  // namespace pinst
