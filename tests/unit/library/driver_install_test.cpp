// FuncInst2K on the simulated Windows: the path each Windows takes, what ends in the
// spooler and the driver folder, the device's driver online, and the codes.
#include <gtest/gtest.h>

#include <functional>

#include "library/library_codes.h"
#include "library/library_exports.h"
#include "platform/sim/sim_windows.h"

namespace pinst {
namespace {

const std::string kInf =
    "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Printer\r\n"
    "[Manufacturer]\r\n%Mfg%=Models,NTx86,NTamd64,NTarm64\r\n"
    "[Models.NTx86]\r\n%TP58%=TP58,LPTENUM\\TessalyTP-58,USBPRINT\\TessalyTP-58\r\n"
    "[Models.NTamd64]\r\n%TP58%=TP58,LPTENUM\\TessalyTP-58,USBPRINT\\TessalyTP-58\r\n"
    "[Models.NTarm64]\r\n%TP58%=TP58,LPTENUM\\TessalyTP-58,USBPRINT\\TessalyTP-58\r\n"
    "[TP58]\r\nCopyFiles=TP58_FILES\r\nDriverFile=tp58.dll\r\nDataFile=tp58.gpd\r\n"
    "ConfigFile=tp58ui.dll\r\n"
    "[TP58_FILES]\r\ntp58.dll\r\ntp58ui.dll\r\ntp58.gpd\r\ntp58res.dll\r\n"
    "[SourceDisksNames]\r\n1=%Disk%,,,\\files\r\n"
    "[SourceDisksFiles]\r\ntp58.dll=1\r\ntp58ui.dll=1\r\ntp58.gpd=1\r\ntp58res.dll=1\r\n"
    "[Strings]\r\nMfg=\"Tessaly\"\r\nTP58=\"Tessaly TP-58\"\r\nDisk=\"Driver disk\"\r\n";
const char* const kInfPath = "i386\\TP58.inf";
const char* const kDriver = "Tessaly TP-58";

class LibraryInstall : public ::testing::Test {
 protected:
  LibraryInstall() {
    os.files.AddFile(kInfPath, kInf);
    for (const char* f : {"tp58.dll", "tp58ui.dll", "tp58.gpd", "tp58res.dll"}) {
      os.files.AddFile(std::string("i386\\files\\") + f, std::string("bytes of ") + f);
    }
  }
  int32_t Run(const char* id, const char* port = "LPT1:") {
    return LibraryFuncInst2K(kInfPath, id, port, 0x1234);
  }
  void AddUsbPrinter() {
    os.devices.AddDevice("USBPRINT\\TESSALYTP-58\\7&1&0&USB003",
                         {"USBPRINT\\TessalyTP-58", "TessalyTP-58"}, {}, "USB003");
  }
  std::string Log() { return os.files.Contents("C:\\WINDOWS\\TEMP\\inst2k.log").value_or(""); }

