#include "spooler/job_ops.h"

#include <vector>

#include "platform/platform.h"
#include "platform/spooler.h"
#include "spooler/printer_info.h"
#include "spooler/sized_call.h"

namespace pinst {

namespace {

constexpr uint32_t kAllJobs = 0xFFFFFFFF;

struct TJobRead {
  bool read = false;
  size_t count = 0;
  uint32_t lastNeeded = 0;  // what the spooler last said the queue takes
};

// Every job, in a buffer sized from the spooler's answer: a long queue read into a
// fixed buffer fails and would count as empty, and its printer could be deleted.
TJobRead ReadJobs(IPrinter& printer) {
  std::vector<JobInfo1> jobs;
  TJobRead result;
  result.read = CallWithNeededSize([&](uint32_t size, uint32_t& needed) {
    const bool answered = printer.EnumJobsA(0, kAllJobs, size, jobs, needed);
    result.lastNeeded = needed;
    return answered;
  });
  result.count = jobs.size();
  return result;
}

}  // namespace

int GetPrinterJobCount(const std::string& printerName) {
  PrinterHandle printer = Os().spooler->OpenPrinterA(printerName, std::nullopt);
  if (!printer) return 0;
  const TJobRead jobs = ReadJobs(*printer);
  if (jobs.read) return static_cast<int>(jobs.count);
  // Jobs kept arriving faster than the queue could be read: how many is not
  // known, but the spooler said the queue takes bytes, so it is not empty.
  return jobs.lastNeeded > 0 ? 1 : 0;
}

std::optional<int> QueuedJobCount(const std::string& printerName) {
  PrinterHandle printer = Os().spooler->OpenPrinterA(printerName, std::nullopt);
  if (!printer) return std::nullopt;
  const TJobRead jobs = ReadJobs(*printer);
  if (jobs.read) return static_cast<int>(jobs.count);
  PrinterInfo2 info;
  if (!ReadPrinterInfo(*printer, info)) return std::nullopt;
  const int recorded = static_cast<int>(info.jobs);
  // A list that outgrew every read is not empty, whatever the record says.
  return jobs.lastNeeded > 0 && recorded == 0 ? 1 : recorded;
}

}  // namespace pinst
