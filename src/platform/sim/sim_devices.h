// Simulated device setup: present devices a test lists with their ids and USB port,
// INFs staged into the INF folder as oemN.inf, and driver updates of present devices,
// after which Windows may make a printer for the device itself.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/devices.h"
#include "platform/sim/sim_faults.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_spooler.h"
#include "platform/sim/sim_trace.h"

namespace pinst::sim {

struct SimPnpDevice {
  PresentDevice device;
  std::string usbPort;    // the USB print interface's port; empty: none
  std::string driverInf;  // the INF its driver came from, once updated
};

// The printer Windows makes for a device when it gets its driver.
struct SimPnpPrinter {
  std::string name;
  std::string driver;
  std::string port;
};

struct SimDriverUpdate {
  std::string hardwareId;
  std::string infPath;
  uint32_t flags = 0;
};

class SimDevices : public IDevices {
 public:
  SimDevices(SimFiles& files, SimSpooler& spooler) : files_(files), spooler_(spooler) {}

  // What a test sets up.
  std::vector<SimPnpDevice> devices;
  SimPnpDevice& AddDevice(const std::string& instanceId, std::vector<std::string> hardwareIds,
                          std::vector<std::string> compatibleIds = {},
                          const std::string& usbPort = "");
  std::string infDirectory = "C:\\WINDOWS\\inf";
  std::optional<uint32_t> failEnum;
  std::optional<uint32_t> failCopyInf;
  std::optional<uint32_t> failUpdate;
  bool updateAsksReboot = false;
  std::optional<SimPnpPrinter> pnpPrinter;
  // The code of a call failed by the fault list.
  uint32_t faultError = 8;  // ERROR_NOT_ENOUGH_MEMORY

  // What a test inspects.
  std::vector<std::string> stagedInfs;  // every destination SetupCopyOEMInf gave
  std::vector<SimDriverUpdate> updates;
  SimTrace* trace = nullptr;
  SimFaults* faults = nullptr;

  uint32_t PresentDevices(std::vector<PresentDevice>& devices) override;
  std::string UsbPrinterPort(const std::string& instanceId) override;
  uint32_t CopyOemInf(const std::string& infPath, std::string& destination) override;
  uint32_t UpdateDriverForDevices(uintptr_t owner, const std::string& hardwareId,
                                  const std::string& infPath, uint32_t flags,
                                  bool& reboot) override;

 private:
  SimFiles& files_;
  SimSpooler& spooler_;
};

}  // namespace pinst::sim
