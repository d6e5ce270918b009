// Ports of the local machine.
#pragma once

#include <string>
#include <vector>

#include "platform/spooler.h"

namespace pinst {

// A port of exactly this name exists (bytes compared, case counts).
bool PortExists(const std::string& portName);

// Every port of the local machine; false (with the spooler's last error) when the
// list cannot be read.
bool ReadPorts(std::vector<PortInfo2>& ports);

}  // namespace pinst
