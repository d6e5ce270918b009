// The printer drivers installed for the current environment.
#pragma once

#include <optional>
#include <string>

namespace pinst {

// A driver of this name is installed (compared without regard to ASCII case);
// nullopt when the spooler's list cannot be read.
std::optional<bool> DriverInstalled(const std::string& driverName);

}  // namespace pinst
