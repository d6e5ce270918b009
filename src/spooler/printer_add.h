// Adding a local printer.
#pragma once

#include <string>

#include "platform/spooler.h"

namespace pinst {

// The device mode a new printer starts with: A4, portrait, 180 dpi, monochrome.
DevModeA DefaultDevMode(const std::string& printerName);

// Adds a local printer on "LPT1:" (the install moves it to its real port later).
// True when the spooler added it.
bool AddLocalPrinter(const std::string& driverName, const std::string& printerName);

}  // namespace pinst
