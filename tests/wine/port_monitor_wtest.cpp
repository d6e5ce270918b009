// The real port-monitor layer against Wine's spooler. Wine has the Local Port
// monitor's Xcv interface and no Standard TCP/IP Port monitor, so the opening
// of the TCP/IP monitor must fail with the spooler's code, and the Local Port
// monitor shows that the call's result and the monitor's status both come back.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/platform.h"
#include "platform/port_monitor.h"
#include "platform/win32/win32_platform.h"
#include "spooler/tcp_port.h"

namespace pinst {
namespace {

// A wide, zero-terminated port name as the Local Port monitor's commands take it.
std::vector<uint8_t> WideName(const std::string& name) {
  std::vector<uint8_t> bytes;
  for (char c : name) {
    bytes.push_back(static_cast<uint8_t>(c));
    bytes.push_back(0);
  }
  bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

class RealPortMonitor : public ::testing::Test {
 protected:
  win32::Win32Platform platform;
};

TEST_F(RealPortMonitor, TheTcpMonitorIsMissingAndTheAddNamesTheOpeningAndItsCode) {
  XcvHandle xcv = Os().portMonitors->OpenXcvMonitor(kTcpPortMonitor, kServerAccessAdminister);
  if (xcv) GTEST_SKIP() << "this spooler has a Standard TCP/IP Port monitor";
  const uint32_t error = Os().portMonitors->GetLastError();
  EXPECT_NE(error, 0u);
  const TMonitorAnswer answer =
      AddTcpPort({"IP_127.0.0.9", "127.0.0.9", kProtocolRawTcp, kRawPortNumber, ""});
  EXPECT_FALSE(answer.done);
  EXPECT_EQ(answer.call, "OpenPrinter(\",XcvMonitor Standard TCP/IP Port\")");
  EXPECT_EQ(answer.code, error);
  std::printf("OpenPrinter(\",XcvMonitor Standard TCP/IP Port\") failed with %u\n",
              static_cast<unsigned>(error));
}

TEST_F(RealPortMonitor, LocalPortMonitorAnswersWithAResultAndAStatus) {
  XcvHandle xcv = Os().portMonitors->OpenXcvMonitor("Local Port", kServerAccessAdminister);
  ASSERT_TRUE(xcv) << "error " << Os().portMonitors->GetLastError();
  const std::vector<uint8_t> name = WideName("C:\\pinst-w-port.prn");
  uint32_t status = 12345;
  xcv->XcvDataW("DeletePort", name, status);  // left by an earlier run
  ASSERT_TRUE(xcv->XcvDataW("AddPort", name, status));
  EXPECT_EQ(status, 0u);
  // A second time: the call succeeds, the monitor says no.
  ASSERT_TRUE(xcv->XcvDataW("AddPort", name, status));
  EXPECT_NE(status, 0u);
  std::printf("AddPort of an existing port: status %u\n", static_cast<unsigned>(status));
  ASSERT_TRUE(xcv->XcvDataW("DeletePort", name, status));
  EXPECT_EQ(status, 0u);
  ASSERT_TRUE(xcv->XcvDataW("NoSuchCommand", name, status));
  EXPECT_NE(status, 0u);
  std::printf("an unknown command: status %u\n", static_cast<unsigned>(status));
}

}  // namespace
}  // namespace pinst
