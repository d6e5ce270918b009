// /Port= in whole unattended runs: the model installed offline on the port, a
// TCP/IP port made through the monitor and taken away again when the run fails,
// a port that was there never touched, and the refusals that change nothing.
#include <algorithm>

#include "app/install_codes.h"
#include "app/installer_main.h"
#include "app/switch_commands.h"
#include "install_fixture.h"

namespace pinst {
namespace {

using namespace testdata;
using Steps = std::vector<std::string>;

constexpr const char* kLog = "C:\\install.log";

class PortInstallTest : public InstallTest {
 protected:
  PortInstallTest() : defaultPorts(win.spooler.ports) { WriteIni(); }

  int Run(std::vector<std::string> args) {
    args.push_back(std::string("/Log=") + kLog);
    win.trace.Clear();
    win.ui.NewProcess();
    return RunInstaller(args);
  }
  std::string Log() { return win.files.Contents(kLog).value_or(""); }
  bool HasPort(const std::string& name) const {
    const auto& ports = win.spooler.ports;
    return std::any_of(ports.begin(), ports.end(),
                       [&](const PortInfo2& p) { return p.portName == name; });
  }
  Steps MonitorCalls() const {
    Steps names;
    for (const auto& call : win.portMonitors.calls) names.push_back(call.dataName);
    return names;
  }
  std::string PrinterPort() {
    const sim::SimPrinter* p = win.spooler.Find(kModel);
    return p ? p->info.portName : "(none)";
  }
  // Back to a machine as it was before the run.
  void Reset() {
    win.spooler.printers.clear();
    win.spooler.ports = defaultPorts;
    win.spooler.AddPorts("USB", 3, "USB Monitor", "Virtual printer port for USB");
    sim::SimPortMonitors& monitors = win.portMonitors;
    monitors.monitors = {"Local Port", sim::kSimTcpMonitor};
    monitors.failOpen.reset();
    monitors.addPortStatus.reset();
    monitors.calls.clear();
    lib.installCalls.clear();
    lib.installResult = 1;
    lib.lastInstallError = 0;
    win.files.RemoveFile(kLog);
    WriteIni();
  }

