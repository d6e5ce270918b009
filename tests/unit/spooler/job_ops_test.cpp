#include "spooler/job_ops.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_windows.h"

namespace pinst {
namespace {

class JobCountTest : public ::testing::Test {
 protected:
  JobCountTest() { win.spooler.AddLocalPrinter("Laser"); }
  ~JobCountTest() override { EXPECT_EQ(win.spooler.openHandles, 0); }
  uint32_t QueueBytes() {
    uint32_t bytes = 0;
    for (const auto& job : win.spooler.Find("Laser")->jobs) bytes += sim::SimSpooler::Needed(job);
    return bytes;
  }
  sim::SimWindows win;
};

TEST_F(JobCountTest, CountsTheQueue) {
  EXPECT_EQ(GetPrinterJobCount("Laser"), 0);
  win.spooler.AddJobs("Laser", 3);
  EXPECT_EQ(GetPrinterJobCount("laser"), 3);
}

TEST_F(JobCountTest, UnknownPrinterOrUnreadableQueueCountsZero) {
  win.spooler.AddJobs("Laser", 2);
  EXPECT_EQ(GetPrinterJobCount("Missing"), 0);
  EXPECT_EQ(GetPrinterJobCount(""), 0);
  win.spooler.failEnumJobs = 0;  // a stub that fails without saying why
  EXPECT_EQ(GetPrinterJobCount("Laser"), 0);
}

TEST_F(JobCountTest, CountsAQueueBeyondTheOld64000Bytes) {
  win.spooler.AddJobs("Laser", 700, std::string(60, 'D'));
  ASSERT_GT(QueueBytes(), 64000u);
  EXPECT_EQ(GetPrinterJobCount("Laser"), 700);
}

TEST_F(JobCountTest, CountsAQueueBeyondTheOld1000Jobs) {
  win.spooler.AddJobs("Laser", 1500);
  EXPECT_EQ(GetPrinterJobCount("Laser"), 1500);
}

}  // namespace
}  // namespace pinst
