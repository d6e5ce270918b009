// Single failing calls that once ended an install run badly: silently, as a
// success, or with a printer of the model's name gone for good.
#include "app/install_codes.h"
#include "app/install_fixture.h"
#include "ui/application.h"

namespace pinst {
namespace {

using testdata::Box;
using testdata::Failure;
using testdata::kModel;
using Steps = std::vector<std::string>;

class FaultCaseTest : public testdata::InstallTest {
 protected:
  FaultCaseTest() { win.spooler.AddLocalPrinter(kModel, "Old Driver", "LPT2:"); }
  // Clicks Install with the nth call of that name failing, as the message loop runs it.
  std::unique_ptr<TInstallerWindows> RunWithFault(const std::string& call, uint64_t nth) {
    auto w = Start();
    win.faults.Restart();
    win.faults.failName = call;
    win.faults.failNth = nth;
    ui::Application().Dispatch([&] { win.ui.Click(w->Main.BbtnStart.Handle()); });
    EXPECT_EQ(win.faults.Failed(), call);
    EXPECT_TRUE(w->Main.BbtnStart.Enabled());
    EXPECT_FALSE(w->Main.RunInProgress());
    return w;
  }
};

// The INF could not be read for the model's name: the run cannot tell which
// printer it makes, so it stops with an error naming the file instead of
// reporting a success.
TEST_F(FaultCaseTest, UnreadableInfEndsTheRunWithItsName) {
  WriteIni("QuiteMode=1\r\n");
  auto w = RunWithFault("files.ReadWholeFile", 1);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{Box(
                         kMbOk | kMbIconError, "Printer Installer",
                         "Cannot read the printer model from the file i386\\XP100.inf.", kIdOk)}));
  EXPECT_TRUE(lib.installCalls.empty());
  EXPECT_EQ(w->Main.Outcome(), TRunOutcome::kFailed);
}

// The printer list could not be read: a printer of the model's name may be
// there, so nothing is installed and the spooler's code is shown.
TEST_F(FaultCaseTest, UnreadablePrinterListIsAFailureWithTheSpoolersCode) {
  WriteIni("QuiteMode=1\r\n");
  auto w = RunWithFault("spooler.EnumPrintersA", 3);  // the first two ask whether it runs
  EXPECT_EQ(Boxes(), (std::vector<std::string>{Failure("000006BA")}));
  EXPECT_TRUE(lib.installCalls.empty());
  EXPECT_EQ(win.spooler.Find(kModel)->info.driverName, "Old Driver");
  EXPECT_EQ(w->Main.Outcome(), TRunOutcome::kFailed);
}

// The printer of the same name could not be opened to be removed: the run ends
// as before, with a debug line that says why.
TEST_F(FaultCaseTest, SameNamePrinterThatCannotBeOpenedIsNamedInTheDebugOutput) {
  WriteIni("QuiteMode=1\r\n");
  const size_t before = win.system.debugLines.size();
  RunWithFault("spooler.OpenPrinterA", 4);  // driver, record, jobs, then the removal's own
  ASSERT_GT(win.system.debugLines.size(), before);
  EXPECT_NE(win.system.debugLines.back().find("OpenPrinter Fail :" + kModel), std::string::npos)
      << win.system.debugLines.back();
  EXPECT_EQ(win.spooler.Find(kModel)->info.driverName, "Old Driver");
}

// Windows 2000 removes the old printer and its driver before the install. A run
// that then ends without the library's report (an error raised, the library not
// loaded) still puts the printer back, and the driver is only deleted once the
// install is about to run, so it is there to put the printer back on.
TEST_F(FaultCaseTest, Windows2000PutsThePrinterBackWhenTheRunEndsEarly) {
  struct Case {
    const char* call;
    uint64_t nth;
  } cases[] = {
      {"library.GetProcAddress FuncInst2K", 1},
      {"files.ReadWholeFile", 3},   // the INF, read again for the install's ids
      {"library.LoadLibraryA", 4},  // the error switch, set again before the install
      {"library.LoadLibraryA", 5},  // the install's own load
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.call);
    win.SetVersion(5, 0);
    win.spooler.printers.clear();
    win.spooler.AddLocalPrinter(kModel, "Old Driver", "LPT2:");
    WriteIni("QuiteMode=1\r\nDefaultPortName=LPT3:\r\n");
    RunWithFault(c.call, c.nth);
    const sim::SimPrinter* back = win.spooler.Find(kModel);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->info.driverName, "Old Driver");
    EXPECT_EQ(back->info.portName, "LPT2:");
    const Steps boxes = Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[0].find("that was there before has been restored"), std::string::npos);
    EXPECT_TRUE(win.spooler.driverDeletions.empty());
    win.spooler.driverDeletions.clear();
  }
}

}  // namespace
}  // namespace pinst
