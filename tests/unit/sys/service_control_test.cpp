#include "sys/service_control.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_windows.h"
#include "sys/debug_info.h"

namespace pinst {
namespace {

using Lines = std::vector<std::string>;

const char* kQueryRunning =
    "\r\nSERVICE_NAME: NvPrnMon\r\n        TYPE               : 10  WIN32_OWN_PROCESS\r\n"
    "        STATE              : 4  RUNNING\r\n";
const char* kQueryMissing =
    "[SC] EnumQueryServicesStatus:OpenService FAILED 1060:\r\n\r\n"
    "The specified service does not exist as an installed service.\r\n\r\n";
const char* kStartPending =
    "\r\nSERVICE_NAME: NvPrnMon\r\n        STATE              : 2  START_PENDING\r\n";
const char* kAlreadyRunning =
    "[SC] StartService FAILED 1056:\r\n\r\nAn instance of the service is already running.\r\n";

class ServiceControlTest : public ::testing::Test {
 protected:
  ServiceControlTest() {
    ResetDebugInfoState();
    win.files.AddFile("i386\\NvPrnMon.exe", "MZ");
  }
  void Script(const std::string& line, const std::string& output) {
    win.console.Script(line, {output, 0, 0});
  }
  const Lines& Ran() const { return win.console.commandLines; }
  sim::SimWindows win;
  const std::string exe = "i386\\NvPrnMon.exe";
};

TEST_F(ServiceControlTest, EmptyServiceNameRunsNothing) {
  for (uint32_t minor : {0u, 1u}) {
    win.SetVersion(5, minor);
    StopMonitorService("", exe, true);
    EXPECT_FALSE(StartMonitorService("", exe));
  }
  EXPECT_TRUE(Ran().empty());
}

TEST_F(ServiceControlTest, ScStopQueriesStopsWaitsAndDeletesOnlyWhenAsked) {
  Script("sc query NvPrnMon", kQueryRunning);
  Script("sc stop NvPrnMon", "STATE : 3  STOP_PENDING\r\n");
  Script("sc delete NvPrnMon", "[SC] DeleteService SUCCESS\r\n");
  StopMonitorService("NvPrnMon", exe, false);
  EXPECT_EQ(Ran(), (Lines{"sc query NvPrnMon", "sc stop NvPrnMon"}));
  EXPECT_EQ(win.system.sleeps, std::vector<uint32_t>{100});
  win.console.commandLines.clear();
  StopMonitorService("NvPrnMon", exe, true);
  EXPECT_EQ(Ran(), (Lines{"sc query NvPrnMon", "sc stop NvPrnMon", "sc delete NvPrnMon"}));
}

TEST_F(ServiceControlTest, ScStopOfAMissingOrUnqueryableServiceRunsOnlyTheQuery) {
  Script("sc query NvPrnMon", kQueryMissing);
  ScStopService("NvPrnMon", exe, true);
  EXPECT_EQ(Ran(), Lines{"sc query NvPrnMon"});
  // A query that prints nothing (or cannot be run) proves nothing either.
  Script("sc query NvPrnMon", "");
  ScStopService("NvPrnMon", exe, true);
  ScStopService("Other", exe, true);
  EXPECT_EQ(Ran(), (Lines{"sc query NvPrnMon", "sc query NvPrnMon", "sc query Other"}));
  EXPECT_TRUE(win.system.sleeps.empty());
}

TEST_F(ServiceControlTest, ScStartInstallsAMissingServiceThenStartsIt) {
  Script("sc query NvPrnMon", kQueryMissing);
  Script("i386\\NvPrnMon.exe /install /silent", "");
  Script("sc start NvPrnMon", kStartPending);
  win.SetVersion(5, 1);
  EXPECT_TRUE(StartMonitorService("NvPrnMon", exe));
  EXPECT_EQ(Ran(), (Lines{"sc query NvPrnMon", "i386\\NvPrnMon.exe /install /silent",
                          "sc start NvPrnMon"}));
}

TEST_F(ServiceControlTest, ScStartAnswersFromTheStartOutputOnly) {
  Script("sc query NvPrnMon", kQueryRunning);
  Script("sc start NvPrnMon", kAlreadyRunning);
  EXPECT_FALSE(ScStartService("NvPrnMon", exe));
  EXPECT_EQ(Ran(), (Lines{"sc query NvPrnMon", "sc start NvPrnMon"}));
  Script("sc start NvPrnMon", "        STATE              : 4  RUNNING\r\n");
  EXPECT_TRUE(ScStartService("NvPrnMon", exe));
  // One blank before the state name is not the tool's text.
  Script("sc start NvPrnMon", "STATE : 4 RUNNING\r\n");
  EXPECT_FALSE(ScStartService("NvPrnMon", exe));
  // No query output: no start is tried.
  win.console.commandLines.clear();
  Script("sc query NvPrnMon", "");
  EXPECT_FALSE(ScStartService("NvPrnMon", exe));
  EXPECT_EQ(Ran(), Lines{"sc query NvPrnMon"});
}

TEST_F(ServiceControlTest, NetStopNeedsTheExecutableAndRetriesOnce) {
  win.SetVersion(5, 0);
  StopMonitorService("NvPrnMon", "i386\\Missing.exe", true);
  EXPECT_TRUE(Ran().empty());

  Script("net stop NvPrnMon", "The NvPrnMon service could not be stopped.\r\n");
  Script("i386\\NvPrnMon.exe /uninstall /silent ", "");
  StopMonitorService("NvPrnMon", exe, true);
  EXPECT_EQ(Ran(), (Lines{"net stop NvPrnMon", "net stop NvPrnMon",
                          "i386\\NvPrnMon.exe /uninstall /silent "}));
  EXPECT_EQ(win.system.sleeps, std::vector<uint32_t>{300});

  win.console.commandLines.clear();
  Script("net stop NvPrnMon", "The NvPrnMon service was stopped successfully.\r\n");
  StopMonitorService("NvPrnMon", exe, false);
  EXPECT_EQ(Ran(), Lines{"net stop NvPrnMon"});
}

TEST_F(ServiceControlTest, NetStartInstallsAndRetriesUnlessTheFirstStartWorked) {
  win.SetVersion(5, 0);
  Script("net start NvPrnMon", "The NvPrnMon service was started successfully.\r\n");
  EXPECT_TRUE(StartMonitorService("NvPrnMon", exe));
  EXPECT_EQ(Ran(), Lines{"net start NvPrnMon"});

  // Already running: neither text, so install and a second start, which says the same.
  win.console.commandLines.clear();
  Script("net start NvPrnMon", "The requested service has already been started.\r\n");
  Script("i386\\NvPrnMon.exe /install /silent", "");
  EXPECT_FALSE(StartMonitorService("NvPrnMon", exe));
  EXPECT_EQ(Ran(), (Lines{"net start NvPrnMon", "i386\\NvPrnMon.exe /install /silent",
                          "net start NvPrnMon"}));

  // Missing: the first start fails, the second one after the install works.
  int starts = 0;
  win.console.handler = [&](const std::string& line) -> std::optional<sim::SimCommand> {
    if (line != "net start Fresh") return std::nullopt;
    return sim::SimCommand{
        ++starts == 1 ? "The service name is invalid.\r\n" : "STATE : 2  START_PENDING\r\n", 0, 0};
  };
  EXPECT_TRUE(NetStartService("Fresh", exe));
  EXPECT_EQ(starts, 2);
}

TEST_F(ServiceControlTest, ExecutablePathWithBlanksIsPassedUnquoted) {
  win.console.handler = [](const std::string&) { return sim::SimCommand{"", 0, 0}; };
  Script("sc query Svc", kQueryMissing);
  win.SetVersion(6, 1);
  StartMonitorService("Svc", "C:\\Program Files\\Svc\\svc.exe");
  EXPECT_EQ(Ran()[1], "C:\\Program Files\\Svc\\svc.exe /install /silent");
  win.SetVersion(4, 0);
  win.files.AddFile("C:\\Program Files\\Svc\\svc.exe");
  StopMonitorService("Svc", "C:\\Program Files\\Svc\\svc.exe", true);
  EXPECT_EQ(Ran().back(), "C:\\Program Files\\Svc\\svc.exe /uninstall /silent ");
}

}  // namespace
}  // namespace pinst
