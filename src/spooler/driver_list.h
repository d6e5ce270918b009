// The printer drivers installed for the current environment.
#pragma once

#include <optional>
#include <string>

namespace pinst {

// The environment the machine's own drivers are installed for, to name in driver
// calls: "Windows x64" for a 32-bit program on 64-bit Windows (whose own default
// would be the 32-bit drivers), else none (the caller's own).
std::optional<std::string> NativeDriverEnvironment();

// A driver of this name is installed for the machine's own environment (compared
// without regard to ASCII case); nullopt when the spooler's list cannot be read.
std::optional<bool> DriverInstalled(const std::string& driverName);

}  // namespace pinst
