#include "spooler/tcp_port.h"

#include "platform/platform.h"

namespace pinst {

namespace {

constexpr const char* kSnmpCommunity = "public";

bool IsIpv4(const std::string& host) {
  return !host.empty() && host.find_first_not_of("0123456789.") == std::string::npos;
}

TMonitorAnswer OnMonitor(const std::string& dataName, const std::vector<uint8_t>& input) {
  const std::string open = std::string("OpenPrinter(\",XcvMonitor ") + kTcpPortMonitor + "\")";
  if (!Os().portMonitors) return {false, open, kErrorNotSupported};
  IPortMonitors& monitors = *Os().portMonitors;
  const XcvHandle xcv = monitors.OpenXcvMonitor(kTcpPortMonitor, kServerAccessAdminister);
  if (!xcv) return {false, open, monitors.GetLastError()};
  uint32_t status = 0;
  const std::string call = "XcvData(\"" + dataName + "\")";
  // The call can succeed while the monitor refuses: both must say yes.
  if (!xcv->XcvDataW(dataName, input, status)) return {false, call, monitors.GetLastError()};
  if (status != 0) return {false, call + " status", status};
  return {true, call, 0};
}

}  // namespace

std::vector<uint8_t> AddPortData(const TTcpPortSpec& spec) {
  PortData1 data;
  SetWide(data.sztPortName, spec.portName);
  data.dwVersion = 1;
  data.dwProtocol = spec.protocol;
  data.cbSize = sizeof data;
  SetWide(data.sztHostAddress, spec.host);
  SetWide(data.sztSNMPCommunity, kSnmpCommunity);
  if (spec.protocol == kProtocolLpr) SetWide(data.sztQueue, spec.queue);
  if (IsIpv4(spec.host)) SetWide(data.sztIPAddress, spec.host);
  data.dwPortNumber = spec.portNumber;
  data.dwSNMPEnabled = 0;
  data.dwSNMPDevIndex = 1;
  return RecordBytes(data);
}

std::vector<uint8_t> DeletePortData(const std::string& portName) {
  DeletePortData1 data;
  SetWide(data.psztPortName, portName);
  data.dwVersion = 1;
  return RecordBytes(data);
}

TMonitorAnswer AddTcpPort(const TTcpPortSpec& spec) {
  return OnMonitor("AddPort", AddPortData(spec));
}

TMonitorAnswer DeleteTcpPort(const std::string& portName) {
  return OnMonitor("DeletePort", DeletePortData(portName));
}

}  // namespace pinst
