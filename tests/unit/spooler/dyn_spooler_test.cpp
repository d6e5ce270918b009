#include "spooler/dyn_spooler.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_windows.h"

namespace pinst {
namespace {

class DynSpoolerTest : public ::testing::Test {
 protected:
  sim::SimWindows win;
};

TEST_F(DynSpoolerTest, DefaultPrinterIsReadAndSet) {
  win.spooler.AddLocalPrinter("Canon");
  win.spooler.AddLocalPrinter("Laser");
  std::string name = "stale";
  EXPECT_FALSE(DynGetDefaultPrinter(name));
  EXPECT_EQ(name, "");
  EXPECT_EQ(win.spooler.lastError, kErrorFileNotFound);

  EXPECT_TRUE(DynSetDefaultPrinter("laser"));
  EXPECT_TRUE(DynGetDefaultPrinter(name));
  EXPECT_EQ(name, "Laser");
  EXPECT_FALSE(DynSetDefaultPrinter("Missing"));
  EXPECT_EQ(win.spooler.lastError, kErrorInvalidPrinterName);
  EXPECT_EQ(win.spooler.defaultPrinter, "Laser");
}

TEST_F(DynSpoolerTest, NameLongerThanTheBufferIsNotRead) {
  const std::string longName(kDefaultPrinterBufferChars, 'n');
  win.spooler.defaultPrinter = longName;
  std::string name = "stale";
  EXPECT_FALSE(DynGetDefaultPrinter(name));
  EXPECT_EQ(name, "");
  EXPECT_EQ(win.spooler.lastError, kErrorInsufficientBuffer);
  win.spooler.defaultPrinter = longName.substr(1);
  EXPECT_TRUE(DynGetDefaultPrinter(name));
  EXPECT_EQ(name, longName.substr(1));
}

TEST_F(DynSpoolerTest, MissingFunctionsAnswerFalse) {
  win.spooler.AddLocalPrinter("Canon", "Old Driver");
  win.spooler.defaultPrinter = "Canon";
  win.spooler.missingGetDefaultPrinter = true;
  win.spooler.missingSetDefaultPrinter = true;
  win.spooler.missingDeletePrinterDriverEx = true;
  std::string name = "stale";
  EXPECT_FALSE(DynGetDefaultPrinter(name));
  EXPECT_EQ(name, "");
  EXPECT_EQ(win.spooler.lastError, kErrorProcNotFound);
  EXPECT_FALSE(DynSetDefaultPrinter("Canon"));
  win.spooler.printers.clear();
  EXPECT_FALSE(DynDeletePrinterDriverEx(std::nullopt, std::nullopt, "Old Driver", 1, 0));
  EXPECT_TRUE(win.spooler.driverDeletions.empty());
  EXPECT_EQ(win.spooler.drivers, (std::vector<std::string>{"Old Driver"}));
}

TEST_F(DynSpoolerTest, DriverDeletionPassesItsArgumentsThrough) {
  win.spooler.drivers = {"Old Driver", "Other"};
  EXPECT_TRUE(DynDeletePrinterDriverEx(std::string("\\\\srv"), std::string("Windows NT x86"),
                                       "Old Driver", 1, 3));
  ASSERT_EQ(win.spooler.driverDeletions.size(), 1u);
  const sim::SimDriverDeletion& d = win.spooler.driverDeletions[0];
  EXPECT_EQ(d.serverName, "\\\\srv");
  EXPECT_EQ(d.environment, "Windows NT x86");
  EXPECT_EQ(d.driverName, "Old Driver");
  EXPECT_EQ(d.deleteFlag, 1u);
  EXPECT_EQ(d.versionFlag, 3u);
  EXPECT_EQ(win.spooler.drivers, std::vector<std::string>{"Other"});

  win.spooler.AddLocalPrinter("Uses it", "Other");
  EXPECT_FALSE(DynDeletePrinterDriverEx(std::nullopt, std::nullopt, "Other", 1, 0));
  EXPECT_EQ(win.spooler.lastError, kErrorPrinterDriverInUse);
}

}  // namespace
}  // namespace pinst
