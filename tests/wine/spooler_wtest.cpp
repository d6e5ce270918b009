// The real spooler layer against Wine's spooler. Printers added here carry the
// prefix "Pinst W " and are deleted again, also when an earlier run left them.
#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>
// winspool.h maps GetPrinterDriver to its "A" call; ours is a function of its own.
#undef GetPrinterDriver

#include <algorithm>

#include "base/ansi_text.h"
#include "platform/platform.h"
#include "platform/spooler.h"
#include "platform/win32/win32_platform.h"
#include "removal/default_printer.h"
#include "removal/driver_removal.h"
#include "removal/printer_removal.h"
#include "spooler/dyn_spooler.h"
#include "spooler/job_ops.h"
#include "spooler/port_ops.h"
#include "spooler/printer_add.h"
#include "spooler/printer_info.h"
#include "spooler/printer_list.h"
#include "spooler/printer_ops.h"

namespace pinst {
namespace {

const char* kDriver = "Pinst W Driver";
const char* kNamePrefix = "Pinst W ";

// Wine's spooler adds a printer only for an installed driver; the PostScript driver
// that comes with Wine serves.
bool InstallDriver(const std::string& name) {
  std::string driverName = name;
  std::string driverPath = "wineps.drv";
  std::string dataFile = "generic.ppd";
  std::string configFile = "wineps.drv";
  DRIVER_INFO_3A info = {};
  info.cVersion = 3;
  info.pName = driverName.data();
  info.pDriverPath = driverPath.data();
  info.pDataFile = dataFile.data();
  info.pConfigFile = configFile.data();
  if (::AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&info), APD_COPY_NEW_FILES)) {
    return true;
  }
  return ::AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&info)) != FALSE;
}

// Deletes a printer straight through the handle, without the status step.
bool DeleteDirectly(const std::string& name) {
  PrinterHandle printer = Os().spooler->OpenPrinterA(
      name, PrinterDefaults{std::string(), DevModeBytes(), kPrinterAllAccess});
  return printer && printer->DeletePrinter();
}

// Points the user's default printer at a name, as a printer deleted elsewhere leaves it.
bool SetStaleDefault(const std::string& name) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows",
                      0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
    return false;
  }
  const std::string device = name + ",winspool,LPT1:";
  const LONG status =
      ::RegSetValueExA(key, "Device", 0, REG_SZ, reinterpret_cast<const BYTE*>(device.c_str()),
                       static_cast<DWORD>(device.size() + 1));
  ::RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

bool Listed(const StringList& list, const std::string& name) {
  return std::find(list.begin(), list.end(), name) != list.end();
}

// Whether this spooler sets a printer's status with SetPrinterA level 0.
bool StatusCanBeSet(const std::string& name, uint32_t& error) {
  PrinterHandle printer = Os().spooler->OpenPrinterA(
      name, PrinterDefaults{std::string(), DevModeBytes(), kPrinterAllAccess});
  if (!printer) {
    error = Os().spooler->GetLastError();
    return false;
  }
  if (printer->SetPrinterCommand(kPrinterControlSetStatus, 0)) return true;
  error = Os().spooler->GetLastError();
  return false;
}

class RealSpooler : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { driverInstalled_ = InstallDriver(kDriver); }

  RealSpooler() {
    for (const std::string& name : SystemPrinterNames()) {
      if (name.rfind(kNamePrefix, 0) == 0) DeleteDirectly(name);
    }
  }
  ~RealSpooler() override {
    for (const std::string& name : added_) DeleteDirectly(name);
  }

  void SetUp() override {
    ASSERT_TRUE(driverInstalled_) << "the test driver could not be installed";
  }

  // Adds a printer of this test and deletes it at the end.
  std::string Add(const std::string& suffix) {
    const std::string name = kNamePrefix + suffix;
    EXPECT_TRUE(AddLocalPrinter(kDriver, name)) << name << " error " << ::GetLastError();
    added_.push_back(name);
    return name;
  }

  win32::Win32Platform platform;
  std::vector<std::string> added_;
  static inline bool driverInstalled_ = false;
};

