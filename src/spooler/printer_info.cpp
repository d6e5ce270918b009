#include "spooler/printer_info.h"

#include "spooler/sized_call.h"

namespace pinst {

bool ReadPrinterInfo(IPrinter& printer, PrinterInfo2& info) {
  return CallWithNeededSize(
      [&](uint32_t size, uint32_t& needed) { return printer.GetPrinterA(size, info, needed); });
}

}  // namespace pinst
