// Standard TCP/IP ports made and removed through their port monitor's Xcv
// interface. Making a port sends nothing on the network: the monitor only records
// where the printer is.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/port_monitor.h"

namespace pinst {

inline constexpr const char* kTcpPortMonitor = "Standard TCP/IP Port";
inline constexpr uint32_t kRawPortNumber = 9100;
inline constexpr uint32_t kLprPortNumber = 515;

// A printer on the network: RAW to a port number, or LPR to a queue.
struct TTcpPortSpec {
  std::string portName;  // "IP_10.1.2.3"
  std::string host;      // an IPv4 address or a host name
  uint32_t protocol = kProtocolRawTcp;
  uint32_t portNumber = kRawPortNumber;
  std::string queue;  // LPR only
};

// The PORT_DATA_1 the monitor's "AddPort" takes (version 1, SNMP status off) and
// the DELETE_PORT_DATA_1 of its "DeletePort".
std::vector<uint8_t> AddPortData(const TTcpPortSpec& spec);
std::vector<uint8_t> DeletePortData(const std::string& portName);

// How a call on the monitor ended: done, or the call that failed with its code
// (the last error of a call that failed, or the monitor's status).
struct TMonitorAnswer {
  bool done = false;
  std::string call;  // as the log names it
  uint32_t code = 0;
};

// Opens the monitor with SERVER_ACCESS_ADMINISTER and asks it to add or delete
// the port; the handle is closed again before these return.
TMonitorAnswer AddTcpPort(const TTcpPortSpec& spec);
TMonitorAnswer DeleteTcpPort(const std::string& portName);

}  // namespace pinst
