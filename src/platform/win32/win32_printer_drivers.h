// Printer drivers through winspool; the driver-package calls looked up at run time.
#pragma once

#include "platform/printer_drivers.h"

namespace pinst::win32 {

class Win32PrinterDrivers : public IPrinterDrivers {
 public:
  uint32_t DriverDirectory(const std::string& environment, std::string& directory) override;
  uint32_t AddDriver(const DriverInfo3& info, uint32_t copyFlags) override;
  uint32_t GetDriver(const std::string& environment, const std::string& name,
                     DriverInfo3& info) override;
  std::optional<int32_t> UploadDriverPackage(const std::string& infPath,
                                             const std::string& environment, uint32_t flags,
                                             uintptr_t owner, std::string& destination) override;
  std::optional<int32_t> InstallDriverFromPackage(const std::string& storedInfPath,
                                                  const std::string& driverName,
                                                  const std::string& environment) override;
};

}  // namespace pinst::win32
