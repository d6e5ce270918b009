// The Apps & features entry a successful install leaves, and the removal from it:
// the values Settings and deployment tools read, the kept copy under Program Files,
// and /Uninstall run from that copy when the distribution folder is gone.
#include <functional>

#include "app/install_codes.h"
#include "app/installer_main.h"
#include "base/command_words.h"
#include "install_fixture.h"

namespace pinst {
namespace {

using namespace testdata;
using sim::SimRegistryValue;

constexpr const char* kKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PrinterInstaller_Tessaly XP-100";
constexpr const char* kCopy = "C:\\Program Files\\Printer Installer\\Tessaly XP-100";
constexpr const char* kLog = "C:\\install.log";

class UninstallEntryTest : public InstallTest {
 protected:
  UninstallEntryTest() {
    // As Windows keeps them: the native folder in the 64-bit view, the one a
    // 32-bit program is given in the 32-bit view.
    const std::string cv = "Software\\Microsoft\\Windows\\CurrentVersion";
    win.registry.SetString(RegistryView::k64, cv, "ProgramFilesDir", "C:\\Program Files");
    win.registry.SetString(RegistryView::k32, cv, "ProgramFilesDir", "C:\\Program Files (x86)");
    win.files.AddDirectory("C:\\Program Files");
    win.files.AddFile(win.files.moduleFileName, std::string(3000, 'P'));
    win.files.AddFile("i386\\XP100.inf", Inf("2.4.0.17"));
    WriteIni();
  }
  static std::string Inf(const std::string& version) {
    return "[Version]\r\nProvider=%Maker%\r\nDriverVer=11/30/2026, " + version +
           "\r\n\r\n[Manufacturer]\r\n\"Tessaly\"=Tessaly\r\n\r\n[Tessaly]\r\n\"" + kModel +
           "\"=XP100.Install,LPTENUM\\" + kHwid + "\r\n\r\n[Strings]\r\nMaker=\"Tessaly Ltd\"\r\n";
  }
  int Run(std::vector<std::string> args) {
    args.push_back(std::string("/Log=") + kLog);
    win.ui.NewProcess();
    return RunInstaller(args);
  }
  int Install() { return Run({"/Quiet", "/Model=" + kModel}); }
  std::string Value(const std::string& name) {
    const std::optional<SimRegistryValue> v = win.registry.Value(RegistryView::k64, kKey, name);
    if (!v) return "(none)";
    return v->isString ? v->text : "dword " + std::to_string(v->dword);
  }
  std::string Log() { return win.files.Contents(kLog).value_or(""); }
};

TEST_F(UninstallEntryTest, SuccessfulInstallWritesTheEntryInThe64BitViewAndKeepsACopy) {
  ASSERT_EQ(Install(), kExitInstalled);
  const std::string program = std::string(kCopy) + "\\PrinterInstaller.exe";
  const std::string command = "\"" + program + "\" /Uninstall /Model=\"Tessaly XP-100\"";
  const std::string ini =
      "[XP100]\r\nInstallSettingFile2K=" + std::string(kCopy) + "\\XP100.inf\r\n";
  const size_t bytes = 3000 + Inf("2.4.0.17").size() + ini.size();
  const std::pair<const char*, std::string> values[] = {
      {"DisplayName", kModel},
      {"DisplayVersion", "2.4.0.17"},
      {"Publisher", "Tessaly Ltd"},
      {"InstallDate", "20261207"},
      {"InstallLocation", kCopy},
      {"DisplayIcon", program},
      {"UninstallString", command},
      {"QuietUninstallString", command + " /Quiet"},
      {"NoModify", "dword 1"},
      {"NoRepair", "dword 1"},
      {"EstimatedSize", "dword " + std::to_string((bytes + 1023) / 1024)},
  };
  for (const auto& [name, expected] : values) EXPECT_EQ(Value(name), expected) << name;
  EXPECT_EQ(win.registry.Values(RegistryView::k64, kKey).size(), std::size(values));
  EXPECT_FALSE(win.registry.HasKey(RegistryView::k32, kKey));
  EXPECT_FALSE(win.files.HasDirectory("C:\\Program Files (x86)\\Printer Installer"));
  EXPECT_EQ(win.files.Contents(program), std::string(3000, 'P'));
  EXPECT_EQ(win.files.Contents(std::string(kCopy) + "\\XP100.inf"), Inf("2.4.0.17"));
  EXPECT_EQ(win.files.Contents(std::string(kCopy) + "\\install.ini"), ini);
  EXPECT_NE(Log().find("Apps & features entry HKLM\\" + std::string(kKey) +
                       " (64-bit view) written; copy in " + kCopy),
            std::string::npos)
      << Log();
}

TEST_F(UninstallEntryTest, FailedInstallWritesNoEntry) {
  libraryAnswers = {{2, 5}};
  ASSERT_EQ(Install(), kExitFailed);
  EXPECT_FALSE(win.registry.HasKey(RegistryView::k64, kKey));
  EXPECT_FALSE(win.files.HasDirectory(kCopy));
}

TEST_F(UninstallEntryTest, ReinstallWritesTheEntryAnew) {
  ASSERT_EQ(Install(), kExitInstalled);
  win.registry.SetString(RegistryView::k64, kKey, "Comments", "left by hand");
  win.files.AddFile("i386\\XP100.inf", Inf("2.5.0.1"));
  win.system.today = {2027, 1, 9};
  win.spooler.printers.clear();
  ASSERT_EQ(Install(), kExitInstalled);
  EXPECT_EQ(Value("DisplayVersion"), "2.5.0.1");
  EXPECT_EQ(Value("InstallDate"), "20270109");
  EXPECT_EQ(Value("Comments"), "(none)");
  EXPECT_EQ(win.files.Contents(std::string(kCopy) + "\\XP100.inf"), Inf("2.5.0.1"));
}

// A failure anywhere on the way is a warning: the printer is installed all the same.
TEST_F(UninstallEntryTest, EntryThatCannotBeWrittenIsAWarningAndTheInstallSucceeds) {
  const struct {
    const char* name;
    std::function<void()> setUp;
    const char* warning;
  } cases[] = {
      {"no Program Files", [&] { win.registry.failReads = 2; },
       "the Program Files folder cannot be read (ProgramFilesDir)"},
      {"folder refused", [&] { win.faults.failName = "files.CreateDirectoryA"; },
       "the folder C:\\Program Files\\Printer Installer\\Tessaly XP-100 cannot be made"},
      {"program not copied", [&] { win.faults.failName = "files.CopyFileA"; },
       "the program cannot be copied to C:\\Program Files\\Printer Installer\\Tessaly "
       "XP-100\\PrinterInstaller.exe"},
      {"registry refused", [&] { win.faults.failName = "registry.WriteDword"; },
       "the value NoModify cannot be written (error 0x00000005)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    win.spooler.printers.clear();
    win.registry.failReads.reset();
    win.faults.failName.clear();
    win.faults.Restart();
    win.files.RemoveFile(kLog);
    c.setUp();
    EXPECT_EQ(Install(), kExitInstalled);
    EXPECT_NE(win.spooler.Find(kModel), nullptr);
    EXPECT_FALSE(win.registry.HasKey(RegistryView::k64, kKey));
    EXPECT_NE(Log().find("Warning: no Apps & features entry for \"Tessaly XP-100\": " +
                         std::string(c.warning)),
              std::string::npos)
        << Log();
    EXPECT_NE(Log().find("Exit code 0"), std::string::npos);
  }
}

TEST_F(UninstallEntryTest, UninstallFromTheDistributionRemovesTheEntryAndTheCopy) {
  ASSERT_EQ(Install(), kExitInstalled);
  ASSERT_EQ(Run({"/Uninstall", "/Quiet", "/Model=" + kModel}), kExitInstalled);
  EXPECT_EQ(win.spooler.Find(kModel), nullptr);
  EXPECT_FALSE(win.registry.HasKey(RegistryView::k64, kKey));
  EXPECT_FALSE(win.files.HasDirectory(kCopy));
  EXPECT_FALSE(win.files.HasDirectory("C:\\Program Files\\Printer Installer"));
  EXPECT_TRUE(win.files.erasedAtRestart.empty());
}

// Settings (or a deployment tool) runs the entry's command from some folder of its
// own, after the CD is gone: the copy removes the printer, the entry and itself.
TEST_F(UninstallEntryTest, EntrysQuietCommandRemovesFromTheCopyWithTheDistributionGone) {
  ASSERT_EQ(Install(), kExitInstalled);
  const std::vector<std::string> words = SplitCommandWords(Value("QuietUninstallString"));
  ASSERT_GE(words.size(), 2u);
  for (const char* file : {"install.ini", "i386\\XP100.inf", "PrinterInstaller.exe"}) {
    win.files.RemoveFile(std::string("C:\\dist\\") + file);
  }
  win.files.currentDirectory = win.files.systemDirectory;
  win.files.moduleFileName = words[0];
  win.files.MarkInUse(words[0]);
  EXPECT_EQ(Run({words.begin() + 1, words.end()}), kExitInstalled);
  EXPECT_EQ(win.spooler.Find(kModel), nullptr);
  EXPECT_FALSE(win.registry.HasKey(RegistryView::k64, kKey));
  EXPECT_NE(Log().find("removed: Tessaly XP-100, driver removed"), std::string::npos) << Log();
  // The running program and its folders are Windows' to delete at the next start.
  EXPECT_FALSE(win.files.HasFile(std::string(kCopy) + "\\install.ini"));
  EXPECT_FALSE(win.files.HasFile(std::string(kCopy) + "\\XP100.inf"));
  EXPECT_EQ(win.files.erasedAtRestart,
            (std::vector<std::string>{words[0], kCopy, "C:\\Program Files\\Printer Installer"}));
  win.files.Restart();
  EXPECT_FALSE(win.files.HasDirectory("C:\\Program Files\\Printer Installer"));
}

}  // namespace
}  // namespace pinst
