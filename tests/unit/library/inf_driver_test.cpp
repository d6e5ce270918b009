// What the library reads from a driver INF for one hardware id, over the layouts
// makers use: files by platform in sub-folders, several file lists, @file entries,
// decorated install sections, a minidriver of Windows' core driver.
#include "library/inf_driver.h"

#include <gtest/gtest.h>

#include "library/install_log.h"
#include "library/library_codes.h"
#include "platform/sim/sim_windows.h"

namespace pinst {
namespace {

const std::string kHead =
    "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Printer\r\n"
    "[Manufacturer]\r\n%Mfg%=Models,NTx86,NTamd64\r\n"
    "[Models.NTx86]\r\n%TP58%=TP58,LPTENUM\\TessalyTP-58,USBPRINT\\TessalyTP-58\r\n"
    "[Models.NTamd64]\r\n\"TP-58 x64\" = TP58, LPTENUM\\TessalyTP-58 ; 64-bit name\r\n"
    "[Strings]\r\nMfg=\"Tessaly\"\r\nTP58=\"Tessaly TP-58\"\r\n";

// Windows' own printer INF, as much of it as a minidriver needs.
const std::string kNtprint =
    "[UNIDRV.OEM]\r\nCopyFiles=UNIDRV_FILES\r\nDataSection=UNIDRV_DATA\r\n"
    "[UNIDRV_DATA]\r\nDriverFile=UNIDRV.DLL\r\nConfigFile=UNIDRVUI.DLL\r\nHelpFile=UNIDRV.HLP\r\n"
    "[UNIDRV_FILES]\r\nUNIDRV.DLL\r\nUNIDRVUI.DLL\r\nUNIRES.DLL\r\nUNIDRV.HLP\r\n";

struct Case {
  const char* label;
  std::string body;  // after kHead
  NativeMachine machine;
  uint32_t code;
  std::string section;
  std::string roles;  // driver|data|config|help
  std::string files;  // name<source;... (sources relative to C:\dist\drv\)
  std::string dependents;
};

std::string Roles(const TInfDriver& d) {
  return d.driverFile + "|" + d.dataFile + "|" + d.configFile + "|" + d.helpFile;
}

std::string Files(const TInfDriver& d) {
  std::string text;
  for (const TPackageFile& f : d.files) {
    const std::string folder = "C:\\dist\\drv\\";
    const std::string source =
        f.source.rfind(folder, 0) == 0 ? f.source.substr(folder.size()) : f.source;
    text += f.name + "<" + source + ";";
  }
  return text;
}

std::string Joined(const std::vector<std::string>& list) {
  std::string text;
  for (const std::string& s : list) text += s + ";";
  return text;
}

const std::string kRoles =
    "DriverFile=tp58.dll\r\nDataFile=tp58.gpd\r\nConfigFile=tp58ui.dll\r\nHelpFile=tp58.hlp\r\n";

// clang-format off
const Case kCases[] = {
  {"files in sub-folders by platform, x86",
   "[TP58]\r\nCopyFiles=TP58_FILES\r\n" + kRoles +
   "[TP58_FILES]\r\ntp58.dll\r\ntp58ui.dll\r\ntp58.gpd\r\ntp58.hlp\r\ntp58res.dll,tp58res.dl_\r\n"
   "[SourceDisksNames.x86]\r\n1=%Disk%,,,\\i386\r\n[SourceDisksNames.amd64]\r\n1=%Disk%,,,\\amd64\r\n"
   "[SourceDisksFiles]\r\ntp58.dll=1,bin\r\ntp58ui.dll=1,bin\r\ntp58.gpd=1\r\ntp58res.dl_=1,bin\r\n",
   NativeMachine::kX86, 0, "TP58", "tp58.dll|tp58.gpd|tp58ui.dll|tp58.hlp",
   "tp58.dll<i386\\bin\\tp58.dll;tp58ui.dll<i386\\bin\\tp58ui.dll;tp58.gpd<i386\\tp58.gpd;"
   "tp58.hlp<tp58.hlp;tp58res.dll<i386\\bin\\tp58res.dl_;", "tp58res.dll;"},
  {"files in sub-folders by platform, x64 with its own file list",
   "[TP58]\r\nCopyFiles=TP58_FILES\r\n" + kRoles +
   "[TP58_FILES]\r\ntp58.dll\r\ntp58ui.dll\r\ntp58.gpd\r\ntp58.hlp\r\n"
   "[SourceDisksNames.x86]\r\n1=%Disk%,,,\\i386\r\n[SourceDisksNames.amd64]\r\n2=%Disk%,,,amd64\\\r\n"
   "[SourceDisksFiles]\r\ntp58.dll=1\r\n[SourceDisksFiles.amd64]\r\ntp58.dll=2\r\ntp58ui.dll=2\r\n",
   NativeMachine::kX64, 0, "TP58", "tp58.dll|tp58.gpd|tp58ui.dll|tp58.hlp",
   "tp58.dll<amd64\\tp58.dll;tp58ui.dll<amd64\\tp58ui.dll;tp58.gpd<tp58.gpd;tp58.hlp<tp58.hlp;", ""},
  {"two CopyFiles lines, a list of two sections and @file entries, no HelpFile",
   "[TP58]\r\nCopyFiles=TP58_DRV\r\nCopyFiles=@tp58.gpd, TP58_UI ,@tp58.ini\r\n"
   "DriverFile=tp58.dll\r\nDataFile=tp58.gpd\r\nConfigFile=tp58ui.dll\r\n"
   "[TP58_DRV]\r\ntp58.dll\r\n[TP58_UI]\r\ntp58ui.dll\r\ntp58.dll\r\n",
   NativeMachine::kX86, 0, "TP58", "tp58.dll|tp58.gpd|tp58ui.dll|",
   "tp58.dll<tp58.dll;tp58.gpd<tp58.gpd;tp58ui.dll<tp58ui.dll;tp58.ini<tp58.ini;", "tp58.ini;"},
  {"decorated install section on x64",
   "[TP58]\r\nDriverFile=plain.dll\r\n[TP58.NTamd64]\r\nDriverFile=tp58_64.dll\r\n",
   NativeMachine::kX64, 0, "TP58.NTamd64", "tp58_64.dll|tp58_64.dll|tp58_64.dll|",
   "tp58_64.dll<tp58_64.dll;", ""},
  {"undecorated install section where the machine has none",
   "[TP58]\r\nDriverFile=plain.dll\r\n[TP58.NTamd64]\r\nDriverFile=tp58_64.dll\r\n",
   NativeMachine::kX86, 0, "TP58", "plain.dll|plain.dll|plain.dll|", "plain.dll<plain.dll;", ""},
  {"a list for another folder is left out",
   "[TP58]\r\nCopyFiles=TP58_DRV,TP58_SYS\r\nDriverFile=tp58.dll\r\n"
   "[TP58_DRV]\r\ntp58.dll\r\n[TP58_SYS]\r\ntp58lm.dll\r\n"
   "[DestinationDirs]\r\nDefaultDestDir=66000\r\nTP58_SYS=11\r\n",
   NativeMachine::kX86, 0, "TP58", "tp58.dll|tp58.dll|tp58.dll|", "tp58.dll<tp58.dll;", ""},
  {"a minidriver of Windows' core driver",
   "[TP58]\r\nInclude=NTPRINT.INF\r\nNeeds=UNIDRV.OEM\r\nCopyFiles=@TP58.GPD\r\nDataFile=TP58.GPD\r\n",
   NativeMachine::kX86, 0, "TP58", "UNIDRV.DLL|TP58.GPD|UNIDRVUI.DLL|UNIDRV.HLP",
   "TP58.GPD<TP58.GPD;", "UNIRES.DLL;"},
  {"a core INF Windows lacks",
   "[TP58]\r\nInclude=PSCRIPT.INF\r\nNeeds=PSCRIPT.OEM\r\nDataFile=TP58.PPD\r\n",
   NativeMachine::kX86, kLibFileNotFound, "TP58", "|TP58.PPD||", "", ""},
  {"a core section the core INF lacks",
   "[TP58]\r\nInclude=NTPRINT.INF\r\nNeeds=PSCRIPT.OEM\r\nDataFile=TP58.PPD\r\n",
   NativeMachine::kX86, kLibSectionNotFound, "TP58", "|TP58.PPD||", "", ""},
  {"no install section", "", NativeMachine::kX86, kLibSectionNotFound, "", "|||", "", ""},
  {"no DriverFile anywhere", "[TP58]\r\nDataFile=tp58.gpd\r\n", NativeMachine::kX86,
   kLibLineNotFound, "TP58", "|tp58.gpd||", "", ""},
};
// clang-format on

class InfDriver : public ::testing::TestWithParam<Case> {};

TEST_P(InfDriver, ReadsTheDriverOfTheId) {
  const Case& c = GetParam();
  sim::SimWindows os;
  os.files.AddFile("C:\\dist\\drv\\tp58.inf", kHead + c.body);
  os.files.AddFile("C:\\WINDOWS\\inf\\ntprint.inf", kNtprint);
  InfTarget target;
  target.machine = c.machine;
  TInstallLog log;
  TInfDriver driver;
  EXPECT_EQ(ReadInfDriver("C:\\dist\\drv\\tp58.inf", "TessalyTP-58", target, log, driver), c.code)
      << c.label;
  EXPECT_EQ(driver.installSection, c.section) << c.label;
  EXPECT_EQ(Roles(driver), c.roles) << c.label;
  if (c.code != 0) return;
  EXPECT_EQ(Files(driver), c.files) << c.label;
  EXPECT_EQ(Joined(driver.dependentFiles), c.dependents) << c.label;
  EXPECT_EQ(driver.driverName, c.machine == NativeMachine::kX86 ? "Tessaly TP-58" : "TP-58 x64");
}

INSTANTIATE_TEST_SUITE_P(Library, InfDriver, ::testing::ValuesIn(kCases));

TEST(InfDriverModelLine, MatchesByAnyIdAndSaysWhatIsMissing) {
  sim::SimWindows os;
  const std::u16string utf16 =
      u"[Manufacturer]\r\n%Mfg%=Models\r\n[Models]\r\n%Name%=TP58,LPTENUM\\TessalyTP-58,"
      u"USBPRINT\\TessalyUSB\r\n[TP58]\r\nDriverFile=tp58.dll\r\n"
      u"[Strings]\r\nMfg=Tessaly\r\nName=\"Tessaly TP-58 UTF-16\"\r\n";
  std::string bytes = "\xFF\xFE";
  for (char16_t ch : utf16) bytes += {static_cast<char>(ch & 0xFF), static_cast<char>(ch >> 8)};
  os.files.AddFile("C:\\dist\\u.inf", bytes);
  InfTarget target;
  TInstallLog log;
  TInfDriver driver;
  EXPECT_EQ(ReadInfDriver("C:\\dist\\u.inf", "tessalyusb", target, log, driver), 0u);
  EXPECT_EQ(driver.driverName, "Tessaly TP-58 UTF-16");
  EXPECT_EQ(driver.matchedId, "USBPRINT\\TessalyUSB");
  EXPECT_EQ(ReadInfDriver("C:\\dist\\u.inf", "TessalyLX-80", target, log, driver),
            kLibLineNotFound);
  EXPECT_EQ(ReadInfDriver("C:\\dist\\none.inf", "TessalyTP-58", target, log, driver),
            kLibFileNotFound);
  // The log names what is missing.
  EXPECT_EQ(log.Lines().back(), "INF cannot be read: C:\\dist\\none.inf");
  EXPECT_NE(
      std::find(log.Lines().begin(), log.Lines().end(), "no model line for the id TessalyLX-80"),
      log.Lines().end());
}

TEST(InfDriverCore, TheLogNamesTheMissingCoreInf) {
  sim::SimWindows os;
  os.files.AddFile("C:\\dist\\drv\\tp58.inf",
                   kHead + "[TP58]\r\nInclude=PSCRIPT.INF\r\nNeeds=PSCRIPT.OEM\r\n");
  InfTarget target;
  TInstallLog log;
  TInfDriver driver;
  EXPECT_EQ(ReadInfDriver("C:\\dist\\drv\\tp58.inf", "TessalyTP-58", target, log, driver),
            kLibFileNotFound);
  EXPECT_EQ(log.Lines().back(),
            "core INF missing: C:\\WINDOWS\\inf\\PSCRIPT.INF (Include=PSCRIPT.INF)");
}

}  // namespace
}  // namespace pinst
