// Reading one printer's PRINTER_INFO_2, sized by the spooler's own answer.
#pragma once

#include "platform/spooler.h"

namespace pinst {

bool ReadPrinterInfo(IPrinter& printer, PrinterInfo2& info);

}  // namespace pinst
