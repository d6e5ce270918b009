// The installer's whole run with the real library behind its library file: the
// library's ERROR_NO_SUCH_DEVINST leads to the offline install, which the library
// carries out, and the printer it makes is the one the installer finishes.
#include <gtest/gtest.h>

#include "app/install_fixture.h"
#include "library/library_exports.h"

namespace pinst {
namespace {

using testdata::kModel;

class InstallerWithLibrary : public testdata::InstallTest {
 protected:
  InstallerWithLibrary() {
    win.files.AddFile("i386\\XP100.inf",
                      "[Version]\r\nClass=Printer\r\n[Manufacturer]\r\n\"Tessaly\"=Tessaly\r\n"
                      "[Tessaly]\r\n\"" +
                          kModel + "\"=XP100.Install,LPTENUM\\" + testdata::kHwid +
                          ",USBPRINT\\XP100Generic\r\n"
                          "[XP100.Install]\r\nCopyFiles=@xp100.dll,@xp100.gpd\r\n"
                          "DriverFile=xp100.dll\r\nDataFile=xp100.gpd\r\n"
                          "[Strings]\r\nProviderName=\"Tessaly\"\r\n");
    win.files.AddFile("i386\\xp100.dll", "driver");
    win.files.AddFile("i386\\xp100.gpd", "data");
    lib.onInstall = [this](const sim::SimInstallCall& call) {
      lib.installResult = LibraryFuncInst2K(call.infPath.c_str(), call.hardwareId.c_str(),
                                            call.portName.c_str(), call.ownerWindow);
      lib.lastInstallError = LibraryLastInstallErrorCode();
    };
  }
};

TEST_F(InstallerWithLibrary, NoDeviceOnlineThenTheOfflineInstallMakesThePrinter) {
  WriteIni();
  auto w = Start();
  Answer({kIdYes, kIdNo});
  w->Main.BbtnStart.Click();
  ASSERT_EQ(lib.installCalls.size(), 2u);
  EXPECT_EQ(lib.installCalls[1].hardwareId, "LPTOFFLINE\\" + testdata::kHwid);
  const sim::SimPrinter* printer = win.spooler.Find(kModel);
  ASSERT_NE(printer, nullptr);
  EXPECT_EQ(printer->info.driverName, kModel);
  EXPECT_EQ(win.spooler.printers.size(), 1u);
  EXPECT_EQ(printer->info.portName, "LPT1:");
  ASSERT_NE(win.printerDrivers.Find("Windows NT x86", kModel), nullptr);
  EXPECT_EQ(win.files.Contents("C:\\WINDOWS\\system32\\spool\\drivers\\W32X86\\3\\xp100.gpd"),
            "data");
  EXPECT_EQ(w->Main.Outcome(), TRunOutcome::kInstalled);
}

}  // namespace
}  // namespace pinst
