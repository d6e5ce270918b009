// Print-monitor service control through Wine's own sc and net, on the service
// stand-in: a real service that is installed, started, stopped and deleted.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/win32_platform.h"
#include "sys/run_cmd.h"
#include "sys/service_control.h"
#include "wine_stage.h"

namespace pinst {
namespace {

const char kService[] = "NvPrnMon";
const char kExe[] = "i386\\NvPrnMon.exe";

// The service's state as the service control manager has it; 0 when it does not exist.
DWORD State() {
  SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (!manager) return 0;
  DWORD state = 0;
  if (SC_HANDLE service = ::OpenServiceA(manager, kService, SERVICE_QUERY_STATUS)) {
    SERVICE_STATUS status = {};
    if (::QueryServiceStatus(service, &status)) state = status.dwCurrentState;
    ::CloseServiceHandle(service);
  }
  ::CloseServiceHandle(manager);
  return state;
}

bool WaitForState(DWORD wanted) {
  for (int i = 0; i < 200; ++i) {
    if (State() == wanted) return true;
    ::Sleep(50);
  }
  return false;
}

// Stops and deletes the service if a run before left it behind.
void RemoveService() {
  SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (!manager) return;
  if (SC_HANDLE service = ::OpenServiceA(manager, kService, SERVICE_STOP | DELETE)) {
    SERVICE_STATUS status = {};
    ::ControlService(service, SERVICE_CONTROL_STOP, &status);
    ::DeleteService(service);
    ::CloseServiceHandle(service);
  }
  ::CloseServiceHandle(manager);
  WaitForState(0);
}

class RealServices : public ::testing::Test {
 protected:
  RealServices() : stage("service") {
    RemoveService();
    taken = stage.Take(wine::ToolsI386() + "NvPrnMon.exe", kExe);
  }
  ~RealServices() override { RemoveService(); }

  win32::Win32Platform platform;
  wine::Stage stage;
  bool taken = false;
};

TEST_F(RealServices, ScStopsDeletesAndStartsTheServiceByItsOutput) {
  ASSERT_TRUE(taken) << "build the tools first";
  ASSERT_EQ(State(), 0u);
  // Wine's sc prints nothing for a missing service, so these change nothing.
  ScStopService(kService, kExe, true);
  EXPECT_EQ(State(), 0u);

  // Installed and started the Windows 2000 way, with net and the executable.
  ASSERT_TRUE(NetStartService(kService, kExe));
  EXPECT_TRUE(WaitForState(SERVICE_RUNNING));
  // Running already: sc start shows neither text.
  EXPECT_FALSE(ScStartService(kService, kExe));

  ScStopService(kService, kExe, false);
  EXPECT_TRUE(WaitForState(SERVICE_STOPPED));
  EXPECT_TRUE(ScStartService(kService, kExe));
  EXPECT_TRUE(WaitForState(SERVICE_RUNNING));

  StopMonitorService(kService, kExe, true);
  EXPECT_TRUE(WaitForState(0)) << "still there in state " << State();
  const std::string log = wine::ReadText(stage.Root() + "i386\\NvPrnMon.log");
  EXPECT_NE(log.find("installed"), std::string::npos) << log;
  EXPECT_NE(log.find("service stopped"), std::string::npos) << log;
}

TEST_F(RealServices, NetStopsAndTheExecutableRemovesTheService) {
  ASSERT_TRUE(taken) << "build the tools first";
  StringList out;
  ASSERT_EQ(RunCMD(std::string(kExe) + " /install /silent", out), kRunCmdNoOutput);
  ASSERT_TRUE(NetStartService(kService, kExe));
  ASSERT_TRUE(WaitForState(SERVICE_RUNNING));

  // Without the executable nothing is run at all.
  NetStopService(kService, "i386\\Missing.exe", true);
  EXPECT_EQ(State(), static_cast<DWORD>(SERVICE_RUNNING));

  NetStopService(kService, kExe, false);
  EXPECT_TRUE(WaitForState(SERVICE_STOPPED));
  EXPECT_TRUE(NetStartService(kService, kExe));
  EXPECT_TRUE(WaitForState(SERVICE_RUNNING));
  NetStopService(kService, kExe, true);
  EXPECT_TRUE(WaitForState(0)) << "still there in state " << State();
  EXPECT_NE(wine::ReadText(stage.Root() + "i386\\NvPrnMon.log").find("uninstalled"),
            std::string::npos);
}

}  // namespace
}  // namespace pinst
