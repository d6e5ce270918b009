// Stateless questions and changes on one printer. Every call opens and closes its
// own printer handle; names are byte strings in the ANSI code page.
#pragma once

#include <string>
#include <vector>

#include "platform/spooler.h"

namespace pinst {

// A local printer has this name, compared without regard to (ASCII) case.
// listRead (when given) says whether the spooler's list could be read at all.
bool PrinterExists(const std::string& printerName, bool* listRead = nullptr);

// Every local printer's level-2 record, in the spooler's order; false (with the
// spooler's last error) when the list cannot be read.
bool ReadLocalPrinters(std::vector<PrinterInfo2>& printers);

// The printer's port (a comma-separated list for a printer on several ports);
// empty when the printer cannot be opened or read.
void GetPrinterPort(const std::string& printerName, std::string& portName);

// The printer's driver; empty when the printer cannot be opened or read.
void GetPrinterDriver(const std::string& printerName, std::string& driverName);

// Points the printer at another port; the port is not checked against the existing
// ones. True when the spooler accepted the change.
bool SetPrinterPort(const std::string& printerName, const std::string& portName);

}  // namespace pinst
