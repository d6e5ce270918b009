// Device setup through setupapi, and newdev's driver update looked up at run time.
#pragma once

#include "platform/devices.h"

namespace pinst::win32 {

class Win32Devices : public IDevices {
 public:
  uint32_t PresentDevices(std::vector<PresentDevice>& devices) override;
  std::string UsbPrinterPort(const std::string& instanceId) override;
  uint32_t CopyOemInf(const std::string& infPath, std::string& destination) override;
  uint32_t UpdateDriverForDevices(uintptr_t owner, const std::string& hardwareId,
                                  const std::string& infPath, uint32_t flags,
                                  bool& reboot) override;
};

}  // namespace pinst::win32
