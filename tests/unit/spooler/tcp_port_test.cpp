// Standard TCP/IP ports through the simulated port monitor: the records it
// receives, byte for byte, and every way the monitor can fail.
#include "spooler/tcp_port.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_windows.h"

namespace pinst {
namespace {

uint32_t Dword(const std::vector<uint8_t>& bytes, size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t{bytes[at + 3]} << 24;
}

// A UTF-16 text at a byte offset, up to its zero.
std::string Wide(const std::vector<uint8_t>& bytes, size_t at) {
  std::string text;
  for (; bytes[at] != 0 || bytes[at + 1] != 0; at += 2) {
    EXPECT_EQ(bytes[at + 1], 0);
    text += static_cast<char>(bytes[at]);
  }
  return text;
}

TEST(TcpPortDataTest, PortData1HoldsVersionSizeProtocolPortHostAndQueueWhereWindowsReadsThem) {
  struct Case {
    TTcpPortSpec spec;
    std::string ipAddress;
  };
  const Case cases[] = {
      {{"IP_127.0.0.9", "127.0.0.9", kProtocolRawTcp, 9100, ""}, "127.0.0.9"},
      {{"IP_nowhere.invalid_9101", "nowhere.invalid", kProtocolRawTcp, 9101, ""}, ""},
      {{"LPR_127.0.0.9_q1", "127.0.0.9", kProtocolLpr, 515, "q1"}, "127.0.0.9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.spec.portName);
    const std::vector<uint8_t> bytes = AddPortData(c.spec);
    ASSERT_EQ(bytes.size(), 964u);
    EXPECT_EQ(Wide(bytes, 0), c.spec.portName);
    EXPECT_EQ(Dword(bytes, 128), 1u);  // dwVersion
    EXPECT_EQ(Dword(bytes, 132), c.spec.protocol);
    EXPECT_EQ(Dword(bytes, 136), 964u);  // cbSize
    EXPECT_EQ(Dword(bytes, 140), 0u);
    EXPECT_EQ(Wide(bytes, 144), c.spec.host);
    EXPECT_EQ(Wide(bytes, 242), "public");
    EXPECT_EQ(Dword(bytes, 308), 0u);  // no double spooling
    EXPECT_EQ(Wide(bytes, 312), c.spec.queue);
    EXPECT_EQ(Wide(bytes, 378), c.ipAddress);
    EXPECT_EQ(Dword(bytes, 952), c.spec.portNumber);
    EXPECT_EQ(Dword(bytes, 956), 0u);  // SNMP status off
    EXPECT_EQ(Dword(bytes, 960), 1u);
  }
  const std::vector<uint8_t> removal = DeletePortData("IP_127.0.0.9");
  ASSERT_EQ(removal.size(), 236u);
  EXPECT_EQ(Wide(removal, 0), "IP_127.0.0.9");
  EXPECT_EQ(Dword(removal, 228), 1u);
  EXPECT_EQ(Dword(removal, 232), 0u);
}

TEST(TcpPortTest, TheMonitorMakesAndRemovesThePortWithAdministrationRights) {
  sim::SimWindows win;
  const TTcpPortSpec spec{"IP_127.0.0.9", "127.0.0.9", kProtocolRawTcp, 9100, ""};
  EXPECT_TRUE(AddTcpPort(spec).done);
  ASSERT_EQ(win.spooler.ports.back().portName, "IP_127.0.0.9");
  EXPECT_EQ(win.spooler.ports.back().monitorName, "Standard TCP/IP Port");
  // A second time the monitor says it exists.
  const TMonitorAnswer again = AddTcpPort(spec);
  EXPECT_FALSE(again.done);
  EXPECT_EQ(again.call, "XcvData(\"AddPort\") status");
  EXPECT_EQ(again.code, kErrorAlreadyExists);
  // A printer on it keeps it.
  win.spooler.AddLocalPrinter("P", "D", "IP_127.0.0.9");
  EXPECT_EQ(DeleteTcpPort("IP_127.0.0.9").code, kErrorBusy);
  win.spooler.printers.clear();
  EXPECT_TRUE(DeleteTcpPort("IP_127.0.0.9").done);
  EXPECT_EQ(win.spooler.ports.back().portName, "LPT3:");
  EXPECT_EQ(DeleteTcpPort("LPT1:").code, kErrorUnknownPort);  // not the monitor's
  EXPECT_EQ(win.portMonitors.openAccess, std::vector<uint32_t>(5, kServerAccessAdminister));
  EXPECT_EQ(win.portMonitors.openHandles, 0);
}

TEST(TcpPortTest, EachFailureOfTheMonitorNamesItsCallAndCode) {
  struct Case {
    const char* name;
    std::function<void(sim::SimWindows&)> setUp;
    std::string call;
    uint32_t code;
  };
  const std::string open = "OpenPrinter(\",XcvMonitor Standard TCP/IP Port\")";
  const Case cases[] = {
      {"no such monitor (Wine)",
       [](sim::SimWindows& w) { w.portMonitors.monitors = {"Local Port"}; }, open,
       kErrorUnknownPort},
      {"no administrator", [](sim::SimWindows& w) { w.portMonitors.failOpen = kErrorAccessDenied; },
       open, kErrorAccessDenied},
      {"spooler gone", [](sim::SimWindows& w) { w.faults.failName = "portmonitor.OpenXcvMonitor"; },
       open, 1722},
      {"call fails", [](sim::SimWindows& w) { w.portMonitors.failCall = kErrorInvalidHandle; },
       "XcvData(\"AddPort\")", kErrorInvalidHandle},
      {"monitor refuses", [](sim::SimWindows& w) { w.portMonitors.addPortStatus = 87; },
       "XcvData(\"AddPort\") status", 87},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim::SimWindows win;
    c.setUp(win);
    const size_t portsBefore = win.spooler.ports.size();
    const TMonitorAnswer answer = AddTcpPort({"IP_127.0.0.9", "127.0.0.9", 1, 9100, ""});
    EXPECT_FALSE(answer.done);
    EXPECT_EQ(answer.call, c.call);
    EXPECT_EQ(answer.code, c.code);
    EXPECT_EQ(win.spooler.ports.size(), portsBefore);
  }
}

}  // namespace
}  // namespace pinst
