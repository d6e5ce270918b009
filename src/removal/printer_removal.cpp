#include "removal/printer_removal.h"

#include "platform/platform.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "removal/default_printer.h"
#include "removal/hex_code.h"
#include "spooler/job_ops.h"
#include "sys/run_log.h"

namespace pinst {

uint32_t DeletePrinterByName(const std::string& printerName) {
  if (GetPrinterJobCount(printerName) > 0) return kPrinterHasJobs;

  PrinterHandle printer = Os().spooler->OpenPrinterA(
      printerName, PrinterDefaults{std::string(), DevModeBytes(), kPrinterAllAccess});
  if (!printer) {
    if (Os().spooler->GetLastError() == kErrorInvalidPrinterName) return kPrinterNotOpened;
    DebugLine("OpenPrinter Fail :" + printerName + ", Error Code :0x" +
              HexCode8(Os().spooler->GetLastError()));
    return kPrinterNotOpened;
  }
  if (!printer->SetPrinterCommand(kPrinterControlSetStatus, kPrinterStatusPendingDeletion)) {
    DebugLine("SetPrinter Failt!");
    return kPrinterNotOpened;
  }
  if (!printer->DeletePrinter()) {
    DebugLine("Delete Special Printer Faile :" + printerName);
    return kPrinterNotDeleted;
  }
  printer.reset();

  std::string newDefault;
  RepairDefaultPrinter(true, newDefault);
  return kPrinterDeleted;
}

}  // namespace pinst
