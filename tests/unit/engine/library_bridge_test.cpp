#include "engine/library_bridge.h"

#include <gtest/gtest.h>

#include <type_traits>

#include "engine/install_error.h"
#include "platform/sim/sim_windows.h"

namespace pinst {
namespace {

constexpr uintptr_t kOwner = 0x1234;
const std::string kHwid = "TessalyXP-1009A2B";
const std::string kCompat = "XP100Generic";
const std::string kUsbDevice = "USBPRINT\\TESSALYXP-100\\7&1A2B&0&USB003";
const std::string kUsbPortText = "Virtual printer port for USB003";

class BridgeTest : public ::testing::Test {
 protected:
  BridgeTest() {
    win.files.AddFile("C:\\dist\\i386\\XP100.inf",
                      "[Tessaly]\r\n\"Tessaly XP-100\"=XP100.Install,LPTENUM\\" + kHwid +
                          ",USBPRINT\\" + kCompat + "\r\n");
  }

  bool Install(bool online, const std::string& prefix = "LPTOFFLINE\\") {
    return InstallByLibrary(Request("i386\\inst2k.dll", online, prefix), errorCode, port);
  }
  static TLibraryInstall Request(const std::string& library, bool online,
                                 const std::string& prefix = "LPTOFFLINE\\") {
    TLibraryInstall request;
    request.ownerWindow = kOwner;
    request.infPath = "i386\\XP100.inf";
    request.offlinePrefix = prefix;
    request.libraryPath = library;
    request.online = online;
    return request;
  }

