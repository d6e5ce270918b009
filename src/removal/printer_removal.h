// Deleting an installed printer before a model of the same name is installed.
#pragma once

#include <cstdint>
#include <string>

namespace pinst {

// Results of DeletePrinterByName.
enum : uint32_t {
  kPrinterDeleted = 0,     // deleted; the default printer repaired if needed
  kPrinterHasJobs = 1,     // jobs still queued; nothing changed
  kPrinterNotOpened = 2,   // no full access, or its status could not be set; kept
  kPrinterNotDeleted = 3,  // the spooler refused; kept, marked pending deletion
};

uint32_t DeletePrinterByName(const std::string& printerName);

}  // namespace pinst