  sim::SimWindows os;
};

struct PathCase {
  const char* label;
  sim::SimPackageCall upload, install;
  bool wow64;
  std::optional<NativeMachine> machine;
  const char* environment;
  bool package;  // else files
};

// clang-format off
const PathCase kPaths[] = {
  {"Windows XP: no package calls", sim::SimPackageCall::kAbsent, sim::SimPackageCall::kAbsent,
   false, {}, "Windows NT x86", false},
  {"Wine: upload not implemented, no install call", sim::SimPackageCall::kNotImplemented,
   sim::SimPackageCall::kAbsent, false, {}, "Windows NT x86", false},
  {"upload works, install not implemented", sim::SimPackageCall::kPresent,
   sim::SimPackageCall::kNotImplemented, false, {}, "Windows NT x86", false},
  {"Vista and later, 32-bit", sim::SimPackageCall::kPresent, sim::SimPackageCall::kPresent,
   false, {}, "Windows NT x86", true},
  {"32-bit library under WOW64: the native environment", sim::SimPackageCall::kPresent,
   sim::SimPackageCall::kPresent, true, {}, "Windows x64", true},
  {"XP x64 under WOW64, file copy", sim::SimPackageCall::kAbsent, sim::SimPackageCall::kAbsent,
   true, {}, "Windows x64", false},
  {"Windows on ARM", sim::SimPackageCall::kPresent, sim::SimPackageCall::kPresent, true,
   NativeMachine::kArm64, "Windows ARM64", true},
  {"Windows on ARM, file copy", sim::SimPackageCall::kNotImplemented,
   sim::SimPackageCall::kAbsent, true, NativeMachine::kArm64, "Windows ARM64", false},
};
// clang-format on

class InstallPath : public LibraryInstall, public ::testing::WithParamInterface<PathCase> {};

TEST_P(InstallPath, PutsTheDriverInForTheNativeEnvironment) {
  const PathCase& c = GetParam();
  os.printerDrivers.upload = c.upload;
  os.printerDrivers.install = c.install;
  os.system.wow64 = c.wow64;
  os.system.nativeMachine = c.machine;
  ASSERT_EQ(Run("LPTOFFLINE\\TessalyTP-58"), 0) << c.label << "\n" << Log();
  EXPECT_EQ(LibraryLastInstallErrorCode(), 0u);
  const DriverInfo3* driver = os.printerDrivers.Find(c.environment, kDriver);
  ASSERT_NE(driver, nullptr) << c.label;
  EXPECT_EQ(os.printerDrivers.addFlags.empty(), c.package) << c.label;
  EXPECT_EQ(os.devices.stagedInfs.size(), c.package ? 0u : 1u) << c.label;
  if (c.upload != sim::SimPackageCall::kAbsent) {
    ASSERT_EQ(os.printerDrivers.uploads.size(), 1u);
    EXPECT_EQ(os.printerDrivers.uploads[0].environment, c.environment);
    EXPECT_EQ(os.printerDrivers.uploads[0].flags, kUpdpSilentUpload);
  }
  if (!c.package) {
    EXPECT_EQ(os.printerDrivers.addFlags, std::vector<uint32_t>{kApdCopyNewFiles});
    EXPECT_EQ(driver->dependentFiles.size(), 1u);
  }
  EXPECT_NE(Log().find(c.package ? "driver installed from the package"
                                 : "path: files and AddPrinterDriverEx"),
            std::string::npos)
      << c.label;
  const sim::SimPrinter* printer = os.spooler.Find(kDriver);
  ASSERT_NE(printer, nullptr) << c.label;
  EXPECT_EQ(printer->info.driverName, kDriver);
}

INSTANTIATE_TEST_SUITE_P(Library, InstallPath, ::testing::ValuesIn(kPaths));

TEST_F(LibraryInstall, OfflineCopiesEveryFileStagesTheInfAndAddsThePrinter) {
  os.printerDrivers.copiesFiles = false;  // as Wine: the record is made, no file copied
  ASSERT_EQ(Run("LPTOFFLINE\\TessalyTP-58", "LPT1:"), 0) << Log();
  const DriverInfo3* driver = os.printerDrivers.Find("Windows NT x86", kDriver);
  ASSERT_NE(driver, nullptr);
  const std::string v3 = "C:\\WINDOWS\\system32\\spool\\drivers\\W32X86\\3\\";
  EXPECT_EQ(driver->driverPath, v3 + "tp58.dll");
  EXPECT_EQ(driver->dataFile, v3 + "tp58.gpd");
  EXPECT_EQ(driver->configFile, v3 + "tp58ui.dll");
  EXPECT_EQ(driver->helpFile, "");
  EXPECT_EQ(driver->dependentFiles, std::vector<std::string>{v3 + "tp58res.dll"});
  for (const char* f : {"tp58.dll", "tp58ui.dll", "tp58.gpd", "tp58res.dll"}) {
    EXPECT_EQ(os.files.Contents(v3 + f), std::string("bytes of ") + f) << f;
  }
  ASSERT_EQ(os.devices.stagedInfs.size(), 1u);
  EXPECT_EQ(os.files.Contents(os.devices.stagedInfs[0]), kInf);
  EXPECT_TRUE(os.devices.updates.empty());
  const sim::SimPrinter* printer = os.spooler.Find(kDriver);
  ASSERT_NE(printer, nullptr);
  EXPECT_EQ(printer->info.portName, "LPT1:");
  EXPECT_EQ(printer->info.printProcessor, "WinPrint");
  EXPECT_EQ(printer->info.datatype, "RAW");
  EXPECT_NE(Log().find("INF staged as C:\\WINDOWS\\inf\\oem0.inf"), std::string::npos);
}

TEST_F(LibraryInstall, OnlineGivesThePresentDeviceItsDriverAndUsesThePort) {
  AddUsbPrinter();
  os.spooler.ports.push_back({"USB003", "USB Monitor", "Virtual printer port for USB", 0});
  ASSERT_EQ(Run("TessalyTP-58", "USB003"), 0) << Log();
  ASSERT_EQ(os.devices.updates.size(), 1u);
  EXPECT_EQ(os.devices.updates[0].hardwareId, "USBPRINT\\TessalyTP-58");
  EXPECT_EQ(os.devices.updates[0].infPath, "C:\\dist\\i386\\TP58.inf");
  EXPECT_EQ(os.devices.updates[0].flags, kInstallFlagForce);
  ASSERT_NE(os.spooler.Find(kDriver), nullptr);
  EXPECT_EQ(os.spooler.Find(kDriver)->info.portName, "USB003");
}

TEST_F(LibraryInstall, OnlineWithoutADeviceInstallsNothing) {
  EXPECT_EQ(Run("TessalyTP-58"), kLibResultFailure);
  EXPECT_EQ(LibraryLastInstallErrorCode(), kLibNoSuchDevinst);
  EXPECT_TRUE(os.printerDrivers.drivers.empty());
  EXPECT_TRUE(os.files.copies.empty());
  EXPECT_TRUE(os.spooler.printers.empty());
}

TEST_F(LibraryInstall, APrinterWindowsMadeOrOneThereIsLeftAsItIs) {
  AddUsbPrinter();
  os.devices.pnpPrinter = sim::SimPnpPrinter{kDriver, kDriver, "LPT2:"};
  ASSERT_EQ(Run("TessalyTP-58", "LPT1:"), 0) << Log();
  ASSERT_EQ(os.spooler.printers.size(), 1u);
  EXPECT_EQ(os.spooler.printers[0].info.portName, "LPT2:");
  // An unknown port: the printer goes on LPT1:.
  os.spooler.printers.clear();
  os.devices.pnpPrinter.reset();
  ASSERT_EQ(Run("LPTOFFLINE\\TessalyTP-58", "USB009"), 0) << Log();
  EXPECT_EQ(os.spooler.Find(kDriver)->info.portName, "LPT1:");
}

struct CodeCase {
  const char* label;
  std::function<void(sim::SimWindows&)> setUp;
  uint32_t code;
  const char* logLine;
};

// clang-format off
const CodeCase kCodes[] = {
  {"an unsigned package on 64-bit Windows", [](sim::SimWindows& os) {
     os.printerDrivers.upload = os.printerDrivers.install = sim::SimPackageCall::kPresent;
     os.printerDrivers.failUpload = static_cast<int32_t>(0x800F022F);
   }, kLibNoCatalogForOemInf, "the installer takes this code as a cancel"},
  {"the package install fails", [](sim::SimWindows& os) {
     os.printerDrivers.upload = os.printerDrivers.install = sim::SimPackageCall::kPresent;
     os.printerDrivers.failInstall = static_cast<int32_t>(0x80070005);
   }, 5, "InstallPrinterDriverFromPackage failed: 0x80070005"},
  {"the spooler blocks the driver", [](sim::SimWindows& os) {
     os.printerDrivers.failAdd = kErrorPrinterDriverBlocked;
   }, kErrorPrinterDriverBlocked, "the spooler blocks this driver"},
  {"a driver file is missing", [](sim::SimWindows& os) {
     os.files.RemoveFile("i386\\files\\tp58ui.dll");
   }, kLibFileNotFound, "file missing: C:\\dist\\i386\\files\\tp58ui.dll"},
  {"the INF cannot be staged", [](sim::SimWindows& os) { os.devices.failCopyInf = 5; },
   5, "SetupCopyOEMInf failed: 0x00000005"},
  {"the printer cannot be added, no code given", [](sim::SimWindows& os) {
     os.spooler.failAddPrinter = 0;
   }, kLibInstallFailure, "AddPrinter failed: 0x00000000"},
  {"the device's driver update fails", [](sim::SimWindows& os) {
     os.devices.AddDevice("USBPRINT\\X\\1", {"TessalyTP-58"});
     os.devices.failUpdate = 0xE0000219;
   }, 0xE0000219, "UpdateDriverForPlugAndPlayDevices failed: 0xE0000219"},
  {"no model line for the id", [](sim::SimWindows& os) {
     os.devices.AddDevice("USBPRINT\\X\\1", {"TessalyTP-58"});
     os.files.AddFile(kInfPath, "[Manufacturer]\r\nT=M\r\n[M]\r\n\"Other\"=O,LPTENUM\\Other\r\n");
   }, kLibLineNotFound, "no model line for the id TessalyTP-58"},
};
// clang-format on

class InstallCodes : public LibraryInstall, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(InstallCodes, FailsWithWindowsCodeNeverZero) {
  const CodeCase& c = GetParam();
  c.setUp(os);
  const char* id = os.devices.devices.empty() ? "LPTOFFLINE\\TessalyTP-58" : "TessalyTP-58";
  EXPECT_EQ(Run(id), kLibResultFailure) << c.label;
  EXPECT_EQ(LibraryLastInstallErrorCode(), c.code) << c.label;
  EXPECT_NE(Log().find(c.logLine), std::string::npos) << c.label << "\n" << Log();
  EXPECT_TRUE(os.system.messageBoxes.empty()) << c.label;
}

INSTANTIATE_TEST_SUITE_P(Library, InstallCodes, ::testing::ValuesIn(kCodes));

TEST_F(LibraryInstall, ShowErrorCodeIsKeptAcrossLoadsAndASuccessClearsTheCode) {
  LibraryShowErrorCode(-1);
  EXPECT_EQ(Run("TessalyTP-58"), kLibResultFailure);
  ASSERT_EQ(os.system.messageBoxes.size(), 1u);
  EXPECT_EQ(os.system.messageBoxes[0].text, "FuncInst2K: 0xE000020B");
  EXPECT_EQ(os.system.messageBoxes[0].owner, 0x1234u);
  LibraryShowErrorCode(0);
  EXPECT_EQ(Run("TessalyTP-58"), kLibResultFailure);
  EXPECT_EQ(os.system.messageBoxes.size(), 1u);
  EXPECT_EQ(Run("LPTOFFLINE\\TessalyTP-58"), kLibResultSuccess);
  EXPECT_EQ(LibraryLastInstallErrorCode(), 0u);
}

}  // namespace
}  // namespace pinst
