#include "engine/printer_settings.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_windows.h"

namespace pinst {
namespace {

constexpr uint32_t kShared = 0x8;
constexpr uint32_t kRawOnly = 0x1000;
constexpr uint32_t kOtherBits = 0x40 | 0x200;  // local, keep printed jobs
// "设置默认打印机失败！"
const std::string kDefaultFailed =
    "\xc9\xe8\xd6\xc3\xc4\xac\xc8\xcf\xb4\xf2\xd3\xa1\xbb\xfa\xca\xa7\xb0\xdc\xa3\xa1";

class ChangePrinterTest : public ::testing::Test {
 protected:
  ChangePrinterTest() {
    sim::SimPrinter& p = win.spooler.AddLocalPrinter("Tessaly XP-100", "Tessaly XP-100", "LPT1:");
    p.info.attributes = kOtherBits | kShared | kRawOnly;
    p.info.shareName = "XP100";
    p.info.printProcessor = "TsPrint";
    p.info.comment = "kept";
    p.info.priority = 7;
    win.spooler.ports.push_back({"USB003", "USB Monitor", "Virtual printer port for USB", 3});
  }
  const PrinterInfo2& Record() { return win.spooler.printers.at(0).info; }

  sim::SimWindows win;
  TChangePrinterInfo info{"Tessaly XP-100", "", "", "USB003", true, "WinPrint"};
};

TEST_F(ChangePrinterTest, WinPrintOrEmptyProcessorClearsRawOnlyAndUnshares) {
  for (const std::string& processor : {std::string("WinPrint"), std::string()}) {
    info.PrintProcessor = processor;
    win.spooler.Find("Tessaly XP-100")->info.attributes |= kRawOnly | kShared;
    EXPECT_TRUE(ChangePrinter(info));
    const PrinterInfo2& r = Record();
    EXPECT_EQ(r.printProcessor, "WinPrint");
    EXPECT_EQ(r.attributes, kOtherBits);
    // Unsharing keeps the old share name in the record.
    EXPECT_EQ(r.shareName, "XP100");
    EXPECT_EQ(r.portName, "USB003");
    EXPECT_EQ(r.comment, "kept");
    EXPECT_EQ(r.priority, 7u);
  }
  EXPECT_EQ(win.spooler.defaultPrinter, "Tessaly XP-100");
  EXPECT_EQ(win.spooler.openHandles, 0);
}

TEST_F(ChangePrinterTest, OtherProcessorIsSetWithRawOnlyAndShareNameShares) {
  win.spooler.Find("Tessaly XP-100")->info.attributes = kOtherBits;
  info.PrintProcessor = "winprint";  // only the exact spelling counts as WinPrint
  info.ShareName = "Front";
  EXPECT_TRUE(ChangePrinter(info));
  EXPECT_EQ(Record().printProcessor, "winprint");
  EXPECT_EQ(Record().attributes, kOtherBits | kRawOnly | kShared);
  EXPECT_EQ(Record().shareName, "Front");
}

TEST_F(ChangePrinterTest, OpensPlainThenWithRawDefaultsAndAllAccess) {
  EXPECT_TRUE(ChangePrinter(info));
  ASSERT_EQ(win.spooler.opens.size(), 2u);
  EXPECT_FALSE(win.spooler.opens[0].defaults.has_value());
  const PrinterDefaults& d = *win.spooler.opens[1].defaults;
  EXPECT_EQ(d.datatype, "RAW");
  EXPECT_EQ(d.desiredAccess, 0x000F000Cu);
  ASSERT_EQ(d.devMode.size(), 156u);
  EXPECT_EQ(std::string(PublicDevMode(d.devMode).dmDeviceName.data()), "Tessaly XP-100");
}

TEST_F(ChangePrinterTest, DriverBytesOfTheDeviceModeAreNotAnnouncedInTheLocalCopy) {
  DevModeA dm = PublicDevMode(win.spooler.Find("Tessaly XP-100")->info.devMode);
  dm.dmDriverExtra = 300;
  DevModeBytes bytes = ToDevModeBytes(dm);
  bytes.resize(bytes.size() + 300, 0xAB);
  win.spooler.Find("Tessaly XP-100")->info.devMode = bytes;
  EXPECT_TRUE(ChangePrinter(info));
  const PrinterDefaults& d = *win.spooler.opens[1].defaults;
  EXPECT_EQ(PublicDevMode(d.devMode).dmDriverExtra, 0);
  // The printer's own device mode, driver bytes and all, is written back unchanged.
  EXPECT_EQ(Record().devMode, bytes);
}

TEST_F(ChangePrinterTest, RenamesOnAnyDifferenceIncludingCase) {
  info.NewPrinterName = "TESSALY XP-100";
  EXPECT_TRUE(ChangePrinter(info));
  EXPECT_EQ(win.spooler.printers[0].info.printerName, "TESSALY XP-100");
  info.PrinterName = "TESSALY XP-100";
  info.NewPrinterName = "Counter";
  EXPECT_TRUE(ChangePrinter(info));
  EXPECT_EQ(win.spooler.printers[0].info.printerName, "Counter");
}

TEST_F(ChangePrinterTest, PortIsChangedOnlyToAPortOfExactlyThatName) {
  info.PortName = "usb003";
  EXPECT_TRUE(ChangePrinter(info));
  EXPECT_EQ(Record().portName, "LPT1:");
  info.PortName = "";
  EXPECT_TRUE(ChangePrinter(info));
  EXPECT_EQ(Record().portName, "LPT1:");
}

TEST_F(ChangePrinterTest, MissingPrinterFailsAfterTryingToMakeItTheDefault) {
  info.PrinterName = "Nobody";
  EXPECT_FALSE(ChangePrinter(info));
  EXPECT_EQ(win.spooler.defaultPrinterSets, std::vector<std::string>{"Nobody"});
  EXPECT_EQ(win.system.debugLines, std::vector<std::string>{kDefaultFailed});
  EXPECT_EQ(win.spooler.opens.size(), 1u);
}

TEST_F(ChangePrinterTest, DefaultFailureStillChangesThePrinterAndNoDefaultIsNotAsked) {
  win.spooler.missingSetDefaultPrinter = true;
  EXPECT_TRUE(ChangePrinter(info));
  EXPECT_EQ(win.system.debugLines, std::vector<std::string>{kDefaultFailed});
  EXPECT_EQ(Record().portName, "USB003");
  win.spooler.missingSetDefaultPrinter = false;
  info.SetAsDefault = false;
  EXPECT_TRUE(ChangePrinter(info));
  EXPECT_TRUE(win.spooler.defaultPrinterSets.empty());
}

TEST_F(ChangePrinterTest, RefusedRecordIsLoggedWithTheLastError) {
  win.spooler.failSetPrinter = 5;
  EXPECT_FALSE(ChangePrinter(info));
  // "设置打印机失败(5)！"
  EXPECT_EQ(win.system.debugLines.back(),
            "\xc9\xe8\xd6\xc3\xb4\xf2\xd3\xa1\xbb\xfa\xca\xa7\xb0\xdc(5)\xa3\xa1");
  EXPECT_EQ(Record().portName, "LPT1:");
  EXPECT_EQ(win.spooler.openHandles, 0);
}

TEST_F(ChangePrinterTest, SecondOpenRefusedChangesNothing) {
  win.spooler.failOpen = 5;
  info.SetAsDefault = false;
  EXPECT_FALSE(ChangePrinter(info));
  EXPECT_EQ(Record().printProcessor, "TsPrint");
}

TEST(RegSetToolTest, RunsOnlyOnWindows2000WithTheToolAsWritten) {
  sim::SimWindows win;
  win.files.AddFile("C:\\dist\\i386\\RegSet.exe", "MZ");
  win.SetVersion(5, 1);
  RunRegSetTool(true, "i386\\RegSet.exe");
  win.SetVersion(5, 2);
  RunRegSetTool(true, "i386\\RegSet.exe");
  win.SetVersion(5, 0);
  RunRegSetTool(true, "i386\\RegSet");  // only the name with its extension exists
  EXPECT_TRUE(win.processes.attempts.empty());

  win.processes.SetProgram("i386\\RegSet.exe", {0, 1000});
  RunRegSetTool(true, "i386\\RegSet.exe");
  RunRegSetTool(false, "i386\\RegSet.exe");
  ASSERT_EQ(win.processes.started.size(), 2u);
  const ProcessStartInfo& info = win.processes.started[0].info;
  EXPECT_EQ(info.commandLine, "C:\\dist\\i386\\RegSet.exe Auto");
  EXPECT_FALSE(info.inheritHandles);
  EXPECT_EQ(info.creationFlags, 0x30u);
  EXPECT_EQ(info.currentDirectory, "");
  EXPECT_EQ(info.startupFlags, 1u);
  EXPECT_EQ(info.showWindow, 10);
  EXPECT_EQ(win.processes.started[1].info.commandLine, "C:\\dist\\i386\\RegSet.exe Auto Disable");
  EXPECT_EQ(win.processes.started[0].state->openHandles, 0);
  EXPECT_EQ(win.clock.NowMs(), 2000u);  // each run waited for the tool's end
}

TEST(RegSetToolTest, SlowToolIsLeftRunningAfterThreeSeconds) {
  sim::SimWindows win;
  win.SetVersion(5, 0);
  win.files.AddFile("C:\\dist\\RegSet.exe", "MZ");
  win.processes.SetProgram("RegSet.exe", {0, std::nullopt});
  RunRegSetTool(true, "RegSet.exe");
  EXPECT_EQ(win.clock.NowMs(), 3000u);
  EXPECT_TRUE(win.processes.IsRunning(0));
  EXPECT_EQ(win.processes.started[0].state->openHandles, 0);
}

class WebPrintTest : public ::testing::Test {
 protected:
  sim::SimWindows win;
};

TEST_F(WebPrintTest, ControlIsCopiedIntoTheSystemFolderAndTheCopyRegistered) {
  sim::SimInstallerLibrary& control = win.libraries.AddLibrary("C:\\dist\\.\\i386\\WebPrint.ocx");
  control.hasDllRegisterServer = true;
  EXPECT_TRUE(InstallWebPrintControl("C:\\dist\\.\\i386\\WebPrint.ocx"));
  EXPECT_EQ(win.files.copies.back(),
            std::make_pair(std::string("C:\\dist\\.\\i386\\WebPrint.ocx"),
                           std::string("C:\\WINDOWS\\system32\\WebPrint.ocx")));
  EXPECT_EQ(win.libraries.loadRequests.back(), "C:\\WINDOWS\\system32\\WebPrint.ocx");
  EXPECT_EQ(control.calls, std::vector<std::string>{"DllRegisterServer"});
  EXPECT_EQ(control.openCount, 0);

  control.registerResult = static_cast<int32_t>(0x80004005);  // E_FAIL
  EXPECT_FALSE(InstallWebPrintControl("C:\\dist\\.\\i386\\WebPrint.ocx"));
  control.registerResult = 1;  // S_FALSE is a success code
  EXPECT_TRUE(InstallWebPrintControl("C:\\dist\\.\\i386\\WebPrint.ocx"));
}

TEST_F(WebPrintTest, MissingSourceCopiesNothing) {
  EXPECT_FALSE(InstallWebPrintControl("C:\\dist\\i386\\WebPrint.ocx"));
  EXPECT_TRUE(win.files.copies.empty());
}

TEST_F(WebPrintTest, ControlInUseIsRegisteredFromTheSystemFolder) {
  sim::SimInstallerLibrary& installed =
      win.libraries.AddLibrary("C:\\WINDOWS\\system32\\WebPrint.ocx");
  installed.hasDllRegisterServer = true;
  win.files.MakeUnreadable("C:\\WINDOWS\\system32\\WebPrint.ocx");
  win.files.AddFile("C:\\dist\\i386\\WebPrint.ocx", "newer control");
  // The copy over the control in use fails; the one already there is registered.
  EXPECT_TRUE(InstallWebPrintControl("C:\\dist\\i386\\WebPrint.ocx"));
  EXPECT_EQ(win.files.copies.size(), 1u);
  EXPECT_EQ(installed.calls, std::vector<std::string>{"DllRegisterServer"});
}

TEST_F(WebPrintTest, RegisterServerFileNeedsALibraryWithTheExport) {
  win.files.AddFile("C:\\dist\\notes.ocx", "plain text");
  EXPECT_FALSE(RegisterServerFile("C:\\dist\\notes.ocx"));
  EXPECT_FALSE(RegisterServerFile("C:\\dist\\absent.ocx"));
  sim::SimInstallerLibrary& plain = win.libraries.AddLibrary("C:\\dist\\plain.dll");
  EXPECT_FALSE(RegisterServerFile("C:\\dist\\plain.dll"));
  EXPECT_EQ(plain.loads, 1);
  EXPECT_EQ(plain.openCount, 0);
}

}  // namespace
}  // namespace pinst
