// Whole install runs with one failing call each: a run is made once to count the
// calls the program makes through the platform, then once per call with that call
// failing. Every run must end, give the window back, keep the printers the user
// did not agree to lose, report a failure with a non-zero exit code, and say
// what went wrong.
#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <map>
#include <set>

#include "app/install_codes.h"
#include "app/install_fixture.h"
#include "app/installer_main.h"
#include "ui/application.h"

namespace pinst {
namespace {

using testdata::kModel;

const std::string kOtherPrinter = "Office Laser";
const std::string kOldDriver = "Old Driver";
// Simulated time after which a run counts as one that never ends.
constexpr uint64_t kEndlessMs = 3600000;

enum class Mode { kInProcess, kWow64, kAutomatic, kInteractive, kWindows2000 };

struct Scenario {
  const char* name;
  Mode mode;
};

// A loop that waits past kEndlessMs: not a std::exception, so no handler of the
// program swallows it.
struct Endless {};

struct Outcome {
  std::string failed;  // the call that failed; empty in the counting run
  std::string ending;  // "ended", "hang", "crash: ..."
  bool installed = false;
  std::optional<int> exitCode;
  bool windowBack = true;
  bool otherKept = true;
  bool sameNameKept = true;
  bool removalAgreed = false;
  std::vector<std::string> boxes;
  std::vector<std::string> debugLines;
};

// One simulated Windows with the distribution, a printer of the model's name, an
// unrelated printer with queued jobs, and a connected USB printer.
class FaultRun : public testdata::InstallTest {
 public:
  explicit FaultRun(Mode mode) : mode_(mode) {
    std::string extra =
        "ServiceName=NvPrnMon\r\nServiceExe=i386\\NvPrnMon.exe\r\n"
        "BeforeRun=before.txt\r\nAfterRun=after.exe\r\n";
    extra += mode == Mode::kInteractive ? "ForceOnlineCheck=1\r\n" : "QuiteMode=1\r\n";
    if (mode == Mode::kAutomatic) extra += "AutoMode=1\r\n";
    if (mode == Mode::kWindows2000) {
      win.SetVersion(5, 0);
      win.files.AddFile("i386\\Setup.exe", "tool");
      extra += "DefaultPortName=LPT3:\r\nRegSetImage2000=i386\\Setup.exe\r\n";
      win.console.Script("net stop NvPrnMon", {"The service was stopped successfully.\r\n"});
      win.console.Script("net start NvPrnMon", {"started successfully\r\n"});
      win.files.AddFile("i386\\NvPrnMon.exe", "service");
    }
    WriteIni(extra);
    win.files.AddFile("before.txt", "notes");
    win.files.AddFile("after.exe", "program");
    win.libraries.AddLibrary("i386\\WebPrint.ocx").hasDllRegisterServer = true;
    win.spooler.AddLocalPrinter(kModel, kOldDriver, "LPT2:");
    win.spooler.AddLocalPrinter(kOtherPrinter, "Laser Driver", "LPT1:");
    win.spooler.AddJobs(kOtherPrinter, 2);
    win.spooler.defaultPrinter = kOtherPrinter;
    UsbPrinterConnected();
    if (mode == Mode::kWow64) {
      Wow64();
      win.processes.SetProgram("X64\\Instavo64.exe", {0, std::nullopt});
    }
  }
  void TestBody() override {}

  // Runs the install with call number failCall failing (0: none).
  Outcome Run(uint64_t failCall) {
    Outcome out;
    if (mode_ == Mode::kInteractive) Answer({kIdYes, kIdOk});
    win.ui.onIdle = [this] { return ActAsUserAndHelper(); };
    // The automatic install is counted from the program's start; the others
    // once the window stands.
    const auto arm = [&] {
      win.faults.Restart();
      win.faults.failCall = failCall;
    };
    try {
      if (mode_ == Mode::kAutomatic) {
        arm();
        out.exitCode = RunInstaller({"/Hide"});
      } else {
        windows_ = Start();
        arm();
        if (mode_ == Mode::kInteractive) Answer({kIdYes, kIdOk});
        TMainForm& main = windows_->Main;
        ui::Application().Dispatch([&] { win.ui.Click(main.BbtnStart.Handle()); });
        ui::Application().RunUntil([&] { return !main.RunInProgress(); });
        out.windowBack = main.Visible() && main.BbtnStart.Enabled() && main.BbtnExit.Enabled() &&
                         !win.ui.BusyCursor() && !main.RunInProgress();
      }
      out.ending = "ended";
    } catch (const Endless&) {
      out.ending = "hang";
    } catch (const sim::SimUiStalled& stalled) {
      out.ending = "hang: " + stalled.what;
    } catch (const std::exception& error) {
      out.ending = std::string("crash: ") + error.what();
    }
    win.ui.onIdle = nullptr;
    out.failed = win.faults.Failed();
    const sim::SimPrinter* model = win.spooler.Find(kModel);
    out.installed = model && model->info.driverName == kModel;
    out.sameNameKept = model != nullptr;
    out.otherKept = win.spooler.Find(kOtherPrinter) != nullptr;
    out.boxes = Boxes();
    out.removalAgreed = mode_ != Mode::kInteractive;
    for (const std::string& box : out.boxes) {
      if (box.find("Exist The Same Printer Name") != std::string::npos &&
          box.rfind(" -> 1") == box.size() - 5) {
        out.removalAgreed = true;
      }
    }
    out.debugLines = win.system.debugLines;
    return out;
  }

