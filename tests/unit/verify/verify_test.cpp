#include "verify/verify.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "app/sample_dist.h"
#include "base/bmp_builder.h"
#include "platform/sim/sim_windows.h"
#include "verify/pe_builder.h"

namespace pinst {
namespace {

using testdata::BuildPe;
using testdata::kContract;

std::string Inf(const std::string& model,
                const std::string& version =
                    "Class=Printer\r\n"
                    "CatalogFile=model.cat\r\n",
                const std::string& models = "Maker") {
  return "; driver\r\n[Version]\r\nSignature=\"$Windows NT$\"\r\n" + version + "\r\n[" + models +
         "]\r\n\"" + model +
         "\"=M.Install,LPTENUM\\MakerM1234,USBPRINT\\MakerM1234\r\n\r\n"
         "[M.Install]\r\nDriverFile=m.dll\r\n\r\n"
         "[Strings]\r\nProviderName=\"Maker\"\r\n";
}

// A distribution with nothing wrong in it, which each row breaks in one place.
struct Dist {
  std::string ini =
      "[M1]\r\nInstallSettingFile2K=i386\\m1.inf\r\nInstallGuide2=ReadmeEN.txt\r\n"
      "HandBook0=Manual\\CHT.txt\r\nServiceExe=i386\\Mon.exe\r\n";
  std::map<std::string, std::string> files = {
      {"i386\\m1.inf", Inf("Maker M-1")},
      {"i386\\model.cat", "catalog"},
      {"i386\\m.dll", "driver"},
      {"i386\\inst2k.dll", BuildPe({kMachineI386, true, kContract})},
      {"X64\\inst2k64.dll", BuildPe({kMachineAmd64, true, kContract})},
      {"X64\\Instavo64.exe", BuildPe({kMachineAmd64, false, {}})},
      {"i386\\Mon.exe", BuildPe({kMachineI386, false, {}})},
      {"i386\\Setup.exe", BuildPe({kMachineI386, false, {}})},
      {"i386\\devcon.exe", BuildPe({kMachineI386, false, {}})},
      {"X64\\devcon.exe", BuildPe({kMachineAmd64, false, {}})},
      {"ReadmeEN.txt", "en"},
      {"ReadmeCN.txt", "cn"},
      {"ReadmeCHT.txt", "cht"},
      {"Manual\\CHT.txt", "manual"},
      {"brand.ini",
       "[Brand]\r\nBrandWord=Acme\r\nCaption=Acme Setup\r\nLogoFile=logo.bmp\r\n"
       "PictureFile=printer.bmp\r\nMainTitle2=Welcome to Acme\r\nUserManualLink0=Manual\r\n"},
      {"logo.bmp", testdata::Bmp({.width = 300, .height = 90})},
      {"printer.bmp", testdata::Bmp({.bits = 8})},
  };
  std::set<std::string> unreadable;

