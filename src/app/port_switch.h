// The value of /Port=: the name of a port the spooler has (any case), or a
// printer's network address for a Standard TCP/IP port: an IPv4 address or a host
// name (RAW, 9100), raw://host:port, lpr://host/queue.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/spooler.h"
#include "spooler/tcp_port.h"

namespace pinst {

struct TPortSwitch {
  std::string value;                    // as given
  bool mayBeName = false;               // it may name a port the spooler has
  std::optional<TTcpPortSpec> address;  // the TCP/IP port for it, when it is an address
};

// What the value can be, read without the spooler; nullopt (why says it) when it
// can be no port at all.
std::optional<TPortSwitch> ParsePortSwitch(const std::string& value, std::string& why);

// The port the printer goes on.
struct TPortChoice {
  std::string portName;  // as the spooler spells it, or the name of the port to make
  bool make = false;     // no port of that name yet: it is made through the monitor
  TTcpPortSpec spec;     // when made
};

// The port for the value among the spooler's ports: a port of that name first,
// then the address's port (reused when a port of its name exists). nullopt when
// the value names no port and is no address.
std::optional<TPortChoice> ChoosePort(const TPortSwitch& port, const std::vector<PortInfo2>& ports,
                                      uint32_t codePage);

}  // namespace pinst
