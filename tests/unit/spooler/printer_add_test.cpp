#include "spooler/printer_add.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_windows.h"

namespace pinst {
namespace {

class AddLocalPrinterTest : public ::testing::Test {
 protected:
  AddLocalPrinterTest() { win.spooler.drivers.push_back("Norvik LP-1200"); }
  ~AddLocalPrinterTest() override { EXPECT_EQ(win.spooler.openHandles, 0); }
  sim::SimWindows win;
};

TEST_F(AddLocalPrinterTest, AddsAnUnsharedLocalRawPrinterOnLpt1) {
  ASSERT_TRUE(AddLocalPrinter("Norvik LP-1200", "My Printer"));
  const sim::SimPrinter* p = win.spooler.Find("My Printer");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->info.printerName, "My Printer");
  EXPECT_EQ(p->info.driverName, "Norvik LP-1200");
  EXPECT_EQ(p->info.portName, "LPT1:");
  EXPECT_EQ(p->info.printProcessor, "WinPrint");
  EXPECT_EQ(p->info.datatype, "RAW");
  EXPECT_EQ(p->info.attributes, kPrinterAttributeLocal);
  EXPECT_EQ(p->info.attributes & kPrinterAttributeShared, 0u);
  EXPECT_EQ(p->info.shareName, "");
  EXPECT_EQ(p->info.serverName, "");
  EXPECT_EQ(p->info.priority, 1u);
  EXPECT_EQ(p->info.defaultPriority, 0u);
  EXPECT_EQ(p->info.startTime, 0u);
  EXPECT_EQ(p->info.untilTime, 0u);
  EXPECT_TRUE(p->info.securityDescriptor.empty());
  EXPECT_EQ(p->info.devMode, ToDevModeBytes(DefaultDevMode("My Printer")));
}

TEST_F(AddLocalPrinterTest, EmptyNamesAddNothing) {
  EXPECT_FALSE(AddLocalPrinter("", "My Printer"));
  EXPECT_FALSE(AddLocalPrinter("Norvik LP-1200", ""));
  EXPECT_TRUE(win.spooler.printers.empty());
}

TEST_F(AddLocalPrinterTest, SpoolerRefusalsGiveFalse) {
  EXPECT_FALSE(AddLocalPrinter("Unknown Driver", "My Printer"));
  EXPECT_EQ(win.spooler.lastError, kErrorUnknownPrinterDriver);
  ASSERT_TRUE(AddLocalPrinter("Norvik LP-1200", "My Printer"));
  EXPECT_FALSE(AddLocalPrinter("Norvik LP-1200", "MY PRINTER"));
  EXPECT_EQ(win.spooler.lastError, kErrorPrinterAlreadyExists);
  EXPECT_EQ(win.spooler.printers.size(), 1u);
}

TEST_F(AddLocalPrinterTest, DefaultDeviceModeFieldByField) {
  const DevModeA dm = DefaultDevMode("Laser");
  EXPECT_EQ(std::string(dm.dmDeviceName.data()), "Laser");
  EXPECT_EQ(dm.dmDeviceName[5], '\0');
  EXPECT_EQ(dm.dmDeviceName[31], '\0');
  EXPECT_EQ(dm.dmSpecVersion, 0x0401);
  EXPECT_EQ(dm.dmDriverVersion, 0x0100);
  EXPECT_EQ(dm.dmSize, 156);
  EXPECT_EQ(dm.dmDriverExtra, 0);
  EXPECT_EQ(dm.dmFields, 0x0581CF43u);
  EXPECT_EQ(dm.dmOrientation, 1);
  EXPECT_EQ(dm.dmPaperSize, 9);
  EXPECT_EQ(dm.dmPaperLength, 2970);
  EXPECT_EQ(dm.dmPaperWidth, 2100);
  EXPECT_EQ(dm.dmScale, 100);
  EXPECT_EQ(dm.dmCopies, 1);
  EXPECT_EQ(dm.dmDefaultSource, 15);
  EXPECT_EQ(dm.dmPrintQuality, 180);
  EXPECT_EQ(dm.dmColor, 1);
  EXPECT_EQ(dm.dmDuplex, 1);
  EXPECT_EQ(dm.dmYResolution, 180);
  EXPECT_EQ(dm.dmTTOption, 2);
  EXPECT_EQ(dm.dmCollate, 1);
  EXPECT_EQ(std::string(dm.dmFormName.data()), "A4");
  EXPECT_EQ(dm.dmLogPixels, 0);
  EXPECT_EQ(dm.dmBitsPerPel, 0u);
  EXPECT_EQ(dm.dmPelsWidth, 0u);
  EXPECT_EQ(dm.dmPelsHeight, 0u);
  EXPECT_EQ(dm.dmNup, 1u);
  EXPECT_EQ(dm.dmDisplayFrequency, 0u);
  EXPECT_EQ(dm.dmICMMethod, 1u);
  EXPECT_EQ(dm.dmICMIntent, 2u);
  EXPECT_EQ(dm.dmMediaType, 1u);
  EXPECT_EQ(dm.dmDitherType, 0xFFFFFFFFu);
  EXPECT_EQ(dm.dmReserved1, 0u);
  EXPECT_EQ(dm.dmReserved2, 0u);
  EXPECT_EQ(dm.dmPanningWidth, 0u);
  EXPECT_EQ(dm.dmPanningHeight, 0u);
  // The same bytes at the offsets Windows reads them from.
  const DevModeBytes bytes = ToDevModeBytes(dm);
  EXPECT_EQ(bytes[36] | bytes[37] << 8, 156);  // dmSize
  EXPECT_EQ(bytes[46] | bytes[47] << 8, 9);    // dmPaperSize
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[70]), 2), "A4");
  EXPECT_EQ(bytes[116], 1);                  // dmNup
  EXPECT_EQ(bytes[136] & bytes[139], 0xFF);  // dmDitherType
}

TEST_F(AddLocalPrinterTest, LongNamesAreCutTo31BytesWithoutSplittingACharacter) {
  const std::string ascii(40, 'x');
  EXPECT_EQ(std::string(DefaultDevMode(ascii).dmDeviceName.data()), std::string(31, 'x'));
  win.SetLanguage(0x0804);
  std::string gbk = "a";
  for (int i = 0; i < 20; ++i) gbk += "\xB4\xF2";  // 打 (GBK), twenty times
  // 1 + 15 x 2 = 31 bytes fit; the sixteenth character would need bytes 31 and 32.
  EXPECT_EQ(std::string(DefaultDevMode(gbk).dmDeviceName.data()), gbk.substr(0, 31));
  std::string gbk2 = "ab";
  for (int i = 0; i < 20; ++i) gbk2 += "\xB4\xF2";
  EXPECT_EQ(std::string(DefaultDevMode(gbk2).dmDeviceName.data()), gbk2.substr(0, 30));
}

}  // namespace
}  // namespace pinst
