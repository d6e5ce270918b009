// Removing an installed model for good: its printer, when nothing is queued on
// it, then its driver, when no other printer uses it. Nothing is purged: a job
// still queued keeps the printer.
#pragma once

#include <cstdint>
#include <string>

namespace pinst {

enum class TPrinterRemoval {
  kRemoved,       // deleted; the default printer repaired if needed
  kHasJobs,       // jobs queued: kept as it was
  kQueueUnknown,  // neither the job list nor the printer's record could be read: kept
  kNotOpened,     // no full access: kept
  kRefused,       // the spooler refused the deletion: kept
};

struct TPrinterRemovalResult {
  TPrinterRemoval outcome = TPrinterRemoval::kRefused;
  int jobs = 0;        // for kHasJobs
  uint32_t error = 0;  // the spooler's last error for kNotOpened and kRefused
};

// Deletes the printer when its queue is empty. Unlike DeletePrinterByName it sets
// no status first: an empty queue needs no pending deletion (and Wine's spooler
// has no SetPrinterA level 0).
TPrinterRemovalResult RemoveIdlePrinter(const std::string& printerName);

enum class TDriverRemoval {
  kRemoved,
  kInUse,         // a printer uses it: kept
  kNotInstalled,  // the spooler knows no driver of that name
  kRefused,       // kept; error says why
};

struct TDriverRemovalResult {
  TDriverRemoval outcome = TDriverRemoval::kRefused;
  std::string usedBy;  // for kInUse: a printer that uses it, when known
  uint32_t error = 0;  // for kRefused
};

// Deletes the driver of the machine's own environment (with its unused files
// where the spooler can) unless a printer still uses it.
TDriverRemovalResult RemoveUnusedDriver(const std::string& driverName);

}  // namespace pinst
