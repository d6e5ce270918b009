#include "removal/printer_removal.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_windows.h"

namespace pinst {
namespace {

using Lines = std::vector<std::string>;

class DeletePrinterTest : public ::testing::Test {
 protected:
  DeletePrinterTest() {
    win.spooler.AddLocalPrinter("Canon");
    win.spooler.AddLocalPrinter("Laser");
    win.spooler.AddLocalPrinter("Norvik LP-1200");
    win.spooler.defaultPrinter = "Laser";
  }
  ~DeletePrinterTest() override { EXPECT_EQ(win.spooler.openHandles, 0); }
  sim::SimWindows win;
};

TEST_F(DeletePrinterTest, NonDefaultPrinterIsDeletedAndTheDefaultStays) {
  EXPECT_EQ(DeletePrinterByName("norvik lp-1200"), kPrinterDeleted);
  EXPECT_EQ(win.spooler.Find("Norvik LP-1200"), nullptr);
  EXPECT_EQ(win.spooler.defaultPrinter, "Laser");
  EXPECT_TRUE(win.spooler.defaultPrinterSets.empty());
  EXPECT_TRUE(win.system.debugLines.empty());
  // Opened once to count jobs, once with full access and no data type or device mode.
  ASSERT_EQ(win.spooler.opens.size(), 2u);
  const auto& defaults = win.spooler.opens[1].defaults;
  ASSERT_TRUE(defaults.has_value());
  EXPECT_EQ(defaults->desiredAccess, kPrinterAllAccess);
  EXPECT_EQ(defaults->datatype, "");
  EXPECT_TRUE(defaults->devMode.empty());
}

TEST_F(DeletePrinterTest, DeletingTheDefaultMakesTheFirstRemainingPrinterTheDefault) {
  EXPECT_EQ(DeletePrinterByName("Laser"), kPrinterDeleted);
  EXPECT_EQ(win.spooler.Find("Laser"), nullptr);
  EXPECT_EQ(win.spooler.defaultPrinter, "Canon");
  EXPECT_TRUE(win.system.debugLines.empty());
}

TEST_F(DeletePrinterTest, PrinterWithAQueuedJobIsLeftAsItWas) {
  win.spooler.AddJobs("Laser", 1);
  EXPECT_EQ(DeletePrinterByName("Laser"), kPrinterHasJobs);
  ASSERT_NE(win.spooler.Find("Laser"), nullptr);
  EXPECT_EQ(win.spooler.Find("Laser")->info.status, 0u);
  EXPECT_EQ(win.spooler.defaultPrinter, "Laser");
  EXPECT_EQ(win.spooler.opens.size(), 1u);  // only to count the jobs
}

TEST_F(DeletePrinterTest, PrinterWithAQueueBeyondTheOldBufferIsLeftAsItWas) {
  // 1,200 jobs outgrow both 64,000 bytes and 1,000 jobs; counting them as none
  // would delete the printer and lose the jobs.
  win.spooler.AddJobs("Laser", 1200);
  EXPECT_EQ(DeletePrinterByName("Laser"), kPrinterHasJobs);
  ASSERT_NE(win.spooler.Find("Laser"), nullptr);
  EXPECT_EQ(win.spooler.Find("Laser")->jobs.size(), 1200u);
}

TEST_F(DeletePrinterTest, UnknownOrUnopenablePrinterGivesCode2) {
  EXPECT_EQ(DeletePrinterByName("Missing"), kPrinterNotOpened);
  EXPECT_TRUE(win.system.debugLines.empty());
  win.spooler.failOpen = kErrorAccessDenied;
  EXPECT_EQ(DeletePrinterByName("Laser"), kPrinterNotOpened);
  EXPECT_EQ(win.spooler.printers.size(), 3u);
}

TEST_F(DeletePrinterTest, StatusThatCannotBeSetKeepsThePrinter) {
  win.spooler.failSetStatus = kErrorInvalidLevel;  // as Wine answers level 0
  EXPECT_EQ(DeletePrinterByName("Laser"), kPrinterNotOpened);
  ASSERT_NE(win.spooler.Find("Laser"), nullptr);
  EXPECT_EQ(win.spooler.Find("Laser")->info.status, 0u);
  EXPECT_EQ(win.system.debugLines, Lines{"SetPrinter Failt!"});
  EXPECT_EQ(win.spooler.defaultPrinter, "Laser");
}

TEST_F(DeletePrinterTest, RefusedDeletionLeavesThePrinterPendingDeletion) {
  win.spooler.failDelete = kErrorAccessDenied;
  EXPECT_EQ(DeletePrinterByName("laser"), kPrinterNotDeleted);
  ASSERT_NE(win.spooler.Find("Laser"), nullptr);
  EXPECT_EQ(win.spooler.Find("Laser")->info.status, kPrinterStatusPendingDeletion);
  EXPECT_EQ(win.system.debugLines, Lines{"Delete Special Printer Faile :laser"});
  EXPECT_EQ(win.spooler.defaultPrinter, "Laser");
}

}  // namespace
}  // namespace pinst
