// The sample distribution's own placeholder driver package installs through the
// library, for both models, on 32-bit Windows and under WOW64.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/sample_dist.h"
#include "library/library_exports.h"
#include "platform/sim/sim_windows.h"

namespace pinst {
namespace {

void LoadSample(sim::SimWindows& win) { testdata::LoadSampleDistribution(win); }

struct Case {
  const char* inf;
  const char* id;  // as the installer hands it over offline
  const char* model;
  const char* files[3];
};

const Case kCases[] = {
    {"i386\\XP100.inf",
     "LPTOFFLINE\\TessalyXP-1009A2B",
     "Tessaly XP-100",
     {"XP100.dll", "XP100.gpd", "XP100UI.dll"}},
    {"i386\\TP58.inf",
     "SERENUM\\TessalyTP-58D1C0",
     "Tessaly TP-58",
     {"TP58.dll", "TP58.gpd", "TP58UI.dll"}},
};

TEST(SamplePackage, EachModelInstallsFromItsOwnFiles) {
  for (const bool wow64 : {false, true}) {
    for (const Case& c : kCases) {
      sim::SimWindows win;
      win.system.wow64 = wow64;
      LoadSample(win);
      ASSERT_EQ(LibraryFuncInst2K(c.inf, c.id, "LPT1:", 0), 0) << c.inf;
      const char* environment = wow64 ? "Windows x64" : "Windows NT x86";
      const DriverInfo3* driver = win.printerDrivers.Find(environment, c.model);
      ASSERT_NE(driver, nullptr) << c.inf;
      const std::string folder = std::string("C:\\WINDOWS\\system32\\spool\\drivers\\") +
                                 (wow64 ? "x64" : "W32X86") + "\\3\\";
      EXPECT_EQ(driver->driverPath, folder + c.files[0]);
      EXPECT_EQ(driver->dataFile, folder + c.files[1]);
      EXPECT_EQ(driver->configFile, folder + c.files[2]);
      for (const char* f : c.files) {
        EXPECT_EQ(win.files.Contents(folder + f), win.files.Contents(std::string("i386\\") + f));
      }
      ASSERT_NE(win.spooler.Find(c.model), nullptr);
      EXPECT_EQ(win.spooler.Find(c.model)->info.driverName, c.model);
    }
  }
}

}  // namespace
}  // namespace pinst
