#include "removal/driver_removal.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_windows.h"

namespace pinst {
namespace {

using Lines = std::vector<std::string>;

// 准备删除驱动程序！
const char* kAboutToDelete =
    "\xD7\xBC\xB1\xB8\xC9\xBE\xB3\xFD\xC7\xFD\xB6\xAF\xB3\xCC\xD0\xF2\xA3\xA1";

class DeletePrnDriverTest : public ::testing::Test {
 protected:
  DeletePrnDriverTest() { win.spooler.drivers = {"Old Driver"}; }
  sim::SimWindows win;
};

TEST_F(DeletePrnDriverTest, FirstAttemptDeletesTheDriverAndItsUnusedFiles) {
  EXPECT_TRUE(DeletePrnDriver("Old Driver"));
  EXPECT_TRUE(win.spooler.drivers.empty());
  EXPECT_EQ(win.system.debugLines, Lines{kAboutToDelete});
  EXPECT_TRUE(win.system.sleeps.empty());
  ASSERT_EQ(win.spooler.driverDeletions.size(), 1u);
  const sim::SimDriverDeletion& d = win.spooler.driverDeletions[0];
  EXPECT_FALSE(d.serverName.has_value());
  EXPECT_FALSE(d.environment.has_value());
  EXPECT_EQ(d.driverName, "Old Driver");
  EXPECT_EQ(d.deleteFlag, kDpdDeleteUnusedFiles);
  EXPECT_EQ(d.versionFlag, 0u);
}

TEST_F(DeletePrnDriverTest, SecondAttemptAfterAboutTwoSeconds) {
  win.spooler.failDriverDeletions = 1;  // still in use for a moment
  EXPECT_TRUE(DeletePrnDriver("Old Driver"));
  EXPECT_TRUE(win.spooler.drivers.empty());
  EXPECT_EQ(win.system.debugLines,
            (Lines{kAboutToDelete, "DeletePrinterDriverEx Failt,GetLastError return :0x00000BB9"}));
  EXPECT_EQ(win.system.sleeps, (std::vector<uint32_t>{0, 2000, 0}));
  ASSERT_EQ(win.spooler.driverDeletions.size(), 2u);
  EXPECT_EQ(win.spooler.driverDeletions[1].atMs - win.spooler.driverDeletions[0].atMs, 2000u);
  EXPECT_EQ(win.spooler.driverDeletions[1].driverName, "Old Driver");
  EXPECT_EQ(win.spooler.driverDeletions[1].deleteFlag, kDpdDeleteUnusedFiles);
}

TEST_F(DeletePrnDriverTest, TwoFailuresKeepTheDriver) {
  // As Wine answers DPD_DELETE_UNUSED_FILES.
  win.spooler.failDriverDeletions = 2;
  win.spooler.driverDeletionError = kErrorInvalidParameter;
  EXPECT_FALSE(DeletePrnDriver("Old Driver"));
  EXPECT_EQ(win.spooler.drivers, Lines{"Old Driver"});
  EXPECT_EQ(win.system.debugLines,
            (Lines{kAboutToDelete, "DeletePrinterDriverEx Failt,GetLastError return :0x00000057",
                   "After Sleep(2000) DeletePrinterDriverEx Failt, GetLastError return "
                   ":0x00000057"}));
  EXPECT_EQ(win.spooler.driverDeletions.size(), 2u);
}

TEST_F(DeletePrnDriverTest, DriverInUseByAPrinterStaysInstalled) {
  win.spooler.AddLocalPrinter("Laser", "Old Driver");
  EXPECT_FALSE(DeletePrnDriver("Old Driver"));
  EXPECT_EQ(win.system.debugLines.back(),
            "After Sleep(2000) DeletePrinterDriverEx Failt, GetLastError return :0x00000BB9");
}

TEST_F(DeletePrnDriverTest, MissingFunctionFailsBothAttempts) {
  win.spooler.missingDeletePrinterDriverEx = true;
  EXPECT_FALSE(DeletePrnDriver("Old Driver"));
  EXPECT_EQ(win.system.debugLines.size(), 3u);
  EXPECT_EQ(win.system.debugLines[1],
            "DeletePrinterDriverEx Failt,GetLastError return :0x0000007F");
  EXPECT_EQ(win.clock.NowMs(), 2000u);
}

}  // namespace
}  // namespace pinst
