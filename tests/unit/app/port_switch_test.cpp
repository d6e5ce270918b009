// /Port=: what a value can be, the port it picks among the spooler's, and the
// command lines it is refused in.
#include "app/port_switch.h"

#include <gtest/gtest.h>

#include "app/command_line.h"

namespace pinst {
namespace {

TEST(PortSwitchTest, ValuesAreNamesAddressesOrRefused) {
  struct Case {
    std::string value;
    bool accepted;
    bool mayBeName = false;
    std::string tcpName = "";  // the TCP/IP port of an address
    uint32_t protocol = kProtocolRawTcp;
    uint32_t portNumber = kRawPortNumber;
    std::string host = "", queue = "";
  };
  const Case cases[] = {
      {"COM2:", true, true},
      {"USB001", true, true, "IP_USB001", kProtocolRawTcp, 9100, "USB001"},
      {"IP_10.1.2.3", true, true},
      {"C:\\out\\file.prn", true, true},
      {"10.1.2.3", true, false, "IP_10.1.2.3", kProtocolRawTcp, 9100, "10.1.2.3"},
      {"127.0.0.9", true, false, "IP_127.0.0.9", kProtocolRawTcp, 9100, "127.0.0.9"},
      {"printer7.example.org", true, true, "IP_printer7.example.org", kProtocolRawTcp, 9100,
       "printer7.example.org"},
      {"RAW://127.0.0.9:9101", true, false, "IP_127.0.0.9_9101", kProtocolRawTcp, 9101,
       "127.0.0.9"},
      {"raw://nowhere.invalid", true, false, "IP_nowhere.invalid", kProtocolRawTcp, 9100,
       "nowhere.invalid"},
      {"lpr://127.0.0.9/queue_1", true, false, "LPR_127.0.0.9_queue_1", kProtocolLpr, 515,
       "127.0.0.9", "queue_1"},
      {"", false},
      {"10.0.0.300", false},
      {"10.0.0", false},
      {"10.0.0.1.2", false},
      {"010.0.0.1", false},
      {"LPT1:,LPT2:", false},
      {"COM\x01", false},
      {" COM2:", false},
      {"raw://127.0.0.9:0", false},
      {"raw://127.0.0.9:65536", false},
      {"raw://-bad-.example", false},
      {"raw://", false},
      {"lpr://127.0.0.9", false},
      {"lpr://127.0.0.9/with blank", false},
      {"http://127.0.0.9", false},
      {"raw://" + std::string(49, 'a'), false},
      {"lpr://" + std::string(40, 'a') + "/" + std::string(30, 'q'), false},  // name past 63
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    std::string why;
    const std::optional<TPortSwitch> port = ParsePortSwitch(c.value, why);
    ASSERT_EQ(port.has_value(), c.accepted) << why;
    if (!port) {
      EXPECT_FALSE(why.empty());
      continue;
    }
    EXPECT_EQ(port->mayBeName, c.mayBeName);
    ASSERT_EQ(port->address.has_value(), !c.tcpName.empty());
    if (!port->address) continue;
    EXPECT_EQ(port->address->portName, c.tcpName);
    EXPECT_EQ(port->address->host, c.host);
    EXPECT_EQ(port->address->protocol, c.protocol);
    EXPECT_EQ(port->address->portNumber, c.portNumber);
    EXPECT_EQ(port->address->queue, c.queue);
  }
}

TEST(PortSwitchTest, AnExistingPortWinsInAnyCaseAndAnAddressReusesItsPort) {
  const std::vector<PortInfo2> ports = {{"COM2:", "Local Port", "", 7},
                                        {"IP_127.0.0.9", "Standard TCP/IP Port", "", 3},
                                        {"USB001", "USB Monitor", "", 3}};
  struct Case {
    const char* value;
    std::optional<std::string> port;  // nullopt: none
    bool make = false;
  };
  const Case cases[] = {
      {"com2:", "COM2:"},
      {"usb001", "USB001"},  // a port of that name, not a host to make a port for
      {"ip_127.0.0.9", "IP_127.0.0.9"},
      {"127.0.0.9", "IP_127.0.0.9"},
      {"127.0.0.10", "IP_127.0.0.10", true},
      {"nowhere.invalid", "IP_nowhere.invalid", true},
      {"LPT9:", std::nullopt},
      {"IP_127.0.0.10", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    std::string why;
    const std::optional<TPortSwitch> port = ParsePortSwitch(c.value, why);
    ASSERT_TRUE(port) << why;
    const std::optional<TPortChoice> choice = ChoosePort(*port, ports, 1252);
    ASSERT_EQ(choice.has_value(), c.port.has_value());
    if (!choice) continue;
    EXPECT_EQ(choice->portName, *c.port);
    EXPECT_EQ(choice->make, c.make);
  }
}

TEST(PortSwitchTest, CommandLineRefusesABadValueAndAPortWithoutAnInstallOfAModel) {
  struct Case {
    std::vector<std::string> args;
    bool invalid;
  };
  const Case cases[] = {
      {{"/Quiet", "/Model=XP100", "-PORT=COM2:"}, false},
      {{"/Model=XP100", "/Port=\"raw://127.0.0.9:9101\""}, false},
      {{"/Quiet", "/Model=XP100", "/Port=10.0.0.300"}, true},
      {{"/Quiet", "/Model=XP100", "/Port="}, true},
      {{"/Quiet", "/Port=COM2:"}, true},
      {{"/Check", "/Model=XP100", "/Port=COM2:"}, true},
      {{"/Quiet", "/Model=XP100", "/Port=10.0.0.300", "/Port=COM2:"}, false},  // the later wins
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.back());
    const TCommandLine line = ParseCommandLine(c.args);
    EXPECT_EQ(line.invalid, c.invalid) << line.portRefusal;
    EXPECT_EQ(line.portRefusal.empty(), !c.invalid);
    EXPECT_TRUE(line.Unattended());
  }
}

}  // namespace
}  // namespace pinst
