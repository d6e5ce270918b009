// What it takes to put a removed printer back as it was: its level-2 record
// (port, driver, print processor, data type, share, comment, location,
// attributes, device mode) and whether it was the default printer.
#pragma once

#include <cstdint>
#include <string>

#include "platform/spooler.h"

namespace pinst {

struct TPrinterSnapshot {
  PrinterInfo2 record;
  bool wasDefault = false;
};

// False when the printer cannot be opened or read.
bool TakePrinterSnapshot(const std::string& printerName, TPrinterSnapshot& snapshot);

// Adds the printer again from its record and makes it the default printer again
// if it was. False, with the spooler's last error, when it could not be added.
bool RestorePrinter(const TPrinterSnapshot& snapshot, uint32_t& error);

}  // namespace pinst
