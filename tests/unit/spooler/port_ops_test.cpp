#include "spooler/port_ops.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_windows.h"

namespace pinst {
namespace {

class PortExistsTest : public ::testing::Test {
 protected:
  uint32_t PortListBytes() {
    uint32_t bytes = 0;
    for (const auto& port : win.spooler.ports) bytes += sim::SimSpooler::Needed(port);
    return bytes;
  }
  sim::SimWindows win;
};

TEST_F(PortExistsTest, NamesMatchByteForByte) {
  EXPECT_TRUE(PortExists("LPT1:"));
  EXPECT_TRUE(PortExists("FILE:"));
  EXPECT_TRUE(PortExists("COM4:"));
  EXPECT_FALSE(PortExists("lpt1:"));
  EXPECT_FALSE(PortExists("LPT1"));
  EXPECT_FALSE(PortExists("LPT4:"));
  EXPECT_FALSE(PortExists(""));
}

TEST_F(PortExistsTest, FindsPortsInAListBeyondTheOld2000Bytes) {
  win.spooler.AddPorts("USB", 40, "Dynamic Print Monitor", "Virtual printer port for USB");
  win.spooler.AddPorts("IP_10.0.0.", 20, "Standard TCP/IP Port", "Standard TCP/IP Port");
  ASSERT_GT(PortListBytes(), 2000u);
  EXPECT_TRUE(PortExists("LPT1:"));
  EXPECT_TRUE(PortExists("USB040"));
  EXPECT_TRUE(PortExists("IP_10.0.0.020"));
  EXPECT_FALSE(PortExists("USB041"));
}

TEST_F(PortExistsTest, NoPortsMeansNoPort) {
  win.spooler.ports.clear();
  EXPECT_FALSE(PortExists("LPT1:"));
}

}  // namespace
}  // namespace pinst
