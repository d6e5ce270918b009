#include "platform/sim/sim_devices.h"

#include "base/ansi_text.h"

namespace pinst::sim {

namespace {

constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kNoSuchDevinst = 0xE000020B;  // ERROR_NO_SUCH_DEVINST

bool HasId(const PresentDevice& device, const std::string& id) {
  for (const auto* list : {&device.hardwareIds, &device.compatibleIds}) {
    for (const std::string& own : *list) {
      if (EqualsNoCase(own, id, 1252)) return true;
    }
  }
  return false;
}

}  // namespace

SimPnpDevice& SimDevices::AddDevice(const std::string& instanceId,
                                    std::vector<std::string> hardwareIds,
                                    std::vector<std::string> compatibleIds,
                                    const std::string& usbPort) {
  SimPnpDevice d;
  d.device = {instanceId, std::move(hardwareIds), std::move(compatibleIds)};
  d.usbPort = usbPort;
  devices.push_back(std::move(d));
  return devices.back();
}

uint32_t SimDevices::PresentDevices(std::vector<PresentDevice>& list) {
  list.clear();
  if (Injected(faults, "devices.SetupDiGetClassDevs")) return faultError;
  if (failEnum) return *failEnum;
  for (const SimPnpDevice& d : devices) list.push_back(d.device);
  return 0;
}

std::string SimDevices::UsbPrinterPort(const std::string& instanceId) {
  for (const SimPnpDevice& d : devices) {
    if (EqualsNoCase(d.device.instanceId, instanceId, 1252)) return d.usbPort;
  }
  return "";
}

uint32_t SimDevices::CopyOemInf(const std::string& infPath, std::string& destination) {
  destination.clear();
  if (Injected(faults, "devices.SetupCopyOEMInfA")) return faultError;
  if (failCopyInf) return *failCopyInf;
  const std::optional<std::string> bytes = files_.Contents(infPath);
  if (!bytes) return kErrorFileNotFound;
  // The same INF staged again keeps its name.
  for (const std::string& staged : stagedInfs) {
    if (files_.Contents(staged) == bytes) {
      destination = staged;
      return 0;
    }
  }
  destination = infDirectory + "\\oem" + std::to_string(stagedInfs.size()) + ".inf";
  files_.AddFile(destination, *bytes);
  stagedInfs.push_back(destination);
  Note(trace, "devices.SetupCopyOEMInfA " + infPath + " -> " + destination);
  return 0;
}

uint32_t SimDevices::UpdateDriverForDevices(uintptr_t, const std::string& hardwareId,
                                            const std::string& infPath, uint32_t flags,
                                            bool& reboot) {
  reboot = false;
  updates.push_back({hardwareId, infPath, flags});
  if (Injected(faults, "devices.UpdateDriverForPlugAndPlayDevicesA")) return faultError;
  if (failUpdate) return *failUpdate;
  if (!files_.HasFile(infPath)) return kErrorFileNotFound;
  bool any = false;
  for (SimPnpDevice& d : devices) {
    if (!HasId(d.device, hardwareId)) continue;
    d.driverInf = infPath;
    any = true;
  }
  if (!any) return kNoSuchDevinst;
  Note(trace, "devices.UpdateDriverForPlugAndPlayDevicesA " + hardwareId);
  if (pnpPrinter && !spooler_.Find(pnpPrinter->name)) {
    spooler_.AddLocalPrinter(pnpPrinter->name, pnpPrinter->driver, pnpPrinter->port);
  }
  reboot = updateAsksReboot;
  return 0;
}

}  // namespace pinst::sim
