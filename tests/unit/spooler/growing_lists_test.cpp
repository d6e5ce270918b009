// Spooler lists that grow between the size query and the read: the reader asks
// again with the new size, and a queue it could not read whole never counts as
// empty.
#include <gtest/gtest.h>

#include "platform/sim/sim_windows.h"
#include "removal/printer_removal.h"
#include "spooler/job_ops.h"
#include "spooler/port_ops.h"
#include "spooler/printer_list.h"
#include "spooler/printer_ops.h"

namespace pinst {
namespace {

class GrowingListTest : public ::testing::Test {
 protected:
  GrowingListTest() {
    win.spooler.AddLocalPrinter("Laser");
    win.spooler.AddJobs("Laser", 2);
  }
  ~GrowingListTest() override { EXPECT_EQ(win.spooler.openHandles, 0); }
  sim::SimWindows win;
};

TEST_F(GrowingListTest, AnEntryArrivingAfterTheSizeQueryIsReadOnTheNextCall) {
  win.spooler.growAfterSizeQueries = 1;
  EXPECT_EQ(GetPrinterJobCount("Laser"), 3);
  win.spooler.growAfterSizeQueries = 1;
  EXPECT_EQ(SystemPrinterNames().size(), 2u);
  win.spooler.growAfterSizeQueries = 1;
  EXPECT_TRUE(PrinterExists("Laser"));
  win.spooler.growAfterSizeQueries = 1;
  EXPECT_TRUE(PortExists("LPT1:"));
  EXPECT_EQ(win.spooler.growAfterSizeQueries, 0);
}

// Jobs arriving faster than the queue can be read: the count is not known, but
// the queue is not empty, and the printer is kept.
TEST_F(GrowingListTest, AQueueThatKeepsGrowingNeverCountsAsEmpty) {
  for (int growth : {3, 10}) {
    SCOPED_TRACE(growth);
    win.spooler.growAfterSizeQueries = growth;
    EXPECT_GT(GetPrinterJobCount("Laser"), 0);
    win.spooler.growAfterSizeQueries = growth;
    EXPECT_EQ(DeletePrinterByName("Laser"), kPrinterHasJobs);
    ASSERT_NE(win.spooler.Find("Laser"), nullptr);
    EXPECT_EQ(win.spooler.Find("Laser")->info.status & kPrinterStatusPendingDeletion, 0u);
  }
}

}  // namespace
}  // namespace pinst
