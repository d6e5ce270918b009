// A simulated print spooler: local printers with their PRINTER_INFO_2 fields and
// job queues, printer connections, ports, drivers, the default printer and the
// thread's last error, set as Windows sets them. Buffer sizes are counted with the
// 32-bit record sizes plus each non-empty text and its terminator.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_faults.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_trace.h"
#include "platform/spooler.h"

namespace pinst::sim {

struct SimPrinter {
  uint32_t id = 0;  // the spooler's own key; handles refer to it
  PrinterInfo2 info;
  std::vector<JobInfo1> jobs;
};

// One OpenPrinterA call as the spooler saw it.
struct SimOpen {
  std::string name;
  std::optional<PrinterDefaults> defaults;
  bool succeeded = false;
};

// One DeletePrinterDriverExA call.
struct SimDriverDeletion {
  std::optional<std::string> serverName;
  std::optional<std::string> environment;
  std::string driverName;
  uint32_t deleteFlag = 0;
  uint32_t versionFlag = 0;
  uint64_t atMs = 0;  // sim clock at the call
  bool succeeded = false;
};

class SimSpooler : public ISpooler {
 public:
  SimSpooler(SimClock& clock, SimSystem& system);

  // What a test sets up. Printers are kept in the spooler's order.
  std::vector<SimPrinter> printers;
  std::vector<std::string> connections;  // names of printer connections ("\\server\name")
  std::vector<PortInfo2> ports;          // COM1:-COM4:, FILE:, LPT1:-LPT3: at first
  std::vector<std::string> drivers;      // installed driver names
  std::optional<std::string> defaultPrinter;
  // Deleting the default printer clears the default (false: the stale name stays).
  bool clearDefaultOnDelete = true;

  // A local printer with the usual settings; its driver is installed when missing.
  SimPrinter& AddLocalPrinter(const std::string& name, const std::string& driver = "Sim Driver",
                              const std::string& port = "LPT1:");
  // Appends count jobs to a printer's queue, each document named after its number.
  void AddJobs(const std::string& printerName, size_t count,
               const std::string& document = "Document");
  // Appends count ports "<prefix>NNN" with the given monitor and description.
  void AddPorts(const std::string& prefix, size_t count, const std::string& monitor,
                const std::string& description);
  SimPrinter* Find(const std::string& name);

  // Switches that make a call fail with the given last error.
  std::optional<uint32_t> failOpen;
  std::optional<uint32_t> failSetStatus;   // SetPrinterA level 0 (Wine: 124)
  std::optional<uint32_t> failSetPrinter;  // SetPrinterA level 2
  std::optional<uint32_t> failDelete;
  std::optional<uint32_t> failEnumJobs;  // Wine's stub: FALSE with last error 0
  std::optional<uint32_t> failAddPrinter;
  // The next this many driver deletions fail with driverDeletionError.
  int failDriverDeletions = 0;
  uint32_t driverDeletionError = kErrorPrinterDriverInUse;
  // Run-time lookups that find no export (GetProcAddress fails with 127).
  bool missingDeletePrinterDriverEx = false;
  bool missingGetDefaultPrinter = false;
  bool missingSetDefaultPrinter = false;
  // Lists that grow while they are read: after each of the next this many answers
  // "buffer too small" (printers, ports, or a printer's jobs), one entry arrives,
  // so the size just reported is already too small.
  int growAfterSizeQueries = 0;
  // The last error of a call failed by the fault list: the spooler went away.
  uint32_t faultError = 1722;  // RPC_S_SERVER_UNAVAILABLE

  // What a test inspects.
  uint32_t lastError = 0;
  int openHandles = 0;  // printer handles not yet closed
  std::vector<SimOpen> opens;
  std::vector<SimDriverDeletion> driverDeletions;
  std::vector<std::optional<std::string>> driverListEnvironments;  // of every driver listing
  std::vector<std::string> defaultPrinterSets;  // every SetDefaultPrinterA argument
  int getDefaultPrinterCalls = 0;
  SimTrace* trace = nullptr;
  SimFaults* faults = nullptr;

  // Bytes the spooler needs for one record with its texts.
  static uint32_t Needed(const PrinterInfo2& info);
  static uint32_t Needed(const PrinterInfo4& info);
  static uint32_t Needed(const PortInfo2& port);
  static uint32_t Needed(const JobInfo1& job);

  bool EnumPrintersA(uint32_t flags, uint32_t bufferSize, std::vector<PrinterInfo2>& printers,
                     uint32_t& needed) override;
  bool EnumPrintersA(uint32_t flags, uint32_t bufferSize, std::vector<PrinterInfo4>& printers,
                     uint32_t& needed) override;
  bool EnumPortsA(uint32_t bufferSize, std::vector<PortInfo2>& ports, uint32_t& needed) override;
  bool EnumPrinterDriversA(const std::optional<std::string>& environment, uint32_t bufferSize,
                           std::vector<std::string>& names, uint32_t& needed) override;
  PrinterHandle OpenPrinterA(const std::string& name,
                             const std::optional<PrinterDefaults>& defaults) override;
  PrinterHandle AddPrinterA(const PrinterInfo2& info) override;
  uint32_t GetLastError() override { return lastError; }
  void SetLastError(uint32_t error) override { lastError = error; }
  std::optional<bool> DeletePrinterDriverExA(const std::optional<std::string>& serverName,
                                             const std::optional<std::string>& environment,
                                             const std::string& driverName, uint32_t deleteFlag,
                                             uint32_t versionFlag) override;
  std::optional<bool> GetDefaultPrinterA(uint32_t bufferChars, std::string& name,
                                         uint32_t& neededChars) override;
  std::optional<bool> SetDefaultPrinterA(const std::string& name) override;

 private:
  class Handle;

  SimPrinter* FindById(uint32_t id);
  bool SameName(const std::string& a, const std::string& b) const;
  bool PortKnown(const std::string& portList) const;
  bool Fail(uint32_t error);
  // Counts the call; true (with the last error set) when the fault list fails it.
  bool Injected(const char* call);
  void PrinterArrives();
  // Answers "buffer too small"; arrive() adds an entry when the list is to grow.
  template <typename Arrive>
  bool TooSmall(Arrive arrive) {
    if (growAfterSizeQueries > 0) {
      --growAfterSizeQueries;
      arrive();
    }
    return Fail(kErrorInsufficientBuffer);
  }
  PrinterHandle OpenById(uint32_t id, uint32_t access);
  void Remove(uint32_t id);

  SimClock& clock_;
  SimSystem& system_;
  uint32_t nextId_ = 1;
  uint32_t nextJobId_ = 1;
};

}  // namespace pinst::sim