  void Replace(const std::string& what, const std::string& with) {
    ini.replace(ini.find(what), what.size(), with);
  }
  void Brand(const std::string& line) { files["brand.ini"] += line + "\r\n"; }
};

struct Fault {
  const char* code;  // the finding expected, and what the row breaks
  std::function<void(Dist&)> breakIt;
  std::set<std::string> codes;  // every code the check gives for it
  const char* messagePart = "";
};

std::vector<TFinding> Verify(sim::SimWindows& win, const Dist& d) {
  if (!d.ini.empty()) win.files.AddFile("install.ini", d.ini);
  for (const auto& [path, bytes] : d.files) win.files.AddFile(path, bytes);
  for (const std::string& path : d.unreadable) win.files.MakeUnreadable(path);
  return VerifyDistribution(win.files.currentDirectory);
}

const std::string kLongName(100, 'n');

const Fault kFaults[] = {
    {"ini-missing", [](Dist& d) { d.ini.clear(); }, {"ini-missing"}},
    {"ini-no-sections", [](Dist& d) { d.ini = "; no model yet\r\n"; }, {"ini-no-sections"}},
    {"ini-unreadable", [](Dist& d) { d.unreadable.insert("install.ini"); }, {"ini-unreadable"}},
    {"ini-encoding, UTF-16 without a mark",
     [](Dist& d) {
       std::string wide;
       for (char ch : d.ini) wide += std::string(1, ch) + '\0';
       d.ini = wide;
     },
     {"ini-encoding", "ini-no-sections", "ini-section-name"}},
    {"ini-encoding, UTF-8 without a mark",
     [](Dist& d) { d.ini += "Hint2=Gr\xC3\xBC\xC3\x9F\r\n"; },
     {"ini-encoding"}},
    {"ini-unknown-key",
     [](Dist& d) { d.ini += "InstalDll2K=i386\\inst2k.dll\r\n"; },
     {"ini-unknown-key"},
     "did you mean InstallDll2K?"},
    {"ini-duplicate-key",
     [](Dist& d) { d.ini += "installguide2=Other.txt\r\n"; },
     {"ini-duplicate-key"},
     "line 3"},
    {"ini-duplicate-section", [](Dist& d) { d.ini += "[m1]\r\n"; }, {"ini-duplicate-section"}},
    {"ini-value-cut",
     [](Dist& d) { d.ini += "Hint2=" + std::string(2100, 'h') + "\r\n"; },
     {"ini-value-cut"}},
    {"inf-missing", [](Dist& d) { d.files.erase("i386\\m1.inf"); }, {"inf-missing"}},
    {"inf-unreadable", [](Dist& d) { d.unreadable.insert("i386\\m1.inf"); }, {"inf-unreadable"}},
    {"inf-decorated-only",
     [](Dist& d) {
       d.files["i386\\m1.inf"] =
           Inf("Maker M-1", "Class=Printer\r\nCatalogFile=model.cat\r\n", "Maker.NTamd64");
     },
     {"inf-decorated-only"},
     "[Maker.NTamd64]"},
    {"inf-no-model",
     [](Dist& d) {
       std::string& inf = d.files["i386\\m1.inf"];
       inf.replace(inf.find("ProviderName"), 12, "Provider");
     },
     {"inf-no-model"}},
    {"model-name-duplicate",
     [](Dist& d) {
       d.ini += "[M2]\r\nInstallSettingFile2K=i386\\m2.inf\r\nServiceExe=i386\\Mon.exe\r\n";
       d.files["i386\\m2.inf"] = Inf("maker m-1");
     },
     {"model-name-duplicate"}},
    {"model-name-invalid",
     [](Dist& d) { d.files["i386\\m1.inf"] = Inf("Maker M-1, USB"); },
     {"model-name-invalid"}},
    {"model-name-token",
     [](Dist& d) { d.files["i386\\m1.inf"] = Inf("%M1Name%"); },
     {"model-name-token"}},
    {"hwid-missing",
     [](Dist& d) {
       std::string& inf = d.files["i386\\m1.inf"];
       const std::string ids = "LPTENUM\\MakerM1234,USBPRINT\\MakerM1234";
       inf.replace(inf.find(ids), ids.size(), "WSDPRINT\\MakerM1234");
     },
     {"hwid-missing"}},
    {"offline-prefix",
     [](Dist& d) { d.files["i386\\m1.inf"] += "; SERENUM models follow\r\n"; },
     {"offline-prefix"},
     "SERENUM\\MakerM1234"},
    {"inf-class",
     [](Dist& d) {
       d.files["i386\\m1.inf"] = Inf("Maker M-1", "Class=Image\r\nCatalogFile=model.cat\r\n");
     },
     {"inf-class"}},
    {"driver-file-missing",
     [](Dist& d) { d.files.erase("i386\\m.dll"); },
     {"driver-file-missing"},
     "i386\\m1.inf [M.Install], line 11: m.dll is not at i386\\m.dll"},
    {"driver-file-missing, where the source disks put it",
     [](Dist& d) {
       d.files["i386\\m1.inf"] +=
           "[SourceDisksNames]\r\n1=\"Disk\",,,drivers\r\n[SourceDisksFiles]\r\nm.dll=1\r\n";
     },
     {"driver-file-missing"},
     "i386\\m1.inf [SourceDisksFiles], line 18: m.dll is not at i386\\drivers\\m.dll"},
    {"driver-file-missing, a list of the 64-bit install section",
     [](Dist& d) {
       d.files["i386\\m1.inf"] +=
           "[M.Install.NTamd64]\r\nDriverFile=m.dll\r\nCopyFiles=M64\r\n[M64]\r\nm64.dll\r\n";
     },
     {"driver-file-missing"},
     "i386\\m1.inf [M64], line 19: m64.dll is not at i386\\m64.dll, where [SourceDisksNames] and "
     "[SourceDisksFiles] put it: the install fails on 64-bit Windows"},
    {"inf-driver",
     [](Dist& d) {
       auto& inf = d.files["i386\\m1.inf"];
       inf.replace(inf.find("[M.Install]"), 11, "[N.Install]");
     },
     {"inf-driver"},
     "i386\\m1.inf [Maker], line 8: For 32-bit Windows the installer library stops with "
     "0xE0000101: install section missing: M.Install"},
    {"inf-driver, no install section for 64-bit Windows",
     [](Dist& d) {
       auto& inf = d.files["i386\\m1.inf"];
       inf.replace(inf.find("[M.Install]"), 11, "[M.Install.NTx86]");
     },
     {"inf-driver"},
     "i386\\m1.inf [Maker], line 8: For 64-bit Windows the installer library stops with "
     "0xE0000101: install section missing: M.Install"},
    {"inf-driver, no DriverFile",
     [](Dist& d) {
       auto& inf = d.files["i386\\m1.inf"];
       inf.replace(inf.find("DriverFile="), 11, "DataFile=");
     },
     {"inf-driver"},
     "i386\\m1.inf [M.Install], line 10: For 32-bit Windows the installer library stops with "
     "0xE0000102: no DriverFile in [M.Install]"},
    {"inf-catalog",
     [](Dist& d) { d.files["i386\\m1.inf"] = Inf("Maker M-1", "Class=Printer\r\n"); },
     {"inf-catalog"}},
    {"inf-catalog, only for 32-bit Windows",
     [](Dist& d) {
       d.files["i386\\m1.inf"] =
           Inf("Maker M-1", "Class=Printer\r\nCatalogFile.NTx86=model.cat\r\n");
     },
     {"inf-catalog"},
     "i386\\m1.inf [Version], line 2: No CatalogFile, CatalogFile.NT or CatalogFile.NTamd64"},
    {"inf-catalog-missing",
     [](Dist& d) { d.files.erase("i386\\model.cat"); },
     {"inf-catalog-missing"}},
    {"pe-fallback",
     [](Dist& d) {
       d.files["inst2k.dll"] = d.files["i386\\inst2k.dll"];
       d.files.erase("i386\\inst2k.dll");
     },
     {"pe-fallback"}},
    {"pe-missing", [](Dist& d) { d.files.erase("X64\\Instavo64.exe"); }, {"pe-missing"}},
    {"program-missing",
     [](Dist& d) { d.files.erase("X64\\devcon.exe"); },
     {"program-missing"},
     "online installs on 64-bit Windows run without the hardware rescan"},
    {"program-missing, Setup.bat",
     [](Dist& d) { d.Replace("ServiceExe=", "ServiceName=Mon\r\nServiceExe="); },
     {"program-missing"},
     "Setup.bat is not in the folder: when the service Mon does not start"},
    {"ini-flag-value",
     [](Dist& d) { d.Replace("ServiceExe=", "AutoMode=yes\r\nServiceExe="); },
     {"ini-flag-value"},
     "The installer reads yes as off"},
    {"hwid-no-comma",
     [](Dist& d) {
       std::string& inf = d.files["i386\\m1.inf"];
       const std::string ids = "LPTENUM\\MakerM1234,USBPRINT\\MakerM1234";
       inf.replace(inf.find(ids), ids.size(), "LPTENUM\\MakerM1234");
     },
     {"hwid-no-comma"},
     "line 8"},
    {"pe-machine, 64-bit library as the 32-bit one",
     [](Dist& d) { d.files["i386\\inst2k.dll"] = d.files["X64\\inst2k64.dll"]; },
     {"pe-machine"}},
    {"pe-machine, 32-bit library in X64",
     [](Dist& d) { d.files["X64\\inst2k64.dll"] = d.files["i386\\inst2k.dll"]; },
     {"pe-machine"}},
    {"pe-kind",
     [](Dist& d) { d.files["X64\\Instavo64.exe"] = d.files["X64\\inst2k64.dll"]; },
     {"pe-kind"}},
    {"pe-exports",
     [](Dist& d) {
       d.files["i386\\inst2k.dll"] = BuildPe(
           {kMachineI386, true, {"_FuncInst2K@16", "FuncFindExistDevice", "LastInstallErrorCode"}});
     },
     {"pe-exports"},
     "FuncInst2K (exported only as _FuncInst2K@16), ShowErrorCode;"},
    {"pe-invalid", [](Dist& d) { d.files["X64\\inst2k64.dll"] = "not a library"; }, {"pe-invalid"}},
    {"file-missing, the service",
     [](Dist& d) { d.files.erase("i386\\Mon.exe"); },
     {"file-missing"}},
    {"file-missing, the settings tool",
     [](Dist& d) { d.files.erase("i386\\Setup.exe"); },
     {"file-missing"}},
    {"doc-missing", [](Dist& d) { d.files.erase("Manual\\CHT.txt"); }, {"doc-missing"}},
    // 260 characters exactly: C:\Users\<20>\Downloads\dist\ (45) and 215.
    {"path-long",
     [](Dist& d) {
       const std::string deep = "Manual\\" + kLongName + "\\" + kLongName + "\\CH.txt";
       d.Replace("Manual\\CHT.txt", deep);
       d.files[deep] = "manual";
     },
     {"path-long"},
     "260 characters"},
    // 260 characters exactly at a drive root: D:\ and 257 (too long for the sim too).
    {"path-too-long",
     [](Dist& d) {
       d.Replace("Manual\\CHT.txt",
                 kLongName + "\\" + kLongName + "\\" + std::string(51, 'd') + ".txt");
     },
     {"path-too-long", "doc-missing"},
     "260 characters long even"},
    {"brand-unknown-key",
     [](Dist& d) { d.Brand("LogFile=logo.bmp"); },
     {"brand-unknown-key"},
     "did you mean LogoFile?"},
    {"brand-duplicate-key", [](Dist& d) { d.Brand("caption=Other"); }, {"brand-duplicate-key"}},
    {"brand-value-empty", [](Dist& d) { d.Brand("MainTitle0="); }, {"brand-value-empty"}},
    {"brand-value-cut",
     [](Dist& d) { d.Brand("MainTitle=" + std::string(2100, 'x')); },
     {"brand-value-cut"}},
    {"brand-no-section",
     [](Dist& d) { d.files["brand.ini"] = "BrandWord=Acme\r\n"; },
     {"brand-no-section"}},
    {"brand-too-large", [](Dist& d) { d.Brand(std::string(70000, ';')); }, {"brand-too-large"}},
    {"brand-unreadable", [](Dist& d) { d.unreadable.insert("brand.ini"); }, {"brand-unreadable"}},
    {"brand-picture-missing",
     [](Dist& d) { d.files.erase("logo.bmp"); },
     {"brand-picture-missing"}},
    {"brand-picture-invalid",
     [](Dist& d) { d.files["printer.bmp"] = "GIF89a"; },
     {"brand-picture-invalid"},
     "not a BMP file"},
    {"brand-picture-invalid, cut short",
     [](Dist& d) { d.files["logo.bmp"] = testdata::Bmp({.width = 300, .cutPixels = 1}); },
     {"brand-picture-invalid"},
     "cut short in its pixels"},
    {"brand-picture-too-large",
     [](Dist& d) { d.files["logo.bmp"] = testdata::Bmp({.width = 5000, .height = 2}); },
     {"brand-picture-too-large"}},
    {"brand-text-codepage, English",
     [](Dist& d) { d.Brand("UserManualLink2=Bad \x81 byte"); },
     {"brand-text-codepage"},
     "code page 1252 (English)"},
    // 0x80 is the euro sign in GBK and 1252, and no Big5 character.
    {"brand-text-codepage, one language of three",
     [](Dist& d) {
       d.files["brand.ini"] =
           "[Brand]\r\nBrandWord=Acme\x80"
           "s\r\n";
     },
     {"brand-text-codepage", "brand-text-languages"},
     "code page 950 (Traditional Chinese)"},
    // "欢迎" in UTF-8: valid GBK bytes, the wrong characters.
    {"brand-text-utf8",
     [](Dist& d) { d.Brand("MainTitle=\xE6\xAC\xA2\xE8\xBF\x8E"); },
     {"brand-text-utf8"}},
    {"brand-text-fit, the title",
     [](Dist& d) { d.Brand("MainTitle0=" + std::string(40, ' ') + std::string(120, 'w')); },
     {"brand-text-fit"},
     "title takes about"},
    {"brand-text-fit, the links",
     [](Dist& d) { d.Brand("InstallGuideLink2=Read the full installation guide first, please"); },
     {"brand-text-fit"},
     "the user-manual link is cut off"},
};

TEST(VerifyTest, SoundDistributionHasNoFindings) {
  sim::SimWindows win;
  const std::vector<TFinding> findings = Verify(win, Dist());
  for (const TFinding& f : findings) ADD_FAILURE() << FormatFinding(f);
  EXPECT_EQ(VerifyExitCode(findings), 0);
}

TEST(VerifyTest, EachFaultGivesItsFinding) {
  for (const Fault& fault : kFaults) {
    SCOPED_TRACE(fault.code);
    sim::SimWindows win;
    Dist dist;
    fault.breakIt(dist);
    const std::vector<TFinding> findings = Verify(win, dist);
    std::set<std::string> codes;
    bool hasPart = false;
    for (const TFinding& f : findings) {
      codes.insert(f.code);
      hasPart = hasPart || FormatFinding(f).find(fault.messagePart) != std::string::npos;
    }
    EXPECT_EQ(codes, fault.codes);
    EXPECT_TRUE(hasPart) << fault.messagePart;
  }
}

// A library that several models name is one file: one finding, not one a model.
TEST(VerifyTest, ModelsSharingOneBrokenLibraryGetOneFinding) {
  sim::SimWindows win;
  Dist dist;
  dist.ini += "\r\n[M2]\r\nInstallSettingFile2K=i386\\m2.inf\r\n";
  dist.files["i386\\m2.inf"] = Inf("Maker M-2");
  dist.files["X64\\inst2k64.dll"] = "not a library";
  const std::vector<TFinding> findings = Verify(win, dist);
  EXPECT_EQ(std::count_if(findings.begin(), findings.end(),
                          [](const TFinding& f) { return f.code == "pe-invalid"; }),
            1);
}

TEST(VerifyTest, ExitCodeFollowsTheWorstFinding) {
  sim::SimWindows win;
  EXPECT_EQ(VerifyExitCode(VerifyDistribution("C:\\nowhere")), 2);
  Dist dist;
  dist.files.erase("Manual\\CHT.txt");
  EXPECT_EQ(VerifyExitCode(Verify(win, dist)), 0);  // a warning only
  dist.files.erase("X64\\Instavo64.exe");
  win.files.RemoveFile("X64\\Instavo64.exe");
  EXPECT_EQ(VerifyExitCode(Verify(win, dist)), 1);
}

// dist/sample as shipped: the repository's folder with the programs the build adds
// (stand-ins here), in each of the three languages.
TEST(VerifyTest, SampleDistributionHasNoErrors) {
  sim::SimWindows win;
  testdata::LoadSampleDistribution(win);
  ASSERT_TRUE(win.files.HasFile("install.ini"));
  const Dist programs;
  for (const char* path :
       {"i386\\inst2k.dll", "X64\\inst2k64.dll", "X64\\Instavo64.exe", "i386\\Setup.exe"}) {
    win.files.AddFile(path, programs.files.at(path));
  }
  win.files.AddFile("i386\\NvPrnMon.exe", programs.files.at("i386\\Mon.exe"));
  for (const TFinding& f : VerifyDistribution(win.files.currentDirectory)) {
    EXPECT_EQ(f.severity, TSeverity::kWarning) << FormatFinding(f);
  }
}

}  // namespace
}  // namespace pinst
