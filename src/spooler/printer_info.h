// Reading one printer's PRINTER_INFO_2, sized by the spooler's own answer.
#pragma once

#include <string>

#include "platform/spooler.h"

namespace pinst {

bool ReadPrinterInfo(IPrinter& printer, PrinterInfo2& info);

// Opens a printer to change it: the public part of its current device mode is
// read with a first, plain open, then the printer is opened again with data type
// "RAW", that device mode and full access, and its record read into info. Null
// when either open or the second read fails.
PrinterHandle OpenPrinterForChange(const std::string& printerName, PrinterInfo2& info);

}  // namespace pinst
