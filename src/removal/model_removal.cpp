#include "removal/model_removal.h"

#include <optional>
#include <vector>

#include "base/ansi_text.h"
#include "platform/platform.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "removal/default_printer.h"
#include "spooler/driver_list.h"
#include "spooler/dyn_spooler.h"
#include "spooler/job_ops.h"
#include "spooler/printer_ops.h"

namespace pinst {

namespace {

// The spooler may hold a driver's files for a moment after its last printer went.
constexpr uint32_t kDriverRetryPauseMs = 2000;

bool DeleteDriver(const std::string& driverName, uint32_t deleteFlag) {
  return DynDeletePrinterDriverEx(std::nullopt, NativeDriverEnvironment(), driverName, deleteFlag,
                                  0);
}

}  // namespace

TPrinterRemovalResult RemoveIdlePrinter(const std::string& printerName) {
  ISpooler& spooler = *Os().spooler;
  TPrinterRemovalResult result;
  const std::optional<int> jobs = QueuedJobCount(printerName);
  if (!jobs) {
    result.outcome = TPrinterRemoval::kQueueUnknown;
    return result;
  }
  if (*jobs > 0) {
    result.outcome = TPrinterRemoval::kHasJobs;
    result.jobs = *jobs;
    return result;
  }
  PrinterHandle printer = spooler.OpenPrinterA(
      printerName, PrinterDefaults{std::string(), DevModeBytes(), kPrinterAllAccess});
  if (!printer) {
    result.outcome = TPrinterRemoval::kNotOpened;
    result.error = spooler.GetLastError();
    return result;
  }
  if (!printer->DeletePrinter()) {
    result.outcome = TPrinterRemoval::kRefused;
    result.error = spooler.GetLastError();
    return result;
  }
  printer.reset();
  std::string newDefault;
  RepairDefaultPrinter(false, newDefault);
  result.outcome = TPrinterRemoval::kRemoved;
  return result;
}

TDriverRemovalResult RemoveUnusedDriver(const std::string& driverName) {
  ISpooler& spooler = *Os().spooler;
  TDriverRemovalResult result;
  std::vector<PrinterInfo2> printers;
  if (ReadLocalPrinters(printers)) {
    const uint32_t codePage = Os().system->GetAnsiCodePage();
    for (const PrinterInfo2& p : printers) {
      if (!EqualsNoCase(p.driverName, driverName, codePage)) continue;
      result.outcome = TDriverRemoval::kInUse;
      result.usedBy = p.printerName;
      return result;
    }
  }
  uint32_t flag = kDpdDeleteUnusedFiles;
  bool deleted = DeleteDriver(driverName, flag);
  // A spooler that does not know the flag (Wine 8 answers 87) deletes the driver
  // without its files.
  if (!deleted && spooler.GetLastError() == kErrorInvalidParameter) {
    flag = 0;
    deleted = DeleteDriver(driverName, flag);
  }
  if (!deleted && spooler.GetLastError() == kErrorPrinterDriverInUse) {
    Os().system->Sleep(kDriverRetryPauseMs);
    deleted = DeleteDriver(driverName, flag);
  }
  if (deleted) {
    result.outcome = TDriverRemoval::kRemoved;
    return result;
  }
  result.error = spooler.GetLastError();
  result.outcome = result.error == kErrorUnknownPrinterDriver ? TDriverRemoval::kNotInstalled
                   : result.error == kErrorPrinterDriverInUse ? TDriverRemoval::kInUse
                                                              : TDriverRemoval::kRefused;
  return result;
}

}  // namespace pinst
