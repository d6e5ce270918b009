#include <gtest/gtest.h>

#include "platform/sim/sim_windows.h"
#include "spooler/printer_ops.h"

namespace pinst {
namespace {

class SetPrinterPortTest : public ::testing::Test {
 protected:
  SetPrinterPortTest() {
    sim::SimPrinter& p = win.spooler.AddLocalPrinter("Laser", "Sim Driver", "LPT1:");
    p.info.comment = "second floor";
    p.info.shareName = "laser";
    p.info.attributes |= kPrinterAttributeShared;
    DevModeA dm = PublicDevMode(p.info.devMode);
    dm.dmDriverExtra = 8;
    dm.dmCopies = 3;
    p.info.devMode = ToDevModeBytes(dm);
    for (uint8_t b = 1; b <= 8; ++b) p.info.devMode.push_back(b);
  }
  ~SetPrinterPortTest() override { EXPECT_EQ(win.spooler.openHandles, 0); }
  sim::SimWindows win;
};

TEST_F(SetPrinterPortTest, MovesThePrinterAndKeepsEverythingElse) {
  const PrinterInfo2 before = win.spooler.Find("Laser")->info;
  EXPECT_TRUE(SetPrinterPort("laser", "COM2:"));
  const PrinterInfo2& after = win.spooler.Find("Laser")->info;
  EXPECT_EQ(after.portName, "COM2:");
  EXPECT_EQ(after.comment, "second floor");
  EXPECT_EQ(after.shareName, "laser");
  EXPECT_EQ(after.attributes, before.attributes);
  EXPECT_EQ(after.devMode, before.devMode);  // the driver's private bytes survive
  std::string port;
  GetPrinterPort("Laser", port);
  EXPECT_EQ(port, "COM2:");
}

TEST_F(SetPrinterPortTest, SecondOpeningCarriesRawTheCurrentPublicDeviceModeAndAllAccess) {
  ASSERT_TRUE(SetPrinterPort("Laser", "LPT2:"));
  ASSERT_EQ(win.spooler.opens.size(), 2u);
  EXPECT_FALSE(win.spooler.opens[0].defaults.has_value());
  const auto& defaults = win.spooler.opens[1].defaults;
  ASSERT_TRUE(defaults.has_value());
  EXPECT_EQ(defaults->datatype, "RAW");
  EXPECT_EQ(defaults->desiredAccess, kPrinterAllAccess);
  ASSERT_EQ(defaults->devMode.size(), kDevModeSize);
  const DevModeA dm = PublicDevMode(defaults->devMode);
  EXPECT_EQ(dm.dmCopies, 3);
  EXPECT_EQ(std::string(dm.dmDeviceName.data()), "Laser");
  // Only 156 bytes are held, so none may be announced beyond them.
  EXPECT_EQ(dm.dmDriverExtra, 0);
  EXPECT_EQ(dm.dmSize, kDevModeSize);
}

TEST_F(SetPrinterPortTest, APrinterWithoutDeviceModeOpensWithNone) {
  win.spooler.Find("Laser")->info.devMode.clear();
  EXPECT_TRUE(SetPrinterPort("Laser", "FILE:"));
  EXPECT_TRUE(win.spooler.opens[1].defaults->devMode.empty());
  EXPECT_EQ(win.spooler.Find("Laser")->info.portName, "FILE:");
}

TEST_F(SetPrinterPortTest, EmptyPortOpensNothing) {
  EXPECT_FALSE(SetPrinterPort("Laser", ""));
  EXPECT_TRUE(win.spooler.opens.empty());
  EXPECT_EQ(win.spooler.Find("Laser")->info.portName, "LPT1:");
}

TEST_F(SetPrinterPortTest, FailuresLeaveThePortAlone) {
  EXPECT_FALSE(SetPrinterPort("Missing", "LPT2:"));
  EXPECT_EQ(win.spooler.opens.size(), 1u);

  // The port is not checked here; the spooler refuses one it does not know.
  EXPECT_FALSE(SetPrinterPort("Laser", "USB001"));
  EXPECT_EQ(win.spooler.lastError, kErrorUnknownPort);

  win.spooler.failSetPrinter = kErrorAccessDenied;
  EXPECT_FALSE(SetPrinterPort("Laser", "LPT2:"));
  EXPECT_EQ(win.spooler.Find("Laser")->info.portName, "LPT1:");
}

}  // namespace
}  // namespace pinst
