#include <gtest/gtest.h>

#include "platform/sim/sim_windows.h"
#include "spooler/printer_ops.h"

namespace pinst {
namespace {

class PrinterQueryTest : public ::testing::Test {
 protected:
  ~PrinterQueryTest() override { EXPECT_EQ(win.spooler.openHandles, 0); }
  sim::SimWindows win;
};

TEST_F(PrinterQueryTest, PrinterExistsIgnoresTheCaseOfAsciiLettersOnly) {
  win.spooler.AddLocalPrinter("Norvik LP-1200");
  win.spooler.AddLocalPrinter("Office Laser");
  EXPECT_TRUE(PrinterExists("Norvik LP-1200"));
  EXPECT_TRUE(PrinterExists("NORVIK lp-1200"));
  EXPECT_TRUE(PrinterExists("office laser"));
  EXPECT_FALSE(PrinterExists("Norvik LP-120"));
  EXPECT_FALSE(PrinterExists(""));
}

TEST_F(PrinterQueryTest, PrinterExistsNeverFoldsADoubleByteTrailByte) {
  // Big5 A6 4C and A6 6C are two different characters whose trail bytes are 'L' and 'l'.
  win.SetLanguage(0x0404);
  win.spooler.AddLocalPrinter("P \xA6\x4C");
  EXPECT_TRUE(PrinterExists("p \xA6\x4C"));
  EXPECT_FALSE(PrinterExists("P \xA6\x6C"));
}

TEST_F(PrinterQueryTest, PrinterExistsSeesLocalPrintersOnly) {
  win.spooler.connections.push_back("\\\\server\\Shared Laser");
  EXPECT_FALSE(PrinterExists("\\\\server\\Shared Laser"));
  win.spooler.AddLocalPrinter("A");
  EXPECT_TRUE(PrinterExists("a"));
}

TEST_F(PrinterQueryTest, PrinterExistsReadsAListLargerThanAnyFixedGuess) {
  for (int i = 0; i < 300; ++i) win.spooler.AddLocalPrinter("Printer " + std::to_string(i));
  EXPECT_TRUE(PrinterExists("printer 299"));
}

TEST_F(PrinterQueryTest, GetPrinterPortGivesThePortOrEmpty) {
  win.spooler.AddLocalPrinter("Laser", "Sim Driver", "LPT2:");
  std::string port = "stale";
  GetPrinterPort("laser", port);
  EXPECT_EQ(port, "LPT2:");

  win.spooler.Find("Laser")->info.portName = "LPT1:,LPT2:";
  GetPrinterPort("Laser", port);
  EXPECT_EQ(port, "LPT1:,LPT2:");

  port = "stale";
  GetPrinterPort("Missing", port);
  EXPECT_EQ(port, "");

  port = "stale";
  GetPrinterPort("", port);
  EXPECT_EQ(port, "");
  EXPECT_EQ(win.spooler.opens.size(), 3u);  // the empty name opens nothing
}

TEST_F(PrinterQueryTest, GetPrinterPortReadsARecordBeyondTheOld16884Bytes) {
  sim::SimPrinter& p = win.spooler.AddLocalPrinter("Big Driver Data", "Sim Driver", "LPT3:");
  DevModeA dm = PublicDevMode(p.info.devMode);
  dm.dmDriverExtra = 17000;  // drivers keep their settings here
  p.info.devMode = ToDevModeBytes(dm);
  p.info.devMode.resize(kDevModeSize + 17000, 0x5A);
  ASSERT_GT(sim::SimSpooler::Needed(p.info), 16884u);

  std::string port;
  GetPrinterPort("Big Driver Data", port);
  EXPECT_EQ(port, "LPT3:");
}

TEST_F(PrinterQueryTest, GetPrinterDriverGivesTheDriverOrEmpty) {
  win.spooler.AddLocalPrinter("Laser", "Norvik LP-1200 Driver");
  std::string driver = "stale";
  GetPrinterDriver("LASER", driver);
  EXPECT_EQ(driver, "Norvik LP-1200 Driver");

  driver = "stale";
  GetPrinterDriver("Missing", driver);
  EXPECT_EQ(driver, "");
  EXPECT_EQ(win.spooler.lastError, kErrorInvalidPrinterName);
}

}  // namespace
}  // namespace pinst
