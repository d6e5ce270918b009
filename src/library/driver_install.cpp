#include "library/driver_install.h"

#include <optional>

#include "base/ansi_text.h"
#include "config/inf_model_name.h"
#include "library/device_search.h"
#include "library/driver_staging.h"
#include "library/inf_driver.h"
#include "library/install_log.h"
#include "library/library_codes.h"
#include "platform/devices.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "spooler/printer_ops.h"

namespace pinst {

namespace {

constexpr const char* kFallbackPort = "LPT1:";

// A printer of the model's name on the driver; one that exists is left as it is.
uint32_t EnsurePrinter(const std::string& printerName, const std::string& driverName,
                       const std::string& portName, TInstallLog& log) {
  std::vector<PrinterInfo2> printers;
  if (!ReadLocalPrinters(printers)) {
    const uint32_t error = Os().spooler->GetLastError();
    log.Code("the printer list cannot be read", error);
    return error != 0 ? error : kLibInstallFailure;
  }
  for (const PrinterInfo2& p : printers) {
    if (!EqualsNoCase(p.printerName, printerName, Os().system->GetAnsiCodePage())) continue;
    log.Line("printer \"" + printerName + "\" exists on \"" + p.driverName + "\": left as it is");
    return 0;
  }
  PrinterInfo2 info;
  info.printerName = printerName;
  info.driverName = driverName;
  info.portName = portName.empty() ? kFallbackPort : portName;
  info.printProcessor = "WinPrint";
  info.datatype = "RAW";
  info.attributes = kPrinterAttributeLocal;
  ISpooler& spooler = *Os().spooler;
  PrinterHandle added = spooler.AddPrinterA(info);
  if (!added && spooler.GetLastError() == kErrorUnknownPort && info.portName != kFallbackPort) {
    log.Line("port " + info.portName + " unknown: the printer goes on " + kFallbackPort);
    info.portName = kFallbackPort;
    added = spooler.AddPrinterA(info);
  }
  if (!added) {
    const uint32_t error = spooler.GetLastError();
    log.Code("AddPrinter failed", error);
    return error != 0 ? error : kLibInstallFailure;
  }
  log.Line("printer \"" + printerName + "\" added on " + info.portName);
  return 0;
}

}  // namespace

uint32_t InstallFromInf(const TInstallRequest& request, TInstallLog& log) {
  bool offline = false;
  const std::string id = StripOfflinePrefix(request.hardwareId, &offline);
  const InfTarget target = CurrentInfTarget();
  const std::string environment = NativeEnvironment(target.machine);
  log.Line(std::string(offline ? "offline" : "online") + ", environment " + environment);
  if (id.empty()) {
    log.Line("no hardware id");
    return kLibInvalidParameter;
  }
  const std::string infPath = Os().files->FullPath(request.infPath);

  std::optional<TFoundDevice> device;
  if (!offline) {
    uint32_t error = 0;
    device = FindPresentDevice(id, error);
    if (error != 0) log.Code("the device list cannot be read", error);
    if (!device) {
      log.Line("no present device with the id " + id);
      return kLibNoSuchDevinst;
    }
    log.Line("present device " + device->instanceId + " (" + device->matchedId + ")");
  }

  TInfDriver driver;
  if (const uint32_t error = ReadInfDriver(infPath, id, target, log, driver)) return error;
  TStagingPath path;
  if (const uint32_t error = StageDriver(infPath, driver, environment, request.owner, log, path)) {
    return error;
  }

  if (device) {
    bool reboot = false;
    const uint32_t error = Os().devices->UpdateDriverForDevices(request.owner, device->matchedId,
                                                                infPath, kInstallFlagForce, reboot);
    if (error != 0) {
      log.Code("UpdateDriverForPlugAndPlayDevices failed", error);
      return error;
    }
    log.Line(std::string("device driver updated") + (reboot ? ", a restart is due" : ""));
  }

  // The name the installer gives the printer, read as the installer reads it.
  std::string printerName;
  if (!ReadInfModelName(request.infPath, printerName) || printerName.empty()) {
    printerName = driver.driverName;
  }
  return EnsurePrinter(printerName, driver.driverName, request.portName, log);
}

}  // namespace pinst
