#include "removal/printer_snapshot.h"

#include "base/ansi_text.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "spooler/dyn_spooler.h"
#include "spooler/printer_info.h"

namespace pinst {

bool TakePrinterSnapshot(const std::string& printerName, TPrinterSnapshot& snapshot) {
  PrinterHandle printer = Os().spooler->OpenPrinterA(printerName, std::nullopt);
  if (!printer || !ReadPrinterInfo(*printer, snapshot.record)) return false;
  std::string defaultPrinter;
  snapshot.wasDefault =
      DynGetDefaultPrinter(defaultPrinter) &&
      EqualsNoCase(defaultPrinter, snapshot.record.printerName, Os().system->GetAnsiCodePage());
  return true;
}

bool RestorePrinter(const TPrinterSnapshot& snapshot, uint32_t& error) {
  // The state of the queue that was is not the new queue's.
  PrinterInfo2 record = snapshot.record;
  record.serverName.clear();
  record.status = 0;
  record.jobs = 0;
  record.averagePpm = 0;
  PrinterHandle added = Os().spooler->AddPrinterA(record);
  if (!added) {
    error = Os().spooler->GetLastError();
    return false;
  }
  error = 0;
  if (snapshot.wasDefault) DynSetDefaultPrinter(record.printerName);
  return true;
}

}  // namespace pinst
