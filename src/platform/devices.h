// Device setup (setupapi, newdev): the present devices with their ids, the port of
// a USB printer, staging an INF and giving a present device its driver. Calls that
// fail answer with the Windows or SetupAPI code GetLastError gave.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pinst {

// UpdateDriverForPlugAndPlayDevicesA flags.
enum : uint32_t { kInstallFlagForce = 0x1 };

// One device SetupDiGetClassDevs(DIGCF_PRESENT | DIGCF_ALLCLASSES) lists.
struct PresentDevice {
  std::string instanceId;                  // SetupDiGetDeviceInstanceIdA
  std::vector<std::string> hardwareIds;    // SPDRP_HARDWAREID
  std::vector<std::string> compatibleIds;  // SPDRP_COMPATIBLEIDS
};

class IDevices {
 public:
  virtual ~IDevices() = default;
  // Every present device of every class; 0 or the code of the failed call.
  virtual uint32_t PresentDevices(std::vector<PresentDevice>& devices) = 0;
  // The port a USB printer's print interface names ("USB001": its base name and
  // port number); empty when the device has no such interface.
  virtual std::string UsbPrinterPort(const std::string& instanceId) = 0;
  // SetupCopyOEMInfA from its own path (SPOST_PATH); destination receives the
  // staged INF's path. 0 or the code.
  virtual uint32_t CopyOemInf(const std::string& infPath, std::string& destination) = 0;
  // UpdateDriverForPlugAndPlayDevicesA: every present device with that hardware or
  // compatible id gets the INF's driver. 0 or the code; reboot says a restart is due.
  virtual uint32_t UpdateDriverForDevices(uintptr_t owner, const std::string& hardwareId,
                                          const std::string& infPath, uint32_t flags,
                                          bool& reboot) = 0;
};

}  // namespace pinst
