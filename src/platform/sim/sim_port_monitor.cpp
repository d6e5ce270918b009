#include "platform/sim/sim_port_monitor.h"

#include <algorithm>

#include "base/ansi_text.h"

namespace pinst::sim {

namespace {

bool SamePort(const std::string& a, const std::string& b) { return EqualsNoCase(a, b, 1252); }

bool ListHolds(const std::string& list, const std::string& port) {
  size_t start = 0;
  while (start <= list.size()) {
    const size_t comma = std::min(list.find(',', start), list.size());
    if (SamePort(list.substr(start, comma - start), port)) return true;
    start = comma + 1;
  }
  return false;
}

}  // namespace

class SimPortMonitors::Handle : public IXcvHandle {
 public:
  Handle(SimPortMonitors& monitors, std::string monitor, uint32_t access)
      : monitors_(monitors), monitor_(std::move(monitor)), access_(access) {
    ++monitors_.openHandles;
  }
  ~Handle() override { --monitors_.openHandles; }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  bool XcvDataW(const std::string& dataName, const std::vector<uint8_t>& input,
                uint32_t& status) override {
    status = 0;
    monitors_.calls.push_back({monitor_, dataName, input, false, 0});
    if (Injected(monitors_.faults, "portmonitor.XcvDataW")) {
      monitors_.lastError = monitors_.spooler_.faultError;
      return false;
    }
    if (monitors_.failCall) {
      monitors_.lastError = *monitors_.failCall;
      return false;
    }
    if (monitor_ != kSimTcpMonitor) {
      status = kErrorNotSupported;
    } else if ((access_ & kServerAccessAdminister) == 0) {
      status = kErrorAccessDenied;
    } else if (dataName == "AddPort") {
      status = monitors_.addPortStatus.value_or(0);
      if (status == 0) status = monitors_.AddPort(input);
    } else if (dataName == "DeletePort") {
      status = monitors_.deletePortStatus.value_or(0);
      if (status == 0) status = monitors_.DeletePort(input);
    } else {
      status = kErrorInvalidParameter;  // as the monitors answer an unknown command
    }
    monitors_.calls.back().result = true;
    monitors_.calls.back().status = status;
    Note(monitors_.trace, "XcvData " + dataName + " -> status " + std::to_string(status));
    return true;
  }

 private:
  SimPortMonitors& monitors_;
  std::string monitor_;
  uint32_t access_;
};

XcvHandle SimPortMonitors::OpenXcvMonitor(const std::string& monitor, uint32_t desiredAccess) {
  openAccess.push_back(desiredAccess);
  if (Injected(faults, "portmonitor.OpenXcvMonitor")) {
    lastError = spooler_.faultError;
    return nullptr;
  }
  if (failOpen) {
    lastError = *failOpen;
    return nullptr;
  }
  // As Wine's spooler answers for a monitor it does not have.
  if (std::find(monitors.begin(), monitors.end(), monitor) == monitors.end()) {
    lastError = kErrorUnknownPort;
    return nullptr;
  }
  return std::make_unique<Handle>(*this, monitor, desiredAccess);
}

uint32_t SimPortMonitors::AddPort(const std::vector<uint8_t>& input) {
  const PortData1 data = RecordFromBytes<PortData1>(input);
  const std::string name = WideText(data.sztPortName);
  const bool lpr = data.dwProtocol == kProtocolLpr;
  if (input.size() != sizeof(PortData1) || data.dwVersion != 1 ||
      data.cbSize != sizeof(PortData1) || name.empty() || WideText(data.sztHostAddress).empty() ||
      (data.dwProtocol != kProtocolRawTcp && !lpr) || (lpr && WideText(data.sztQueue).empty()) ||
      data.dwPortNumber == 0 || data.dwPortNumber > 65535) {
    return kErrorInvalidParameter;
  }
  auto& ports = spooler_.ports;
  if (std::any_of(ports.begin(), ports.end(),
                  [&](const PortInfo2& p) { return SamePort(p.portName, name); })) {
    return kErrorAlreadyExists;
  }
  ports.push_back({name, kSimTcpMonitor, "Standard TCP/IP Port", 0x3});
  Note(trace, "AddPort " + name + " " + WideText(data.sztHostAddress) + ":" +
                  std::to_string(data.dwPortNumber) +
                  (lpr ? " LPR " + WideText(data.sztQueue) : " RAW") +
                  (data.dwSNMPEnabled ? " SNMP" : ""));
  return 0;
}

uint32_t SimPortMonitors::DeletePort(const std::vector<uint8_t>& input) {
  const DeletePortData1 data = RecordFromBytes<DeletePortData1>(input);
  const std::string name = WideText(data.psztPortName);
  if (input.size() != sizeof(DeletePortData1) || data.dwVersion != 1 || name.empty()) {
    return kErrorInvalidParameter;
  }
  auto& ports = spooler_.ports;
  const auto it = std::find_if(ports.begin(), ports.end(), [&](const PortInfo2& p) {
    return SamePort(p.portName, name) && p.monitorName == kSimTcpMonitor;
  });
  if (it == ports.end()) return kErrorUnknownPort;
  if (std::any_of(spooler_.printers.begin(), spooler_.printers.end(),
                  [&](const SimPrinter& p) { return ListHolds(p.info.portName, name); })) {
    return kErrorBusy;
  }
  Note(trace, "DeletePort " + it->portName);
  ports.erase(it);
  return 0;
}

}  // namespace pinst::sim