  const std::vector<PortInfo2> defaultPorts;
};

TEST_F(PortInstallTest, TheModelGoesOfflineOntoThePortAndTheRunTakesAwayOnlyAPortItMade) {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    std::function<void()> setUp;
    int exitCode;
    std::string printerPort;  // "(none)": no printer
    Steps monitorCalls;
    std::vector<std::string> logLines;
    std::string portLeft = "";  // a TCP/IP port the machine has afterwards
    std::string portGone = "";  // one it has not
  };
  const std::string openFailed = "OpenPrinter(\",XcvMonitor Standard TCP/IP Port\") failed";
  const Case cases[] = {
      // The old printer of the model's name is replaced, and install.ini's port gives way.
      {"existing port, any case",
       {"/Quiet", "/Model=XP100", "/Port=com2:"},
       [&] {
         WriteIni("DefaultPortName=LPT2:\r\n");
         win.spooler.AddLocalPrinter(kModel, "Old Driver", "LPT3:");
       },
       kExitInstalled,
       "COM2:",
       {},
       {"/Port=com2:: the port COM2: exists and is used as it is",
        "Install of \"Tessaly XP-100\" (section [XP100], i386\\XP100.inf), offline",
        "Printer \"Tessaly XP-100\" removed (driver Old Driver)",
        "hardware id LPTOFFLINE\\" + kHwid + ", port COM2:",
        "Installed \"Tessaly XP-100\" on COM2:", "Exit code 0"}},
      {"address: port made",
       {"/Quiet", "/Model=XP100", "/Port=127.0.0.9"},
       [] {},
       kExitInstalled,
       "IP_127.0.0.9",
       {"AddPort"},
       {"Standard TCP/IP port IP_127.0.0.9 made: 127.0.0.9, RAW port 9100, SNMP status off",
        "port IP_127.0.0.9", "Exit code 0"},
       "IP_127.0.0.9"},
      {"lpr, shown window",
       {"/Model=XP100", "/Port=lpr://nowhere.invalid/q1"},
       [] {},
       kExitInstalled,
       "LPR_nowhere.invalid_q1",
       {"AddPort"},
       {"made: nowhere.invalid, LPR queue q1"},
       "LPR_nowhere.invalid_q1"},
      {"address whose port exists: reused",
       {"/Quiet", "/Model=XP100", "/Port=127.0.0.9"},
       // The library fails: a port the run had made would go with it.
       [&] {
         win.spooler.ports.push_back({"IP_127.0.0.9", "Standard TCP/IP Port", "", 3});
         libraryAnswers = {{2, 5}};
       },
       kExitFailed,
       "(none)",
       {},
       {"the port IP_127.0.0.9 exists and is used as it is", "Exit code 1603"},
       "IP_127.0.0.9"},
      {"made, then the library fails",
       {"/Quiet", "/Model=XP100", "/Port=127.0.0.9"},
       [&] {
         libraryAnswers = {{2, 5}};
       },
       kExitFailed,
       "(none)",
       {"AddPort", "DeletePort"},
       {"made:", "Install failed: error 0x00000005",
        "Port IP_127.0.0.9, made by this run, removed again", "Exit code 1603"},
       "",
       "IP_127.0.0.9"},
      {"made, then the library is missing",
       {"/Quiet", "/Model=XP100", "/Port=127.0.0.9"},
       [&] { WriteIni("InstallDll2K=none.dll\r\n"); },
       kExitFailed,
       "(none)",
       {"AddPort", "DeletePort"},
       {"made:", "removed again", "Exit code 1603"},
       "",
       "IP_127.0.0.9"},
      {"no such monitor",
       {"/Quiet", "/Model=XP100", "/Port=127.0.0.9"},
       [&] { win.portMonitors.monitors = {"Local Port"}; },
       kExitFailed,
       "(none)",
       {},
       {"Standard TCP/IP port IP_127.0.0.9 not made: " + openFailed + " with error 0x00000704",
        "Message: The Standard TCP/IP port IP_127.0.0.9 could not be made",
        "OpenPrinter(\",XcvMonitor Standard TCP/IP Port\"): 0x00000704", "Exit code 1603"},
       "",
       "IP_127.0.0.9"},
      {"monitor refuses",
       {"/Quiet", "/Model=XP100", "/Port=raw://127.0.0.9:9101"},
       [&] { win.portMonitors.addPortStatus = 87; },
       kExitFailed,
       "(none)",
       {"AddPort"},
       {"XcvData(\"AddPort\") status failed with error 0x00000057", "Exit code 1603"},
       "",
       "IP_127.0.0.9_9101"},
      {"no such port",
       {"/Quiet", "/Model=XP100", "/Port=LPT9:"},
       [] {},
       kExitInvalidCommandLine,
       "(none)",
       {},
       {"/Port=LPT9:: no port of that name on this computer, and no printer's address: nothing "
        "changed",
        "Message: There is no printer port \"LPT9:\"", "Exit code 1639"}},
      {"bad address",
       {"/Quiet", "/Model=XP100", "/Port=10.0.0.300"},
       [] {},
       kExitInvalidCommandLine,
       "(none)",
       {},
       {"Refused: /Port=10.0.0.300: \"10.0.0.300\" is no IPv4 address", "Exit code 1639"}},
      {"no model",
       {"/Quiet", "/Port=COM2:"},
       [] {},
       kExitInvalidCommandLine,
       "(none)",
       {},
       {"Refused: /Port= needs /Model=NAME", "Exit code 1639"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    libraryAnswers.clear();
    c.setUp();
    EXPECT_EQ(Run(c.args), c.exitCode);
    EXPECT_EQ(PrinterPort(), c.printerPort);
    EXPECT_EQ(MonitorCalls(), c.monitorCalls);
    const std::string log = Log();
    size_t at = 0;
    for (const std::string& line : c.logLines) {
      const size_t found = log.find(line, at);
      ASSERT_NE(found, std::string::npos) << line << "\n" << log;
      at = found + line.size();
    }
    // No search for a connected printer, no question about USB.
    EXPECT_EQ(log.find("Connected printer:"), std::string::npos);
    EXPECT_EQ(log.find("USB question"), std::string::npos);
    if (!c.portLeft.empty()) {
      EXPECT_TRUE(HasPort(c.portLeft));
    }
    if (!c.portGone.empty()) {
      EXPECT_FALSE(HasPort(c.portGone));
    }
    for (const auto& call : lib.installCalls) EXPECT_EQ(call.hardwareId, "LPTOFFLINE\\" + kHwid);
    // Refused, or the monitor failed: nothing was started, installed or changed.
    const std::string name = c.name;
    if (c.exitCode == kExitInvalidCommandLine || name.find("monitor") != std::string::npos) {
      EXPECT_TRUE(lib.installCalls.empty());
      EXPECT_TRUE(win.files.Contents("C:\\WINDOWS\\system32\\WebPrint.ocx") == std::nullopt);
      for (const std::string& step : win.trace.Lines()) {
        for (const char* change : {"AddPrinter", "SetPrinter", "DeletePrinter", "start ", "cmd ",
                                   "winexec ", "shell "}) {
          EXPECT_NE(step.rfind(change, 0), 0u) << step;
        }
      }
    }
  }
}

TEST_F(PortInstallTest, AMissingMonitorIsToldInTheSystemsLanguageWithTheCallAndItsCode) {
  const struct {
    uint16_t langId;
    std::string opening;  // the message's first words in the language's code page
  } cases[] = {
      {0x0409, "The Standard TCP/IP port "},
      {0x0804, "\xCE\xDE\xB7\xA8\xB4\xB4\xBD\xA8\xB1\xEA\xD7\xBC TCP/IP \xB6\xCB\xBF\xDA "},
      {0x0404, "\xB5\x4C\xAA\x6B\xAB\xD8\xA5\xDF\xBC\xD0\xB7\xC7 TCP/IP \xB3\x73\xB1\xB5\xB0\xF0 "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.langId);
    Reset();
    win.SetLanguage(c.langId);
    win.portMonitors.monitors = {"Local Port"};
    EXPECT_EQ(Run({"/Hide", "/Model=XP100", "/Port=127.0.0.9"}), kExitFailed);
    const Steps boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find(": " + c.opening + "IP_127.0.0.9"), std::string::npos) << boxes[0];
    EXPECT_NE(
        boxes[0].find("\r\nOpenPrinter(\",XcvMonitor Standard TCP/IP Port\"): 0x00000704 -> "),
        std::string::npos)
        << boxes[0];
    EXPECT_TRUE(lib.installCalls.empty());
  }
  win.SetLanguage(0x0409);
  InitLangStrings(0x0409);
}

TEST_F(PortInstallTest, CheckAndListReportThePortTheRunChose) {
  ASSERT_EQ(Run({"/Quiet", "/Model=XP100", "/Port=127.0.0.9"}), kExitInstalled);
  win.system.standardOutput.clear();
  EXPECT_EQ(Run({"/Check", "/Model=XP100"}), kExitInstalled);
  EXPECT_EQ(Run({"/List"}), kExitInstalled);
  EXPECT_EQ(win.system.standardOutput,
            "installed: Tessaly XP-100, port IP_127.0.0.9, the default printer\r\n"
            "XP100\tTessaly XP-100\ti386\\XP100.inf\tinstalled\tIP_127.0.0.9\r\n");
}

TEST_F(PortInstallTest, UnderWow64TheHelpersPrinterGoesOntoThePortOrThePortGoesWithTheRun) {
  for (const bool succeeds : {true, false}) {
    SCOPED_TRACE(succeeds ? "helper installs" : "helper fails");
    Reset();
    Wow64();
    auto w = Start({"/Model=XP100", "/Port=127.0.0.9"});
    w->Main.BbtnStart.Click();
    ASSERT_TRUE(w->Main.AwaitingHelper());
    ASSERT_TRUE(HasPort("IP_127.0.0.9"));
    if (succeeds) {
      // The helper is not given the port: its printer starts on LPT1:.
      win.spooler.drivers.push_back(kModel);
      win.spooler.AddLocalPrinter(kModel, kModel, "LPT1:");
    }
    ASSERT_TRUE(w->Main.Post(succeeds ? WM_INSTALL_SUCCEEDED : WM_INSTALL_FAILED, 0, 5));
    win.ui.AdvanceTime(500);
    EXPECT_EQ(PrinterPort(), succeeds ? "IP_127.0.0.9" : "(none)");
    EXPECT_EQ(HasPort("IP_127.0.0.9"), succeeds);
  }
}

}  // namespace
}  // namespace pinst