TEST_F(RealSpooler, AddedPrinterIsFoundWithoutRegardToCase) {
  const std::string name = Add("Laser");
  EXPECT_TRUE(PrinterExists(name));
  EXPECT_TRUE(PrinterExists("PINST W LASER"));
  EXPECT_TRUE(PrinterExists("pinst w laser"));
  EXPECT_FALSE(PrinterExists("Pinst W Lase"));

  std::string driver;
  GetPrinterDriver("pinst w laser", driver);
  EXPECT_EQ(driver, kDriver);
  std::string port;
  GetPrinterPort(name, port);
  EXPECT_EQ(port, "LPT1:");

  PrinterHandle printer = Os().spooler->OpenPrinterA(name, std::nullopt);
  ASSERT_TRUE(printer);
  PrinterInfo2 info;
  ASSERT_TRUE(ReadPrinterInfo(*printer, info));
  EXPECT_EQ(info.printerName, name);
  EXPECT_EQ(info.datatype, "RAW");
  EXPECT_TRUE(EqualsNoCase(info.printProcessor, "WinPrint", ::GetACP())) << info.printProcessor;
  EXPECT_EQ(info.attributes & kPrinterAttributeShared, 0u);
}

TEST_F(RealSpooler, AddingFailsForAnEmptyNameOrAnUnknownDriver) {
  EXPECT_FALSE(AddLocalPrinter(kDriver, ""));
  EXPECT_FALSE(AddLocalPrinter("Pinst W No Such Driver", std::string(kNamePrefix) + "Nothing"));
  EXPECT_FALSE(PrinterExists(std::string(kNamePrefix) + "Nothing"));
}

TEST_F(RealSpooler, PortsAreFoundCaseSensitively) {
  EXPECT_TRUE(PortExists("LPT1:"));
  EXPECT_TRUE(PortExists("FILE:"));
  EXPECT_TRUE(PortExists("COM2:"));
  EXPECT_FALSE(PortExists("lpt1:"));
  EXPECT_FALSE(PortExists("LPT1"));
  EXPECT_FALSE(PortExists("PINST9:"));
}

TEST_F(RealSpooler, PrinterMovesToAnotherPortAndReadsItBack) {
  const std::string name = Add("Mover");
  EXPECT_TRUE(SetPrinterPort(name, "COM2:"));
  std::string port;
  GetPrinterPort(name, port);
  EXPECT_EQ(port, "COM2:");
  EXPECT_TRUE(SetPrinterPort("PINST W MOVER", "FILE:"));
  GetPrinterPort(name, port);
  EXPECT_EQ(port, "FILE:");

  EXPECT_FALSE(SetPrinterPort(name, ""));
  EXPECT_FALSE(SetPrinterPort(std::string(kNamePrefix) + "Missing", "LPT2:"));
  GetPrinterPort(std::string(kNamePrefix) + "Missing", port);
  EXPECT_EQ(port, "");
}

TEST_F(RealSpooler, ListShowsThePrintersAndThePositionOfTheDefault) {
  const std::string first = Add("List One");
  const std::string second = Add("List Two on desk");
  StringList list{"old"};
  ASSERT_TRUE(DynSetDefaultPrinter(first));
  const int position = ListPrinters(&list);
  EXPECT_FALSE(Listed(list, "old"));
  EXPECT_TRUE(Listed(list, first));
  EXPECT_TRUE(Listed(list, std::string(kNamePrefix) + "List Two"));
  EXPECT_FALSE(Listed(list, second));
  ASSERT_GE(position, 0);
  EXPECT_EQ(list[static_cast<size_t>(position)], first);

  ASSERT_TRUE(DynSetDefaultPrinter(second));
  const int secondPosition = ListPrinters(&list);
  ASSERT_GE(secondPosition, 0);
  EXPECT_EQ(list[static_cast<size_t>(secondPosition)], std::string(kNamePrefix) + "List Two");
}

TEST_F(RealSpooler, DefaultPrinterIsSetReadAndRepaired) {
  const std::string keep = Add("Keep");
  const std::string gone = Add("Gone");
  ASSERT_TRUE(DynSetDefaultPrinter(gone));
  std::string name;
  ASSERT_TRUE(DynGetDefaultPrinter(name));
  EXPECT_EQ(name, gone);

  // A default that exists stays.
  std::string newDefault = "stale";
  RepairDefaultPrinter(true, newDefault);
  EXPECT_EQ(newDefault, "");
  ASSERT_TRUE(DynGetDefaultPrinter(name));
  EXPECT_EQ(name, gone);

  // Once it is gone, the first printer of the system's list takes over. Wine picks a
  // new default by itself; the stale name is put back so the repair has work to do.
  ASSERT_TRUE(DeleteDirectly(gone));
  if (DynGetDefaultPrinter(name) && name != gone) {
    ASSERT_TRUE(SetStaleDefault(gone));
  }
  ASSERT_TRUE(DynGetDefaultPrinter(name));
  ASSERT_EQ(name, gone);
  RepairDefaultPrinter(true, newDefault);
  const StringList names = SystemPrinterNames();
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(newDefault, names.front());
  ASSERT_TRUE(DynGetDefaultPrinter(name));
  EXPECT_EQ(name, names.front());
  EXPECT_FALSE(DynSetDefaultPrinter(gone));
}

