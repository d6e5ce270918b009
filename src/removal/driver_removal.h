// Deleting an old printer driver (Windows 2000 keeps it after its printer is gone).
#pragma once

#include <string>

namespace pinst {

// Deletes the driver and its unused files for the local machine and the current
// environment, trying once more after about two seconds. True on success.
bool DeletePrnDriver(const std::string& driverName);

}  // namespace pinst
