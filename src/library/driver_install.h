// FuncInst2K's work: the driver of the INF for the hardware id, the device's driver
// when it is present (online), and the printer on the port.
#pragma once

#include <cstdint>
#include <string>

namespace pinst {

class TInstallLog;

struct TInstallRequest {
  std::string infPath;
  std::string hardwareId;  // bare (online) or with "LPTOFFLINE\" / "SERENUM\" (offline)
  std::string portName;
  uintptr_t owner = 0;
};

// 0, or the Windows / SetupAPI code of the step that failed (never 0 for a failure):
// kLibNoSuchDevinst online without a present device, the codes of ReadInfDriver and
// StageDriver, UpdateDriverForPlugAndPlayDevices' code, the spooler's for the printer.
uint32_t InstallFromInf(const TInstallRequest& request, TInstallLog& log);

}  // namespace pinst
