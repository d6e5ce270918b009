// /Port= values as a deployment script may pass them. Input: the value. A value
// that is accepted as an address gives a port the monitor takes, under the
// name the run will look for, and the record it takes back names it again.
#include "app/port_switch.h"
#include "fuzz_input.h"
#include "platform/sim/sim_windows.h"

using namespace pinst;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string value(reinterpret_cast<const char*>(data), size);
  std::string why;
  const std::optional<TPortSwitch> port = ParsePortSwitch(value, why);
  fuzz::Require(port.has_value() == why.empty());
  if (!port) return 0;
  fuzz::Require(port->value == value && value.find(',') == std::string::npos);
  if (!port->address) return 0;
  const TTcpPortSpec& spec = *port->address;
  fuzz::Require(!spec.portName.empty() && spec.portName.size() <= 63 && spec.host.size() <= 48);
  sim::SimWindows win;
  fuzz::Require(AddTcpPort(spec).done);
  const std::optional<TPortChoice> choice = ChoosePort(*port, win.spooler.ports, 1252);
  fuzz::Require(choice && !choice->make);
  fuzz::Require(port->mayBeName || choice->portName == spec.portName);
  fuzz::Require(DeleteTcpPort(choice->portName).done);
  return 0;
}