TEST_F(RealSpooler, TheThreeFunctionsAreFoundAtRunTime) {
  std::string name;
  uint32_t needed = 0;
  EXPECT_TRUE(
      Os().spooler->GetDefaultPrinterA(kDefaultPrinterBufferChars, name, needed).has_value());
  EXPECT_TRUE(Os().spooler->SetDefaultPrinterA("Pinst W Nobody").has_value());
  EXPECT_TRUE(
      Os().spooler
          ->DeletePrinterDriverExA(std::nullopt, std::nullopt, "Pinst W No Such Driver", 0, 0)
          .has_value());
}

TEST_F(RealSpooler, EmptyQueueCountsZero) {
  const std::string name = Add("Queue");
  EXPECT_EQ(GetPrinterJobCount(name), 0);
  EXPECT_EQ(GetPrinterJobCount(std::string(kNamePrefix) + "Missing"), 0);

  PrinterHandle printer = Os().spooler->OpenPrinterA(name, std::nullopt);
  ASSERT_TRUE(printer);
  std::vector<JobInfo1> jobs;
  uint32_t needed = 0;
  Os().spooler->SetLastError(0xDEAD);
  // An empty queue fits in no buffer at all, so this call succeeds where it is implemented.
  if (!printer->EnumJobsA(0, 0xFFFFFFFF, 0, jobs, needed) &&
      Os().spooler->GetLastError() != kErrorInsufficientBuffer) {
    GTEST_SKIP() << "EnumJobsA is a stub here (FALSE, last error "
                 << "0x" << std::hex << Os().spooler->GetLastError()
                 << " left as it was): the count of 0 comes from the unreadable-queue branch";
  }
  EXPECT_TRUE(jobs.empty());
}

TEST_F(RealSpooler, DeletionByNameAsFarAsTheSpoolerAllows) {
  const std::string other = Add("Other");
  const std::string name = Add("Delete Me");
  EXPECT_EQ(DeletePrinterByName(std::string(kNamePrefix) + "Missing"), kPrinterNotOpened);

  uint32_t error = 0;
  if (StatusCanBeSet(name, error)) {
    ASSERT_TRUE(DynSetDefaultPrinter(name));
    EXPECT_EQ(DeletePrinterByName("PINST W DELETE ME"), kPrinterDeleted);
    EXPECT_FALSE(PrinterExists(name));
    std::string current;
    EXPECT_TRUE(DynGetDefaultPrinter(current));
    EXPECT_TRUE(PrinterExists(current));
    return;
  }
  // The status step fails: the printer is kept, code 2.
  EXPECT_EQ(DeletePrinterByName(name), kPrinterNotOpened);
  EXPECT_TRUE(PrinterExists(name));
  // The steps after it (delete through the full-access handle, repair the default) work.
  ASSERT_TRUE(DynSetDefaultPrinter(name));
  ASSERT_TRUE(DeleteDirectly(name));
  EXPECT_FALSE(PrinterExists(name));
  std::string newDefault;
  RepairDefaultPrinter(true, newDefault);
  std::string current;
  EXPECT_TRUE(DynGetDefaultPrinter(current));
  EXPECT_TRUE(PrinterExists(current)) << current;
  GTEST_SKIP() << "SetPrinterA level 0 (PRINTER_CONTROL_SET_STATUS) is not implemented here "
                  "(last error "
               << error
               << "), so DeletePrinterByName stops at code 2; the deletion and repair "
                  "steps were checked directly";
}

TEST_F(RealSpooler, DriverDeletion) {
  const std::string driver = "Pinst W Old Driver";
  ASSERT_TRUE(InstallDriver(driver));
  if (!DynDeletePrinterDriverEx(std::nullopt, std::nullopt, driver, kDpdDeleteUnusedFiles, 0)) {
    const uint32_t error = Os().spooler->GetLastError();
    // The call itself is reached: without the flag the driver goes.
    EXPECT_TRUE(DynDeletePrinterDriverEx(std::nullopt, std::nullopt, driver, 0, 0));
    GTEST_SKIP() << "DeletePrinterDriverExA with DPD_DELETE_UNUSED_FILES is not implemented here "
                    "(last error "
                 << error << "); DeletePrnDriver's two attempts are covered by the host tests";
  }
  ASSERT_TRUE(InstallDriver(driver));
  EXPECT_TRUE(DeletePrnDriver(driver));
}

}  // namespace
}  // namespace pinst
