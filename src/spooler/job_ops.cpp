#include "spooler/job_ops.h"

#include <vector>

#include "platform/platform.h"
#include "platform/spooler.h"
#include "spooler/printer_info.h"
#include "spooler/sized_call.h"

namespace pinst {

namespace {
constexpr uint32_t kAllJobs = 0xFFFFFFFF;
}  // namespace

int GetPrinterJobCount(const std::string& printerName) {
  PrinterHandle printer = Os().spooler->OpenPrinterA(printerName, std::nullopt);
  if (!printer) return 0;
  // Every job, in a buffer sized from the spooler's answer: a long queue read into a
  // fixed buffer fails and would count as empty, and its printer could be deleted.
  std::vector<JobInfo1> jobs;
  uint32_t lastNeeded = 0;
  const bool read = CallWithNeededSize([&](uint32_t size, uint32_t& needed) {
    const bool answered = printer->EnumJobsA(0, kAllJobs, size, jobs, needed);
    lastNeeded = needed;
    return answered;
  });
  if (read) return static_cast<int>(jobs.size());
  // Jobs kept arriving faster than the queue could be read: how many is not
  // known, but the spooler said the queue takes bytes, so it is not empty.
  return lastNeeded > 0 ? 1 : 0;
}

std::optional<int> QueuedJobCount(const std::string& printerName) {
  PrinterHandle printer = Os().spooler->OpenPrinterA(printerName, std::nullopt);
  if (!printer) return std::nullopt;
  std::vector<JobInfo1> jobs;
  uint32_t lastNeeded = 0;
  const bool read = CallWithNeededSize([&](uint32_t size, uint32_t& needed) {
    const bool answered = printer->EnumJobsA(0, kAllJobs, size, jobs, needed);
    lastNeeded = needed;
    return answered;
  });
  if (read) return static_cast<int>(jobs.size());
  PrinterInfo2 info;
  if (!ReadPrinterInfo(*printer, info)) return std::nullopt;
  const int recorded = static_cast<int>(info.jobs);
  // A list that outgrew every read is not empty, whatever the record says.
  return lastNeeded > 0 && recorded == 0 ? 1 : recorded;
}

}  // namespace pinst