  sim::SimWindows win;
  sim::SimInstallerLibrary& lib = win.libraries.AddLibrary("C:\\dist\\i386\\inst2k.dll");
  uint32_t errorCode = 77;
  std::string port = "before";
};

TEST_F(BridgeTest, OnlineUsbPrinterFoundByItsHardwareId) {
  lib.devices = {{kHwid, kUsbDevice, kUsbPortText}};
  EXPECT_TRUE(Install(true));
  ASSERT_EQ(lib.installCalls.size(), 1u);
  const sim::SimInstallCall& call = lib.installCalls[0];
  EXPECT_EQ(call.infPath, "i386\\XP100.inf");
  EXPECT_EQ(call.hardwareId, kHwid);
  EXPECT_EQ(call.portName, "USB003");
  EXPECT_EQ(call.ownerWindow, kOwner);
  EXPECT_EQ(port, "USB003");
  EXPECT_EQ(errorCode, 0u);
  EXPECT_EQ(lib.openCount, 0);
  EXPECT_EQ(lib.calls.back(), "LastInstallErrorCode");
}

TEST_F(BridgeTest, OnlinePrinterFoundOnlyByItsCompatibleIdIsInstalledForThatId) {
  lib.devices = {{kCompat, kUsbDevice, kUsbPortText}};
  EXPECT_TRUE(Install(true));
  ASSERT_EQ(lib.installCalls.size(), 1u);
  EXPECT_EQ(lib.installCalls[0].hardwareId, kCompat);
  EXPECT_EQ(lib.installCalls[0].portName, "USB003");
  // The first question, then the search by hardware id and by compatible id.
  EXPECT_EQ(lib.findCalls, (std::vector<std::string>{kHwid, kHwid, kCompat}));
}

TEST_F(BridgeTest, OnlineWithNothingFoundUsesTheBareIdOnLpt1) {
  EXPECT_TRUE(Install(true));
  ASSERT_EQ(lib.installCalls.size(), 1u);
  EXPECT_EQ(lib.installCalls[0].hardwareId, kHwid);
  EXPECT_EQ(lib.installCalls[0].portName, "LPT1:");
  EXPECT_EQ(port, "LPT1:");
}

TEST_F(BridgeTest, OfflineGetsThePrefixedIdOnLpt1WhateverWasFound) {
  lib.devices = {{kHwid, kUsbDevice, kUsbPortText}};
  EXPECT_TRUE(Install(false, "LPTOFFLINE\\"));
  EXPECT_TRUE(Install(false, "SERENUM\\"));
  ASSERT_EQ(lib.installCalls.size(), 2u);
  EXPECT_EQ(lib.installCalls[0].hardwareId, "LPTOFFLINE\\" + kHwid);
  EXPECT_EQ(lib.installCalls[0].portName, "LPT1:");
  EXPECT_EQ(lib.installCalls[1].hardwareId, "SERENUM\\" + kHwid);
  EXPECT_EQ(lib.installCalls[1].portName, "LPT1:");
  EXPECT_EQ(port, "LPT1:");
}

TEST_F(BridgeTest, ResultAboveOneIsFailureWithTheLibrarysCode) {
  lib.installResult = 0;
  EXPECT_TRUE(Install(true));
  lib.installResult = -5;
  EXPECT_TRUE(Install(true));
  lib.installResult = 2;
  lib.lastInstallError = 0xE000020B;
  EXPECT_FALSE(Install(true));
  EXPECT_EQ(errorCode, 0xE000020Bu);
  lib.hasLastInstallErrorCode = false;
  EXPECT_FALSE(Install(true));
  EXPECT_EQ(errorCode, 1u);
  EXPECT_EQ(lib.openCount, 0);
}

TEST_F(BridgeTest, MissingLibraryOrInstallFunctionRaisesItsCode) {
  try {
    InstallByLibrary(Request("i386\\none.dll", true, ""), errorCode, port);
    FAIL() << "no error raised";
  } catch (const TInstallError& e) {
    EXPECT_EQ(e.Fault(), TInstallFault::kLibraryMissing);
    EXPECT_EQ(e.File(), "i386\\none.dll");
  }
  lib.hasFuncInst2K = false;
  try {
    Install(true);
    FAIL() << "no error raised";
  } catch (const TInstallError& e) {
    EXPECT_EQ(e.Fault(), TInstallFault::kLibraryFunctionMissing);
  }
  EXPECT_TRUE(lib.calls.empty());
  EXPECT_EQ(lib.openCount, 0);
  EXPECT_EQ(port, "before");
  EXPECT_EQ(errorCode, 77u);
}

TEST_F(BridgeTest, FileThatIsNoLibraryDoesNotLoad) {
  win.files.AddFile("C:\\dist\\i386\\fake.dll", "not a library");
  std::string device = "x";
  std::string text = "y";
  EXPECT_FALSE(FindExistDevice("i386\\fake.dll", kHwid, device, text));
  EXPECT_EQ(device, "");
  EXPECT_EQ(text, "");
  EXPECT_THROW(SetLibraryErrorDisplay("i386\\fake.dll", false), TInstallError);
}

TEST_F(BridgeTest, FindConnectedPrinterPortRules) {
  lib.devices = {{kCompat, kUsbDevice, kUsbPortText}};
  EXPECT_EQ(FindConnectedPrinter("i386\\XP100.inf", "i386\\inst2k.dll", port),
            kFoundByCompatibleId);
  EXPECT_EQ(port, "USB003");

  lib.devices = {{kHwid, "LPTENUM\\TESSALYXP-100\\1&7D2&0&LPT2.4", ""}};
  EXPECT_EQ(FindConnectedPrinter("i386\\XP100.inf", "i386\\inst2k.dll", port), kFoundByHardwareId);
  EXPECT_EQ(port, "LPT1:");

  // A USB port text shorter than a port name is taken whole.
  lib.devices = {{kHwid, kUsbDevice, "USB3"}};
  FindConnectedPrinter("i386\\XP100.inf", "i386\\inst2k.dll", port);
  EXPECT_EQ(port, "USB3");

  // A device of another kind leaves the port as it was.
  port = "COM1:";
  lib.devices = {{kHwid, "DOT4\\X\\1", "whatever"}};
  EXPECT_EQ(FindConnectedPrinter("i386\\XP100.inf", "i386\\inst2k.dll", port), kFoundByHardwareId);
  EXPECT_EQ(port, "COM1:");

  lib.devices.clear();
  EXPECT_EQ(FindConnectedPrinter("i386\\XP100.inf", "i386\\inst2k.dll", port), kNoDeviceFound);
  EXPECT_EQ(port, "");
  EXPECT_EQ(lib.openCount, 0);
}

TEST_F(BridgeTest, OnlyTheLowestByteOfTheAnswerCounts) {
  lib.devices = {{kHwid, kUsbDevice, kUsbPortText}};
  lib.foundValue = 0x100;
  std::string device;
  std::string text;
  EXPECT_FALSE(FindExistDevice("i386\\inst2k.dll", kHwid, device, text));
  // The buffers are still read after a false answer.
  EXPECT_EQ(device, kUsbDevice);
  lib.foundValue = 0xFFFFFF01;
  EXPECT_TRUE(FindExistDevice("i386\\inst2k.dll", kHwid, device, text));
  lib.hasFuncFindExistDevice = false;
  EXPECT_FALSE(FindExistDevice("i386\\inst2k.dll", kHwid, device, text));
  EXPECT_EQ(device, "");
  EXPECT_EQ(lib.openCount, 0);
}

TEST_F(BridgeTest, ErrorDisplayLoadsTheAbsolutePathAndPassesMinusOneForTrue) {
  SetLibraryErrorDisplay("i386\\inst2k.dll", false);
  SetLibraryErrorDisplay("i386\\inst2k.dll", true);
  EXPECT_EQ(lib.showErrorCalls, (std::vector<int32_t>{0, -1}));
  EXPECT_EQ(win.libraries.loadRequests.back(), "C:\\dist\\i386\\inst2k.dll");
  lib.hasShowErrorCode = false;
  SetLibraryErrorDisplay("i386\\inst2k.dll", false);
  EXPECT_EQ(lib.showErrorCalls.size(), 2u);
  EXPECT_EQ(lib.openCount, 0);
  try {
    SetLibraryErrorDisplay("i386\\none.dll", false);
    FAIL() << "no error raised";
  } catch (const TInstallError& e) {
    EXPECT_EQ(e.Fault(), TInstallFault::kLibraryMissing);
  }
}

TEST_F(BridgeTest, BareLibraryNameIsFoundByTheLoadersSearch) {
  sim::SimInstallerLibrary& system = win.libraries.AddLibrary("C:\\WINDOWS\\system32\\sys.dll");
  system.devices = {{kHwid, kUsbDevice, kUsbPortText}};
  std::string device;
  std::string text;
  EXPECT_TRUE(FindExistDevice("sys.dll", kHwid, device, text));
  EXPECT_TRUE(FindExistDevice("SYS", kHwid, device, text));
  EXPECT_FALSE(FindExistDevice("inst2k.dll", kHwid, device, text));  // not on the search path
}

class HelperTest : public BridgeTest {
 protected:
  HelperTest() {
    win.system.wow64 = true;
    win.files.AddFile("C:\\dist\\X64\\Instavo64.exe", "MZ");
    win.libraries.AddLibrary("C:\\dist\\X64\\inst2k64.dll");
  }
  void Start(bool online, const std::string& library64 = "X64\\inst2k64.dll") {
    THelperStart helper;
    helper.ownerWindow = kOwner;
    helper.helperPath = "X64\\Instavo64.exe";
    helper.infPath = "i386\\XP100.inf";
    helper.offlinePrefix = "LPTOFFLINE\\";
    helper.library64Path = library64;
    helper.library32Path = "i386\\inst2k.dll";
    helper.online = online;
    StartHelper64(helper, process, port);
  }
  ProcessHandle process;
};

TEST_F(HelperTest, CommandLineNamesTheSiblingInfAndTheLibraryBesideTheHelper) {
  lib.devices = {{kHwid, kUsbDevice, kUsbPortText}};
  win.processes.SetProgram("X64\\Instavo64.exe", {0, std::nullopt});
  Start(true);
  ASSERT_EQ(win.processes.started.size(), 1u);
  const ProcessStartInfo& info = win.processes.started[0].info;
  EXPECT_EQ(info.commandLine,
            "X64\\Instavo64.exe /Handle 4660 /Dll \"inst2k64.dll\" /Inf \"..\\i386\\XP100.inf\" "
            "/HWID TessalyXP-1009A2B");
  EXPECT_TRUE(info.inheritHandles);
  EXPECT_EQ(info.creationFlags, 8u);
  EXPECT_EQ(info.currentDirectory, "C:\\dist\\X64\\");
  EXPECT_EQ(info.startupFlags, 0x101u);
  EXPECT_EQ(info.showWindow, 0);
  EXPECT_EQ(port, "USB003");
  // The device questions went to the 32-bit library, which is free again.
  EXPECT_EQ(lib.findCalls.size(), 2u);
  EXPECT_EQ(lib.openCount, 0);
  EXPECT_TRUE(lib.installCalls.empty());

  ASSERT_TRUE(process);
  EXPECT_EQ(process.ExitCode(), kStillActive);
  win.processes.End(0, 0);
  EXPECT_EQ(process.ExitCode(), 0u);
  process.Close();
  EXPECT_EQ(win.processes.started[0].state->openHandles, 0);
}

TEST_F(HelperTest, OfflineCompatibleAndEmptyLibraryArguments) {
  Start(false, "");
  lib.devices = {{kCompat, kUsbDevice, kUsbPortText}};
  Start(true);
  ASSERT_EQ(win.processes.started.size(), 2u);
  EXPECT_EQ(win.processes.started[0].info.commandLine,
            "X64\\Instavo64.exe /Handle 4660 /Dll \"\" /Inf \"..\\i386\\XP100.inf\" /HWID "
            "LPTOFFLINE\\TessalyXP-1009A2B");
  EXPECT_EQ(win.processes.started[1].info.commandLine,
            "X64\\Instavo64.exe /Handle 4660 /Dll \"inst2k64.dll\" /Inf \"..\\i386\\XP100.inf\" "
            "/HWID XP100Generic");
  // The second start replaced, and so closed, the first handle.
  EXPECT_EQ(win.processes.started[0].state->openHandles, 0);
}

TEST_F(HelperTest, InfOnAnotherDriveStaysAbsolute) {
  EXPECT_EQ(
      HelperCommandLineFor("X64\\Instavo64.exe", 1, "D:\\drv\\XP100.inf", "X64\\inst2k64.dll",
                           "ID"),
      "X64\\Instavo64.exe /Handle 1 /Dll \"inst2k64.dll\" /Inf \"D:\\drv\\XP100.inf\" /HWID ID");
}

TEST_F(HelperTest, MissingHelperLeavesAnEmptyHandleButThePort) {
  win.files.RemoveFile("C:\\dist\\X64\\Instavo64.exe");
  Start(true);
  EXPECT_FALSE(process);
  EXPECT_EQ(process.ExitCode(), std::nullopt);
  EXPECT_EQ(win.processes.attempts.size(), 1u);
  EXPECT_EQ(port, "LPT1:");
}

TEST_F(HelperTest, ThirtyTwoBitWindowsStartsNothingAndKeepsThePort) {
  win.system.wow64 = false;
  Start(true);
  EXPECT_TRUE(win.processes.attempts.empty());
  EXPECT_TRUE(lib.calls.empty());
  EXPECT_EQ(port, "before");
  EXPECT_FALSE(process);
}

static_assert(!std::is_copy_constructible_v<ProcessHandle>);
static_assert(std::is_nothrow_move_constructible_v<ProcessHandle>);

}  // namespace
}  // namespace pinst
