// A printer's print queue.
#pragma once

#include <string>

namespace pinst {

// The number of jobs in the printer's queue; 0 when the printer cannot be opened
// or its queue cannot be read; at least 1 for a queue that outgrew every read.
int GetPrinterJobCount(const std::string& printerName);

}  // namespace pinst
