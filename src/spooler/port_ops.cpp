#include "spooler/port_ops.h"

#include <algorithm>
#include <vector>

#include "platform/platform.h"
#include "platform/spooler.h"
#include "spooler/sized_call.h"

namespace pinst {

bool ReadPorts(std::vector<PortInfo2>& ports) {
  // Sized from the spooler's answer: USB, network and virtual ports soon outgrow a
  // fixed buffer, and "LPT1:" would then seem missing.
  return CallWithNeededSize([&](uint32_t size, uint32_t& needed) {
    return Os().spooler->EnumPortsA(size, ports, needed);
  });
}

bool PortExists(const std::string& portName) {
  std::vector<PortInfo2> ports;
  if (!ReadPorts(ports)) return false;
  return std::any_of(ports.begin(), ports.end(),
                     [&](const PortInfo2& p) { return p.portName == portName; });
}

}  // namespace pinst
