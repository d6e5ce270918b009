// Ports of the local machine.
#pragma once

#include <string>

namespace pinst {

// A port of exactly this name exists (bytes compared, case counts).
bool PortExists(const std::string& portName);

}  // namespace pinst
