#include "spooler/dyn_spooler.h"

#include "platform/platform.h"
#include "platform/spooler.h"

namespace pinst {

bool DynDeletePrinterDriverEx(const std::optional<std::string>& serverName,
                              const std::optional<std::string>& environment,
                              const std::string& driverName, uint32_t deleteFlag,
                              uint32_t versionFlag) {
  return Os()
      .spooler->DeletePrinterDriverExA(serverName, environment, driverName, deleteFlag, versionFlag)
      .value_or(false);
}

bool DynGetDefaultPrinter(std::string& printerName) {
  uint32_t needed = 0;
  const bool ok = Os().spooler->GetDefaultPrinterA(kDefaultPrinterBufferChars, printerName, needed)
                      .value_or(false);
  if (!ok) printerName.clear();
  return ok;
}

bool DynSetDefaultPrinter(const std::string& printerName) {
  return Os().spooler->SetDefaultPrinterA(printerName).value_or(false);
}

}  // namespace pinst
