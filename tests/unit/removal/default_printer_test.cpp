#include "removal/default_printer.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_windows.h"
#include "removal/printer_removal.h"

namespace pinst {
namespace {

using Lines = std::vector<std::string>;

class RepairDefaultTest : public ::testing::Test {
 protected:
  sim::SimWindows win;
  std::string newDefault = "stale";
};

TEST_F(RepairDefaultTest, NoDefaultAtAllMakesTheFirstListedPrinterTheDefault) {
  win.spooler.AddLocalPrinter("Canon");
  win.spooler.AddLocalPrinter("Laser");
  RepairDefaultPrinter(true, newDefault);
  EXPECT_EQ(win.spooler.defaultPrinter, "Canon");
  EXPECT_EQ(newDefault, "Canon");
  EXPECT_TRUE(win.system.debugLines.empty());
}

TEST_F(RepairDefaultTest, NoDefaultAfterDeletingAPrinterThatWasNotTheDefault) {
  win.spooler.AddLocalPrinter("Canon");
  win.spooler.AddLocalPrinter("Laser");
  EXPECT_EQ(DeletePrinterByName("Laser"), kPrinterDeleted);
  EXPECT_EQ(win.spooler.defaultPrinter, "Canon");
}

TEST_F(RepairDefaultTest, ExistingDefaultIsNeverChanged) {
  win.spooler.AddLocalPrinter("Canon");
  win.spooler.AddLocalPrinter("Laser");
  win.spooler.defaultPrinter = "Laser";
  RepairDefaultPrinter(true, newDefault);
  EXPECT_EQ(win.spooler.defaultPrinter, "Laser");
  EXPECT_EQ(newDefault, "");
  EXPECT_TRUE(win.spooler.defaultPrinterSets.empty());
}

TEST_F(RepairDefaultTest, DefaultThatIsAPrinterConnectionIsNeverChanged) {
  win.spooler.AddLocalPrinter("Canon");
  win.spooler.connections.push_back("\\\\server\\Shared");
  win.spooler.defaultPrinter = "\\\\server\\Shared";
  RepairDefaultPrinter(true, newDefault);
  EXPECT_EQ(win.spooler.defaultPrinter, "\\\\server\\Shared");
  EXPECT_TRUE(win.spooler.defaultPrinterSets.empty());
}

TEST_F(RepairDefaultTest, StaleDefaultNameIsReplaced) {
  win.spooler.clearDefaultOnDelete = false;
  win.spooler.AddLocalPrinter("Canon");
  win.spooler.AddLocalPrinter("Laser");
  win.spooler.defaultPrinter = "Laser";
  EXPECT_EQ(DeletePrinterByName("Laser"), kPrinterDeleted);
  EXPECT_EQ(win.spooler.defaultPrinter, "Canon");
}

TEST_F(RepairDefaultTest, DeletingTheOnlyPrinterLeavesNoDefaultAndNoLine) {
  win.spooler.AddLocalPrinter("Laser");
  win.spooler.defaultPrinter = "Laser";
  EXPECT_EQ(DeletePrinterByName("Laser"), kPrinterDeleted);
  EXPECT_FALSE(win.spooler.defaultPrinter.has_value());
  EXPECT_TRUE(win.spooler.defaultPrinterSets.empty());
  EXPECT_TRUE(win.system.debugLines.empty());
}

TEST_F(RepairDefaultTest, FirstPrinterIsSetByItsFullName) {
  win.spooler.AddLocalPrinter("Laser on desk");
  win.spooler.AddLocalPrinter("Laser");
  RepairDefaultPrinter(true, newDefault);
  EXPECT_EQ(win.spooler.defaultPrinter, "Laser on desk");
  EXPECT_EQ(newDefault, "Laser on desk");
}

TEST_F(RepairDefaultTest, NewNameIsReturnedOnlyWhenAskedAndSet) {
  win.spooler.AddLocalPrinter("Canon");
  RepairDefaultPrinter(false, newDefault);
  EXPECT_EQ(win.spooler.defaultPrinter, "Canon");
  EXPECT_EQ(newDefault, "");

  win.spooler.defaultPrinter.reset();
  win.spooler.missingSetDefaultPrinter = true;
  newDefault = "stale";
  RepairDefaultPrinter(true, newDefault);
  EXPECT_FALSE(win.spooler.defaultPrinter.has_value());
  EXPECT_EQ(newDefault, "");
}

TEST_F(RepairDefaultTest, QueryFailingForAnotherReasonLeavesTheDefaultAlone) {
  win.spooler.AddLocalPrinter("Canon");
  win.spooler.missingGetDefaultPrinter = true;
  RepairDefaultPrinter(true, newDefault);
  EXPECT_FALSE(win.spooler.defaultPrinter.has_value());
  EXPECT_TRUE(win.spooler.defaultPrinterSets.empty());
  EXPECT_EQ(newDefault, "");
  EXPECT_EQ(win.system.debugLines, Lines{"GetDefaultPrinter Fail, Error Code :0x0000007F"});

  // A name too long for the buffer is such a failure too.
  win.system.debugLines.clear();
  win.spooler.missingGetDefaultPrinter = false;
  win.spooler.defaultPrinter = std::string(300, 'n');
  RepairDefaultPrinter(true, newDefault);
  EXPECT_EQ(win.system.debugLines, Lines{"GetDefaultPrinter Fail, Error Code :0x0000007A"});
}

}  // namespace
}  // namespace pinst
