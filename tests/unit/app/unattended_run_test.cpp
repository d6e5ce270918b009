// Runs that no one watches: the switches, the fixed answers of /Quiet, the run log.
#include <algorithm>
#include <regex>

#include "app/command_line.h"
#include "app/install_codes.h"
#include "app/installer_main.h"
#include "install_fixture.h"
#include "pi_version.h"
#include "sys/run_log.h"
#include "ui/application.h"

namespace pinst {
namespace {

using namespace testdata;
using Steps = std::vector<std::string>;

TEST(CommandLineTest, SwitchesInAnyCaseWithSlashOrDashTakeTheRestOfTheirArgument) {
  struct Case {
    std::vector<std::string> args;
    bool hide, quiet, help;
    std::optional<std::string> model, log;
    bool invalid = false;
  };
  const Case cases[] = {
      {{"/Hide"}, true, false, false, {}, {}},
      {{"x", "/Quiet"}, true, true, false, {}, {}, true},
      {{"/hide", "-QUIET", "-?"}, true, true, true, {}, {}},
      {{"/?", "/Model=Tessaly TP-58"}, false, false, true, "Tessaly TP-58", {}},
      {{"-model=\"Tessaly TP-58\"", "/LOG=\"C:\\a b\\i.log\""},
       false,
       false,
       false,
       "Tessaly TP-58",
       "C:\\a b\\i.log"},
      {{"/Model=", "/Modelx", "/Log"}, false, false, false, "", {}, true},
      {{"/Model=A", "/Model=B=C"}, false, false, false, "B=C", {}},
      // A CD's autorun may pass arguments of its own: ignored while nothing
      // unattended is asked for.
      {{"/x", "/y", "D:\\"}, false, false, false, {}, {}},
      {{"/Quite"}, false, false, false, {}, {}, true},
      {{"Hide"}, false, false, false, {}, {}, true},
      {{"/Hide "}, false, false, false, {}, {}, true},
      {{"-Modle=A"}, false, false, false, {}, {}, true},
      {{"Quiet"}, false, false, false, {}, {}, true},
      {{"/Timeout=abc"}, false, false, false, {}, {}, true},
      {{"/Hidden"}, false, false, false, {}, {}, true},
      {{"Quite"}, false, false, false, {}, {}, true},
      {{"/NoRestrat"}, false, false, false, {}, {}, true},
      {{"NoRestrat"}, false, false, false, {}, {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.front());
    const TCommandLine line = ParseCommandLine(c.args);
    EXPECT_EQ(line.hide, c.hide);
    EXPECT_EQ(line.quiet, c.quiet);
    EXPECT_EQ(line.help, c.help);
    EXPECT_EQ(line.model, c.model);
    EXPECT_EQ(line.logFile, c.log);
    EXPECT_EQ(line.invalid, c.invalid);
  }
  const TCommandLine line =
      ParseCommandLine({"/NoRestart", "-timeout=60", "/CHECK", "/List", "/Uninstall", "/Verify"});
  EXPECT_TRUE(line.noRestart && line.check && line.list && line.uninstall && line.verify);
  EXPECT_EQ(line.TimeoutSeconds(), 60u);
  EXPECT_EQ(ParseCommandLine({}).TimeoutSeconds(), 900u);
  // Whole seconds from 1 to nine digits; anything else is a bad switch.
  const std::pair<const char*, std::optional<uint32_t>> timeouts[] = {
      {"/Timeout=1", 1},
      {"/Timeout=4294968", 4294968},
      {"/Timeout=999999999", 999999999},
      {"/Timeout=0", std::nullopt},
      {"/Timeout=1000000000", std::nullopt},
      {"/Timeout=-5", std::nullopt},
  };
  for (const auto& [arg, seconds] : timeouts) {
    SCOPED_TRACE(arg);
    const TCommandLine timed = ParseCommandLine({arg});
    EXPECT_EQ(timed.timeoutSeconds, seconds);
    EXPECT_EQ(timed.invalid, !seconds);
  }
  // The log's format: two names in any case; any other value is a bad switch.
  const std::pair<const char*, std::optional<TLogFormat>> formats[] = {
      {"/LogFormat=CMTrace", TLogFormat::kCmTrace},
      {"-logformat=\"cmtrace\"", TLogFormat::kCmTrace},
      {"/LOGFORMAT=Plain", TLogFormat::kPlain},
      {"/LogFormat=xml", std::nullopt},
      {"/LogFormat=", std::nullopt},
  };
  for (const auto& [arg, format] : formats) {
    SCOPED_TRACE(arg);
    const TCommandLine formatted = ParseCommandLine({arg});
    EXPECT_EQ(formatted.logFormat, format);
    EXPECT_EQ(formatted.invalid, !format);
    EXPECT_TRUE(formatted.NobodyWatches());
  }
}

constexpr const char* kLog = "C:\\install.log";
// Where only administrators write; the Windows temporary folder any user can.
constexpr const char* kDefaultLog = "C:\\WINDOWS\\Logs\\PrinterInstaller.log";

class UnattendedTest : public InstallTest {
 protected:
  // Runs the program as a deployment tool would, watching for any window shown.
  int Run(const std::vector<std::string>& args) {
    win.trace.Clear();
    win.ui.NewProcess();
    win.ui.formsMade.clear();
    win.ui.formsShown.clear();
    const int code = RunInstaller(args);
    windowShown = !win.ui.formsShown.empty();
    return code;
  }
  std::string Log(const std::string& path = kLog) { return win.files.Contents(path).value_or(""); }
  // The lines in this order, each somewhere in the log.
  void ExpectLogLines(const std::string& log, const std::vector<std::string>& lines) {
    size_t at = 0;
    for (const std::string& line : lines) {
      const size_t found = log.find(line, at);
      ASSERT_NE(found, std::string::npos) << "missing after " << at << ": " << line << "\n" << log;
      at = found + line.size();
    }
  }
  bool windowShown = false;  // any window of the program, at any time
};

TEST_F(UnattendedTest, QuietModelInstallsWithNoWindowNorBoxAndLogsEveryStep) {
  WriteIni();  // no AutoMode, no QuiteMode
  win.files.AddFile(kLog, "earlier run\r\n");
  EXPECT_EQ(Run({"/Quiet", "/Model=tessaly xp-100", "/Log=C:\\install.log"}), kExitInstalled);
  EXPECT_NE(win.spooler.Find(kModel), nullptr);
  EXPECT_EQ(win.spooler.defaultPrinter, kModel);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_FALSE(windowShown);
  // The dialogs no one will see are not even made.
  EXPECT_EQ(win.ui.formsMade, std::vector<std::string>{"TMainForm"});
  const std::string log = Log();
  ExpectLogLines(
      log, {"earlier run\r\n",
            std::string("Printer Installer ") + kProductVersion +
                " started: /Quiet /Model=tessaly xp-100 /Log=C:\\install.log",
            "Windows 5.1, WOW64: no, folder C:\\dist", "/Model=tessaly xp-100: section [XP100]",
            "Automatic install of \"Tessaly XP-100\"",
            "Install of \"Tessaly XP-100\" (section [XP100], i386\\XP100.inf), online",
            "USB question not asked (quiet mode): Yes", "Connected printer: none found",
            "Installer library i386\\inst2k.dll: installing \"i386\\XP100.inf\", "
            "hardware id " +
                kHwid + ", port LPT1:",
            "Installer library answered 1, last install error 0x00000000",
            "The shipped installer library logs its steps to C:\\WINDOWS\\TEMP\\inst2k.log",
            "Settings of \"Tessaly XP-100\": port LPT1:, print processor WinPrint, "
            "default printer: done",
            "Installed \"Tessaly XP-100\" on LPT1:", "Outcome: installed", "Exit code 0\r\n"});
  // One entry per line, each with its time.
  EXPECT_EQ(log.find("\n2026-12-07 ", 0) != std::string::npos, true);
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), std::count(log.begin(), log.end(), '\r'));
}

TEST_F(UnattendedTest, CmTraceLogOfAWholeRunIsOneEntryPerLineWithFailuresOfType3) {
  WriteIni();
  win.system.timeZoneBias = -60;
  // A whole run keeps its copy for the Apps & features entry.
  win.files.AddDirectory("C:\\Program Files");
  win.files.AddFile(win.files.moduleFileName, "MZ");
  const std::regex entry(
      "<!\\[LOG\\[[^\r\n]*\\]LOG\\]!><time=\"\\d{2}:\\d{2}:\\d{2}\\.\\d{3}-060\" "
      "date=\"12-07-2026\" component=\"PrinterInstaller\" context=\"\" type=\"([123])\" "
      "thread=\"4242\" file=\"\">");
  // The lines of the log and their types, each line checked against the format.
  const auto entries = [&](const std::string& log) {
    std::vector<std::pair<std::string, char>> lines;
    for (size_t at = 0; at < log.size();) {
      const size_t end = log.find("\r\n", at);
      EXPECT_NE(end, std::string::npos) << "no CR LF after " << log.substr(at);
      if (end == std::string::npos) break;
      const std::string line = log.substr(at, end - at);
      std::smatch match;
      EXPECT_TRUE(std::regex_match(line, match, entry)) << line;
      if (!match.empty()) lines.emplace_back(line, match[1].str()[0]);
      at = end + 2;
    }
    return lines;
  };
  const auto typeOf = [](const std::vector<std::pair<std::string, char>>& lines,
                         const std::string& text) {
    for (const auto& [line, type] : lines) {
      if (line.find("<![LOG[" + text) == 0) return type;
    }
    return '?';
  };
  EXPECT_EQ(Run({"/Quiet", "/Model=XP100", "/LogFormat=CMTrace", "/Log=C:\\install.log"}),
            kExitInstalled);
  auto lines = entries(Log());
  EXPECT_GT(lines.size(), 10u);
  for (const auto& [line, type] : lines) EXPECT_EQ(type, '1') << line;
  EXPECT_EQ(typeOf(lines, "Outcome: installed"), '1');
  // A printer not found online is installed offline: the library's code a warning.
  win.files.RemoveFile(kLog);
  win.spooler.printers.clear();
  UsbPrinterConnected();
  libraryAnswers = {{2, kErrorNoSuchDevinst}, {1, 0}};
  EXPECT_EQ(Run({"/Quiet", "/Model=XP100", "/LogFormat=CMTrace", "/Log=C:\\install.log"}),
            kExitInstalled);
  lines = entries(Log());
  EXPECT_EQ(typeOf(lines, "Install failed: error 0xE000020B"), '2');
  EXPECT_EQ(typeOf(lines, "Exit code 0"), '1');
  lib.devices.clear();
  // A failed run: its failure lines and exit code of type 3, nothing else.
  win.files.RemoveFile(kLog);
  win.spooler.printers.clear();
  libraryAnswers = {{2, 5}};
  EXPECT_EQ(Run({"/Quiet", "/Model=XP100", "/LogFormat=cmtrace", "/Log=C:\\install.log"}),
            kExitFailed);
  lines = entries(Log());
  EXPECT_EQ(typeOf(lines, "Install failed: error 0x00000005"), '3');
  EXPECT_EQ(typeOf(lines, "Outcome: failed"), '3');
  EXPECT_EQ(typeOf(lines, "Exit code 1603"), '3');
  EXPECT_EQ(typeOf(lines, "Installer library answered"), '1');
  EXPECT_EQ(typeOf(lines, "Message: Driver Install Fail Now"), '3');
  // A restart asked for is a warning.
  WriteIni("ServiceName=NvPrnMon\r\n");
  ServiceRuns(false);
  win.files.RemoveFile(kLog);
  win.spooler.printers.clear();
  lib.installResult = 1;
  lib.lastInstallError = 0;
  EXPECT_EQ(
      Run({"/Quiet", "/Model=XP100", "/NoRestart", "/LogFormat=CMTrace", "/Log=C:\\install.log"}),
      kExitRestartNeeded);
  lines = entries(Log());
  EXPECT_EQ(typeOf(lines, "Service NvPrnMon did not start"), '2');
  EXPECT_EQ(typeOf(lines, "Exit code 3010"), '2');
}

TEST_F(UnattendedTest, DefaultLogPastItsBoundIsMovedAsideByTheNextRun) {
  WriteIni("AutoMode=1\r\nQuiteMode=1\r\n");
  const std::string old = std::string(kLogBoundBytes, '.') + "\r\n";
  win.files.AddFile(kDefaultLog, old);
  EXPECT_EQ(Run({"/Check", "/Model=XP100"}), kExitUnknownProduct);
  EXPECT_EQ(win.files.Contents("C:\\WINDOWS\\Logs\\PrinterInstaller.lo_"), old);
  const std::string log = Log(kDefaultLog);
  EXPECT_EQ(log.find("2026-12-07 00:00:00  Printer Installer "), 0u) << log;
  ExpectLogLines(log, {"started: /Check /Model=XP100",
                       "The log had passed 1024 KB: its earlier lines are in "
                       "C:\\WINDOWS\\Logs\\PrinterInstaller.lo_",
                       "Exit code 1605\r\n"});
  // The next run appends to the new file.
  EXPECT_EQ(Run({"/Check", "/Model=XP100"}), kExitUnknownProduct);
  EXPECT_EQ(Log(kDefaultLog).find(log), 0u);
  EXPECT_EQ(win.files.Contents("C:\\WINDOWS\\Logs\\PrinterInstaller.lo_"), old);
}

TEST_F(UnattendedTest, ModelIsFoundByListNameOrSectionAndAnUnknownOneEndsWith2) {
  struct Case {
    const char* name;
    bool quiet;
    const char* model;
    int exitCode;
  };
  const Case cases[] = {
      {"section name", false, "/Model=xp100", kExitInstalled},
      {"unknown, shown", false, "/Model=Tessaly XP-1000", kExitNothingToInstall},
      {"unknown, quiet", true, "/Model=Tessaly XP-1000", kExitNothingToInstall},
      {"empty", true, "/Model=", kExitNothingToInstall},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    win.spooler.printers.clear();
    win.files.RemoveFile(kLog);
    WriteIni("QuiteMode=1\r\n");
    std::vector<std::string> args = {c.model, "/Log=C:\\install.log"};
    if (c.quiet) args.push_back("/Quiet");
    EXPECT_EQ(Run(args), c.exitCode);
    EXPECT_EQ(win.spooler.Find(kModel) != nullptr, c.exitCode == kExitInstalled);
    const std::string model = std::string(c.model).substr(7);
    const std::string message = "The model \"" + model + "\" is not in install.ini.";
    if (c.exitCode == kExitNothingToInstall) {
      EXPECT_EQ(Boxes(),
                c.quiet ? Steps{}
                        : Steps{Box(kMbOk | kMbIconError, "Printer Installer", message, kIdOk)});
      ExpectLogLines(Log(),
                     {"/Model=" + model + ": no such model", "Message: " + message, "Exit code 2"});
    }
  }
}

// Big5 A6 4C and A6 6C differ only in a trail byte that looks like a letter's case.
TEST_F(UnattendedTest, EmptyModelNameNeverPicksAModelWithoutAName) {
  // The second section's INF is missing: its name is empty, as the switch's is.
  win.files.AddFile("install.ini",
                    "[XP100]\r\nInstallSettingFile2K=i386\\XP100.inf\r\n"
                    "[GONE]\r\nInstallSettingFile2K=i386\\GONE.inf\r\n");
  EXPECT_EQ(Run({"/Quiet", "/Model="}), kExitNothingToInstall);
  EXPECT_TRUE(lib.installCalls.empty());
}

TEST_F(UnattendedTest, ModelNamesNeverFoldADoubleByteTrailByte) {
  win.system.codePage = 950;
  win.files.AddFile("install.ini", "[\xA6\x4C]\r\nQuiteMode=1\r\n");
  EXPECT_EQ(Run({"/Quiet", "/Model=\xA6\x6C"}), kExitNothingToInstall);
  TIniOptions options;
  options.LoadFromFile("install.ini");
  EXPECT_EQ(options.FindModel("\xA6\x6C"), -1);
  EXPECT_EQ(options.FindModel("\xA6\x4C"), 0);
}

TEST_F(UnattendedTest, QuietAnswersEveryQuestionAndLogsEveryMessage) {
  struct Case {
    const char* name;
    std::function<void()> setUp;
    int exitCode;
    std::vector<std::string> logLines;
  };
  const std::string replace = "A printer named \"" + kModel +
                              "\" exists: replace question not "
                              "asked (quiet mode): OK";
  const Case cases[] = {
      {"same name replaced",
       [&] { win.spooler.AddLocalPrinter(kModel, "Old Driver", "LPT2:"); },
       kExitInstalled,
       {replace, "Printer \"" + kModel + "\" removed (driver Old Driver)", "Exit code 0"}},
      {"printer still printing",
       [&] {
         win.spooler.AddLocalPrinter(kModel, "Old Driver", "LPT2:");
         win.spooler.AddJobs(kModel, 2);
       },
       kExitFailed,
       {replace, "still has jobs: kept, nothing installed", "Exit code 1603"}},
      {"online failure installs offline",
       [&] {
         UsbPrinterConnected();
         libraryAnswers = {{2, kErrorNoSuchDevinst}, {1, 0}};
       },
       kExitInstalled,
       {"port USB003", "Install failed: error 0xE000020B", "Question: Online Install Fail !",
        "-> No (/Quiet)", "port LPT1:", "Exit code 0"}},
      {"library fails",
       [&] {
         libraryAnswers = {{2, 5}};
       },
       kExitFailed,
       // A line break of the box is one blank in the log.
       {"Install failed: error 0x00000005",
        "Message: Driver Install Fail Now(0x00000005) Please Retry", "Outcome: failed",
        "Exit code 1603"}},
      {"library missing",
       [&] { win.files.AddFile("install.ini", "[XP100]\r\nInstallDll2K=none.dll\r\n"); },
       kExitFailed,
       {"Error: ", "Box not shown (Printer Installer): ", "Exit code 1603"}},
      {"service does not start",
       [&] {
         WriteIni("ServiceName=NvPrnMon\r\n");
         ServiceRuns(false);
       },
       kExitRestartStarted,
       {"Service NvPrnMon did not start: Setup.bat restarts the computer",
        "Message: ", "Exit code 1641"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    win.spooler.printers.clear();
    win.files.RemoveFile(kLog);
    libraryAnswers.clear();
    lib.installResult = 1;
    lib.lastInstallError = 0;
    lib.devices.clear();
    WriteIni();
    ServiceRuns(true);
    c.setUp();
    EXPECT_EQ(Run({"/Model=XP100", "/Quiet", "/Log=C:\\install.log"}), c.exitCode);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_FALSE(windowShown);
    ExpectLogLines(Log(), c.logLines);
    // Every message once: told, not told again by whatever shows boxes.
    const std::string log = Log();
    for (size_t at = log.find("Message: "); at != std::string::npos;
         at = log.find("Message: ", at + 1)) {
      const std::string line = log.substr(at, log.find('\r', at) - at);
      EXPECT_EQ(log.find(line, at + 1), std::string::npos) << line;
    }
    const Steps steps = Trace();
    if (std::string(c.name) == "service does not start") {
      EXPECT_NE(std::find(steps.begin(), steps.end(), "winexec C:\\dist\\\\Setup.bat show 0"),
                steps.end());
    }
  }
  // /NoRestart: no restart started, one asked for.
  WriteIni("ServiceName=NvPrnMon\r\n");
  ServiceRuns(false);
  win.spooler.printers.clear();
  EXPECT_EQ(Run({"/Model=XP100", "/Quiet", "/NoRestart", "/Log=C:\\install.log"}),
            kExitRestartNeeded);
  for (const std::string& step : Trace()) EXPECT_EQ(step.find("Setup.bat"), std::string::npos);
  ExpectLogLines(Log(),
                 {"a restart is needed (/NoRestart: Setup.bat not started)", "Exit code 3010\r\n"});
}

TEST_F(UnattendedTest, WithoutLogSwitchAnAutomaticRunLogsToTheWindowsLogsFolder) {
  WriteIni("AutoMode=1\r\nQuiteMode=1\r\n");
  EXPECT_EQ(Run({"/Hide"}), kExitInstalled);
  ExpectLogLines(
      Log(kDefaultLog),
      {std::string("Printer Installer ") + kProductVersion + " started: /Hide", "Exit code 0"});
  // A log that cannot be written gives way to the default one, which says so.
  EXPECT_EQ(Run({"/Hide", "/Log=Z:\\none\\install.log"}), kExitInstalled);
  ExpectLogLines(Log(kDefaultLog), {"Exit code 0", "started: /Hide /Log=Z:\\none\\install.log",
                                    "Cannot write the log Z:\\none\\install.log", "Exit code 0"});
  // Hidden with nothing to install: said in the log, exit code 2.
  WriteIni();
  EXPECT_EQ(Run({"/Hide"}), kExitNothingToInstall);
  ExpectLogLines(Log(kDefaultLog), {"Nothing to install", "Exit code 2\r\n"});
  // An automatic install that install.ini alone asks for logs from its start.
  WriteIni("AutoMode=1\r\nQuiteMode=1\r\n");
  win.files.RemoveFile(kDefaultLog);
  EXPECT_EQ(Run({}), kExitInstalled);
  ExpectLogLines(Log(kDefaultLog), {std::string(kProductVersion) + " started:\r\n",
                                    "install.ini: 1 model(s)", "Automatic install", "Exit code 0"});
}

// A user cannot plant the log of a privileged run: a link in its place is never
// written through, and the Windows temporary folder is never the fallback.
TEST_F(UnattendedTest, DefaultLogIsNeverWrittenThroughALinkNorInTheSharedTemporaryFolder) {
  WriteIni("AutoMode=1\r\nQuiteMode=1\r\n");
  const char* const kSharedTemp = "C:\\WINDOWS\\TEMP\\PrinterInstaller.log";
  const char* const kOwnTemp = "C:\\Users\\ann\\Temp\\PrinterInstaller.log";
  win.files.PlantLink(kDefaultLog);
  EXPECT_EQ(Run({"/Hide"}), kExitInstalled);
  EXPECT_EQ(Log(kDefaultLog), "");
  EXPECT_FALSE(win.files.HasFile(kSharedTemp));
  // A person's own temporary folder is theirs alone: the log goes there.
  win.files.AddDirectory("C:\\Users\\ann\\Temp");
  win.files.tempDirectory = "C:\\Users\\ann\\Temp\\";
  EXPECT_EQ(Run({"/Hide"}), kExitInstalled);
  EXPECT_EQ(Log(kDefaultLog), "");
  ExpectLogLines(Log(kOwnTemp), {"started: /Hide", "Exit code 0"});
}

TEST_F(UnattendedTest, MistypedSwitchOrAnUnknownOneBesideAnUnattendedSwitchEndsWith1639) {
  WriteIni("AutoMode=1\r\n");
  // Only a person who mistyped a switch alone gets the usage box; a line that
  // shows an unattended run (a switch of one, a near miss of /Quiet or /Hide)
  // ends without one, as no one may be there to click it.
  const struct {
    std::vector<std::string> args;
    const char* bad;    // the argument that is no switch
    const char* meant;  // the switch the box and the log name; null: none named
    bool usageBox;
    const char* log;
  } cases[] = {
      {{"/Quite", "/Model=XP100"}, "/Quite", "/Quiet", false, kDefaultLog},
      {{"/Quite"}, "/Quite", "/Quiet", false, kDefaultLog},
      {{"/Hidden"}, "/Hidden", "/Hide", false, kDefaultLog},
      {{"Quite", "/NoRestart"}, "Quite", "/Quiet", false, kDefaultLog},
      {{"/Quiet", "/extra", "/Log=C:\\install.log"}, "/extra", nullptr, false, kLog},
      {{"-hide", "/Timeout=soon"}, "/Timeout=soon", "/Timeout=SECONDS", false, kDefaultLog},
      {{"/Timeout=0"}, "/Timeout=0", "/Timeout=SECONDS", false, kDefaultLog},
      {{"/Quiet", "/LogFormat=xml", "/Log=C:\\install.log"},
       "/LogFormat=xml",
       "/LogFormat=Plain or /LogFormat=CMTrace",
       false,
       kLog},
      {{"/NoRestrat"}, "/NoRestrat", "/NoRestart", true, kDefaultLog},
      {{"/Modle=XP100"}, "/Modle=XP100", "/Model=", true, kDefaultLog},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.front());
    win.files.RemoveFile(kDefaultLog);
    EXPECT_EQ(Run(c.args), kExitInvalidCommandLine);
    EXPECT_TRUE(lib.installCalls.empty());
    EXPECT_FALSE(windowShown);
    const Steps boxes = Boxes();
    EXPECT_EQ(boxes.size(), c.usageBox ? 1u : 0u);
    if (c.usageBox) {
      EXPECT_NE(boxes.front().find("/Model=NAME"), std::string::npos);
      EXPECT_NE(boxes.front().find(std::string("Not a switch of this program: ") + c.bad +
                                   "\r\nDid you mean " + c.meant + "?\r\n\r\n"),
                std::string::npos)
          << boxes.front();
    }
    const std::string meant = c.meant ? std::string(" (did you mean ") + c.meant + "?)" : "";
    ExpectLogLines(Log(c.log),
                   {"Unknown argument: " + std::string(c.bad) + meant, "Exit code 1639\r\n"});
  }
}

TEST_F(UnattendedTest, InteractiveRunWithLogRecordsQuestionsAndAnswers) {
  WriteIni();
  auto w = Start({"/Log=C:\\install.log"});
  Answer({kIdNo});
  w->Main.BbtnStart.Click();
  EXPECT_EQ(lib.installCalls.size(), 0u);
  ExpectLogLines(Log(), {"Question: If you need to use USB port", "-> No\r\n"});
  // An interactive run without the switch writes nothing.
  w.reset();
  win.files.RemoveFile(kDefaultLog);
  w = Start();
  Answer({kIdNo});
  w->Main.BbtnStart.Click();
  EXPECT_FALSE(win.files.Contents(kDefaultLog).has_value());
  // Asking for a format asks for a log: the default one.
  w.reset();
  w = Start({"/LogFormat=CMTrace"});
  Answer({kIdNo});
  w->Main.BbtnStart.Click();
  ExpectLogLines(Log(kDefaultLog),
                 {"<![LOG[Question: If you need to use USB port", "-> No]LOG]!>"});
}

TEST_F(UnattendedTest, SecondStartWhileARunIsInProgressEndsWith1618) {
  WriteIni("AutoMode=1\r\nQuiteMode=1\r\n");
  win.system.heldMutexes.insert(kRunMutexName);
  win.system.otherWindows.insert("TMainForm");
  EXPECT_EQ(Run({"/Quiet", "/Log=C:\\install.log"}), kExitAlreadyRunning);
  EXPECT_TRUE(win.system.activatedWindows.empty());
  EXPECT_EQ(Run({}), kExitAlreadyRunning);
  EXPECT_EQ(win.system.activatedWindows, (Steps{"TMainForm"}));
  EXPECT_TRUE(lib.installCalls.empty());
  EXPECT_FALSE(windowShown);
  ExpectLogLines(Log(), {"Another run of the installer is in progress", "Exit code 1618\r\n"});
  // A run holds the lock while it lasts, and only then.
  win.system.heldMutexes.clear();
  std::set<std::string> heldDuringTheRun;
  lib.onInstall = [&, install = lib.onInstall](const sim::SimInstallCall& call) {
    heldDuringTheRun = win.system.heldMutexes;
    install(call);
  };
  EXPECT_EQ(Run({"/Quiet"}), kExitInstalled);
  EXPECT_EQ(heldDuringTheRun.count(kRunMutexName), 1u);
  EXPECT_TRUE(win.system.heldMutexes.empty());
}

TEST_F(UnattendedTest, HelpBoxListsTheSwitchesAndExitCodes) {
  WriteIni("AutoMode=1\r\n");
  EXPECT_EQ(Run({"/?"}), 0);
  const Steps boxes = Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  for (const char* text : {"/Hide", "/Quiet", "/Model=NAME", "/Log=FILE", "1603", "3010"}) {
    EXPECT_NE(boxes[0].find(text), std::string::npos) << text;
  }
  EXPECT_TRUE(lib.installCalls.empty());
  EXPECT_EQ(Run({"/?", "/Quiet"}), 0);
  EXPECT_TRUE(Boxes().empty());
}

}  // namespace
}  // namespace pinst
