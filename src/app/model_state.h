// What the spooler holds of a model of install.ini. A model's printer is named
// after the model, and so is its driver.
#pragma once

#include <string>
#include <vector>

#include "platform/spooler.h"

namespace pinst {

// The spooler's local printers and the default printer, read once for a switch run.
struct TSpoolerView {
  std::vector<PrinterInfo2> printers;
  std::string defaultPrinter;  // empty when none is set
};

// False (with the spooler's last error) when the printer list cannot be read.
bool ReadSpoolerView(TSpoolerView& view);

struct TModelState {
  bool printerNamed = false;  // a printer of the model's name exists
  bool installed = false;     // and it uses the model's driver
  std::string printerName;    // as the spooler spells it
  std::string driverName;     // that printer's driver
  std::string portName;
  bool isDefault = false;
};

TModelState StateOf(const TSpoolerView& view, const std::string& modelName);

}  // namespace pinst
