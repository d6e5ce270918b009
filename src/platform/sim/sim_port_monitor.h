// Simulated port monitors behind the spooler's Xcv interface. The Standard
// TCP/IP Port monitor is modelled: "AddPort" with a PORT_DATA_1 adds a port of
// that monitor to the simulated spooler, "DeletePort" with a DELETE_PORT_DATA_1
// removes one, each answering with the status codes the monitor gives.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/port_monitor.h"
#include "platform/sim/sim_faults.h"
#include "platform/sim/sim_spooler.h"
#include "platform/sim/sim_trace.h"

namespace pinst::sim {

inline constexpr const char* kSimTcpMonitor = "Standard TCP/IP Port";

// One XcvDataW call as the monitor saw it.
struct SimXcvCall {
  std::string monitor;
  std::string dataName;
  std::vector<uint8_t> input;
  bool result = false;
  uint32_t status = 0;
};

class SimPortMonitors : public IPortMonitors {
 public:
  explicit SimPortMonitors(SimSpooler& spooler) : spooler_(spooler) {}

  // What a test sets up: the monitors installed (Windows has both; Wine has no
  // Standard TCP/IP Port monitor).
  std::vector<std::string> monitors{"Local Port", kSimTcpMonitor};
  std::optional<uint32_t> failOpen;       // OpenPrinterA fails with this last error
  std::optional<uint32_t> failCall;       // XcvDataW returns FALSE with this last error
  std::optional<uint32_t> addPortStatus;  // the monitor refuses "AddPort" with this status
  std::optional<uint32_t> deletePortStatus;

  // What a test inspects.
  std::vector<SimXcvCall> calls;
  std::vector<uint32_t> openAccess;  // the desired access of every opening
  int openHandles = 0;
  uint32_t lastError = 0;
  SimTrace* trace = nullptr;
  SimFaults* faults = nullptr;

  XcvHandle OpenXcvMonitor(const std::string& monitor, uint32_t desiredAccess) override;
  uint32_t GetLastError() override { return lastError; }

 private:
  class Handle;
  uint32_t AddPort(const std::vector<uint8_t>& input);
  uint32_t DeletePort(const std::vector<uint8_t>& input);

  SimSpooler& spooler_;
};

}  // namespace pinst::sim