  size_t CallsCounted() const { return win.faults.Calls().size(); }

 private:
  // What the people and programs around the installer do while it waits: the
  // 64-bit helper installs and reports, the user gives up a search that found
  // nothing. Past kEndlessMs the run never ends.
  bool ActAsUserAndHelper() {
    if (win.clock.NowMs() > kEndlessMs) throw Endless{};
    if (mode_ == Mode::kWow64 && !helperActed_ && !win.processes.started.empty()) {
      helperActed_ = true;
      win.spooler.drivers.push_back(kModel);
      if (sim::SimPrinter* old = win.spooler.Find(kModel)) {
        old->info.driverName = kModel;
      } else {
        win.spooler.AddLocalPrinter(kModel, kModel, "USB003");
      }
      ui::Application().MainForm()->Post(WM_INSTALL_SUCCEEDED, 0, 0);
      win.processes.End(0, 0);
      return true;
    }
    if (TFormSearching* search = windows_ ? windows_->SearchingMade() : nullptr;
        search && search->Visible()) {
      return win.ui.Click(search->btnCancelSearch.Handle());
    }
    return false;
  }

  Mode mode_;
  bool helperActed_ = false;
  std::unique_ptr<TInstallerWindows> windows_;
};

// Lines of after that before does not have.
std::vector<std::string> Added(const std::vector<std::string>& before,
                               const std::vector<std::string>& after) {
  std::multiset<std::string> left(before.begin(), before.end());
  std::vector<std::string> added;
  for (const std::string& line : after) {
    auto it = left.find(line);
    if (it == left.end()) {
      added.push_back(line);
    } else {
      left.erase(it);
    }
  }
  return added;
}

// What the outcome table counts for one run.
std::vector<std::string> Tally(const Outcome& run, const Outcome& clean) {
  std::vector<std::string> marks;
  marks.push_back(run.installed ? "installed" : "not installed");
  if (!Added(clean.boxes, run.boxes).empty()) marks.push_back("new box");
  if (!Added(clean.debugLines, run.debugLines).empty()) marks.push_back("new debug line");
  if (run.exitCode) marks.push_back("exit " + std::to_string(*run.exitCode));
  if (run.sameNameKept) marks.push_back("same-name printer kept");
  return marks;
}

class InstallFaultTest : public ::testing::TestWithParam<Scenario> {};

TEST_P(InstallFaultTest, EveryFailingCallEndsTheRunSafelyAndSaysSo) {
  const Scenario& scenario = GetParam();
  Outcome clean;
  size_t calls = 0;
  {
    FaultRun run(scenario.mode);
    clean = run.Run(0);
    calls = run.CallsCounted();
  }
  ASSERT_EQ(clean.ending, "ended");
  ASSERT_TRUE(clean.installed);
  ASSERT_GT(calls, 20u);

  // Per kind of call: how often each outcome was seen.
  std::map<std::string, std::map<std::string, int>> table;
  for (uint64_t n = 1; n <= calls; ++n) {
    FaultRun faulty(scenario.mode);
    const Outcome run = faulty.Run(n);
    SCOPED_TRACE("call #" + std::to_string(n) + " " + run.failed);
    ASSERT_FALSE(run.failed.empty());
    EXPECT_EQ(run.ending, "ended");
    EXPECT_TRUE(run.windowBack);
    EXPECT_TRUE(run.otherKept);
    // Windows 2000 puts the removed printer back after a failed install, on its
    // old driver. When the library's install itself fails after that driver was
    // deleted, the driver is gone and the printer cannot come back: that must
    // at least be said.
    const bool installFailedWithoutDriver =
        run.failed == "library.FuncInst2K" &&
        std::any_of(run.debugLines.begin(), run.debugLines.end(), [](const std::string& line) {
          return line.rfind("AddPrinter Fail :" + kModel, 0) == 0;
        });
    const bool removalMayStay =
        run.removalAgreed &&
        !(scenario.mode == Mode::kWindows2000 && !run.installed && !installFailedWithoutDriver);
    EXPECT_TRUE(removalMayStay || run.sameNameKept);
    if (run.exitCode && !run.installed) {
      EXPECT_NE(*run.exitCode, kExitInstalled);
      EXPECT_NE(*run.exitCode, kExitRestartNeeded);
    }
    if (!run.installed) {
      EXPECT_FALSE(Added(clean.boxes, run.boxes).empty() &&
                   Added(clean.debugLines, run.debugLines).empty())
          << "a failed run that says nothing";
    }
    for (const std::string& mark : Tally(run, clean)) ++table[run.failed][mark];
    ++table[run.failed]["runs"];
  }

  if (std::getenv("PI_FAULT_TABLE")) {
    std::cout << "== " << scenario.name << ": " << calls << " calls\n";
    for (const auto& [call, marks] : table) {
      std::cout << call << ":";
      for (const auto& [mark, count] : marks) std::cout << " " << mark << "=" << count;
      std::cout << "\n";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Runs, InstallFaultTest,
                         ::testing::Values(Scenario{"InProcess32", Mode::kInProcess},
                                           Scenario{"Wow64Helper", Mode::kWow64},
                                           Scenario{"Automatic", Mode::kAutomatic},
                                           Scenario{"Interactive", Mode::kInteractive},
                                           Scenario{"Windows2000", Mode::kWindows2000}),
                         [](const ::testing::TestParamInfo<Scenario>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace pinst
