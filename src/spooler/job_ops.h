// A printer's print queue.
#pragma once

#include <optional>
#include <string>

namespace pinst {

// The number of jobs in the printer's queue; 0 when the printer cannot be opened
// or its queue cannot be read; at least 1 for a queue that outgrew every read.
int GetPrinterJobCount(const std::string& printerName);

// The jobs queued on the printer: its job list, or where the list cannot be read
// (Wine's EnumJobsA is a stub) the count its level-2 record gives. nullopt when
// neither can be read: whether the queue is empty is not known.
std::optional<int> QueuedJobCount(const std::string& printerName);

}  // namespace pinst
