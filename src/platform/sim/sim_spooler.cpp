#include "platform/sim/sim_spooler.h"

#include <algorithm>
#include <cstdio>

#include "base/ansi_text.h"

namespace pinst::sim {

namespace {

constexpr uint32_t kPrinterAttributeNetwork = 0x10;

// The fields of a printer record a scenario test looks at, for the trace.
std::string Describe(const PrinterInfo2& info) {
  char attributes[16];
  std::snprintf(attributes, sizeof attributes, "%X", static_cast<unsigned>(info.attributes));
  return " driver=" + info.driverName + " port=" + info.portName +
         " processor=" + info.printProcessor + " datatype=" + info.datatype +
         " share=" + info.shareName + " attributes=" + attributes;
}

uint32_t TextBytes(const std::string& text) {
  return text.empty() ? 0 : static_cast<uint32_t>(text.size() + 1);
}

std::vector<std::string> SplitPorts(const std::string& list) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= list.size()) {
    const size_t comma = std::min(list.find(',', start), list.size());
    out.push_back(list.substr(start, comma - start));
    start = comma + 1;
  }
  return out;
}

}  // namespace

// An open printer handle; it refers to the printer by id, so a printer deleted
// under it makes its calls fail with ERROR_INVALID_HANDLE.
class SimSpooler::Handle : public IPrinter {
 public:
  Handle(SimSpooler& spooler, uint32_t id, uint32_t access)
      : spooler_(spooler), id_(id), access_(access) {
    ++spooler_.openHandles;
  }
  ~Handle() override { --spooler_.openHandles; }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  bool GetPrinterA(uint32_t bufferSize, PrinterInfo2& info, uint32_t& needed) override {
    needed = 0;
    if (spooler_.Injected("printer.GetPrinterA")) return false;
    SimPrinter* p = spooler_.FindById(id_);
    if (!p) return spooler_.Fail(kErrorInvalidHandle);
    PrinterInfo2 copy = p->info;
    copy.jobs = static_cast<uint32_t>(p->jobs.size());
    needed = Needed(copy);
    if (bufferSize < needed) return spooler_.Fail(kErrorInsufficientBuffer);
    info = std::move(copy);
    return true;
  }

  bool SetPrinterA(const PrinterInfo2& info) override {
    if (spooler_.Injected("printer.SetPrinterA")) return false;
    SimPrinter* p = Administered();
    if (!p) return false;
    if (spooler_.failSetPrinter) return spooler_.Fail(*spooler_.failSetPrinter);
    if (!info.devMode.empty() && !DevModeIsWhole(info.devMode)) {
      return spooler_.Fail(kErrorInvalidParameter);
    }
    if (!spooler_.PortKnown(info.portName)) return spooler_.Fail(kErrorUnknownPort);
    const auto& drivers = spooler_.drivers;
    if (std::none_of(drivers.begin(), drivers.end(),
                     [&](const std::string& d) { return spooler_.SameName(d, info.driverName); })) {
      return spooler_.Fail(kErrorUnknownPrinterDriver);
    }
    SimPrinter* other = spooler_.Find(info.printerName);
    if (info.printerName.empty()) return spooler_.Fail(kErrorInvalidPrinterName);
    if (other && other != p) return spooler_.Fail(kErrorPrinterAlreadyExists);
    const PrinterInfo2 old = p->info;
    p->info = info;
    // Read-only and "leave unchanged" fields keep their values.
    p->info.serverName = old.serverName;
    p->info.status = old.status;
    p->info.jobs = 0;
    if (info.devMode.empty()) p->info.devMode = old.devMode;
    if (info.securityDescriptor.empty()) p->info.securityDescriptor = old.securityDescriptor;
    Note(spooler_.trace, "SetPrinter " + old.printerName + Describe(p->info));
    return true;
  }

  bool SetPrinterCommand(uint32_t command, uint32_t status) override {
    if (spooler_.Injected("printer.SetPrinterCommand")) return false;
    SimPrinter* p = Administered();
    if (!p) return false;
    if (spooler_.failSetStatus) return spooler_.Fail(*spooler_.failSetStatus);
    switch (command) {
      case 1:  // PRINTER_CONTROL_PAUSE
        p->info.status |= 0x1;
        return true;
      case 2:  // PRINTER_CONTROL_RESUME
        p->info.status &= ~uint32_t{0x1};
        return true;
      case 3:  // PRINTER_CONTROL_PURGE
        p->jobs.clear();
        return true;
      case kPrinterControlSetStatus:
        p->info.status = status;
        return true;
      default:
        return spooler_.Fail(kErrorInvalidParameter);
    }
  }

  bool DeletePrinter() override {
    if (spooler_.Injected("printer.DeletePrinter")) return false;
    SimPrinter* p = Administered();
    if (!p) return false;
    if (spooler_.failDelete) return spooler_.Fail(*spooler_.failDelete);
    if (!p->jobs.empty()) {
      // The spooler removes it once the queue has drained.
      p->info.status |= kPrinterStatusPendingDeletion;
      Note(spooler_.trace, "DeletePrinter " + p->info.printerName + " (pending)");
      return true;
    }
    Note(spooler_.trace, "DeletePrinter " + p->info.printerName);
    spooler_.Remove(id_);
    return true;
  }

  bool EnumJobsA(uint32_t firstJob, uint32_t noJobs, uint32_t bufferSize,
                 std::vector<JobInfo1>& jobs, uint32_t& needed) override {
    needed = 0;
    jobs.clear();
    if (spooler_.Injected("printer.EnumJobsA")) return false;
    SimPrinter* p = spooler_.FindById(id_);
    if (!p) return spooler_.Fail(kErrorInvalidHandle);
    if (spooler_.failEnumJobs) return spooler_.Fail(*spooler_.failEnumJobs);
    std::vector<JobInfo1> answer;
    for (size_t i = firstJob; i < p->jobs.size() && answer.size() < noJobs; ++i) {
      answer.push_back(p->jobs[i]);
      needed += Needed(p->jobs[i]);
    }
    if (bufferSize < needed) {
      return spooler_.TooSmall([&] { spooler_.AddJobs(p->info.printerName, 1, "Arrived"); });
    }
    jobs = std::move(answer);
    return true;
  }

 private:
  // The printer, when this handle may change it; otherwise the last error is set.
  SimPrinter* Administered() {
    SimPrinter* p = spooler_.FindById(id_);
    if (!p) {
      spooler_.Fail(kErrorInvalidHandle);
      return nullptr;
    }
    if ((access_ & kPrinterAccessAdminister) == 0) {
      spooler_.Fail(kErrorAccessDenied);
      return nullptr;
    }
    return p;
  }

  SimSpooler& spooler_;
  uint32_t id_;
  uint32_t access_;
};

SimSpooler::SimSpooler(SimClock& clock, SimSystem& system) : clock_(clock), system_(system) {
  for (const char* name : {"COM1:", "COM2:", "COM3:", "COM4:"}) {
    ports.push_back({name, "Local Port", "Local Port", 0x7});
  }
  ports.push_back({"FILE:", "Local Port", "Local Port", 0x1});
  for (const char* name : {"LPT1:", "LPT2:", "LPT3:"}) {
    ports.push_back({name, "Local Port", "Local Port", 0x7});
  }
}

SimPrinter& SimSpooler::AddLocalPrinter(const std::string& name, const std::string& driver,
                                        const std::string& port) {
  if (std::none_of(drivers.begin(), drivers.end(),
                   [&](const std::string& d) { return SameName(d, driver); })) {
    drivers.push_back(driver);
  }
  SimPrinter p;
  p.id = nextId_++;
  p.info.printerName = name;
  p.info.portName = port;
  p.info.driverName = driver;
  p.info.printProcessor = "WinPrint";
  p.info.datatype = "RAW";
  p.info.attributes = kPrinterAttributeLocal;
  p.info.priority = 1;
  DevModeA dm;
  const size_t n = std::min(name.size(), dm.dmDeviceName.size() - 1);
  std::copy_n(name.begin(), n, dm.dmDeviceName.begin());
  dm.dmSpecVersion = 0x0401;
  dm.dmSize = kDevModeSize;
  p.info.devMode = ToDevModeBytes(dm);
  printers.push_back(std::move(p));
  return printers.back();
}

void SimSpooler::AddJobs(const std::string& printerName, size_t count,
                         const std::string& document) {
  SimPrinter* p = Find(printerName);
  if (!p) return;
  for (size_t i = 0; i < count; ++i) {
    JobInfo1 job;
    job.jobId = nextJobId_++;
    job.printerName = p->info.printerName;
    job.machineName = "\\\\SIMPC";
    job.userName = "user";
    job.document = document + " " + std::to_string(job.jobId);
    job.datatype = "RAW";
    job.priority = 1;
    job.position = static_cast<uint32_t>(p->jobs.size() + 1);
    job.totalPages = 1;
    p->jobs.push_back(std::move(job));
  }
}

void SimSpooler::AddPorts(const std::string& prefix, size_t count, const std::string& monitor,
                          const std::string& description) {
  for (size_t i = 1; i <= count; ++i) {
    std::string number = std::to_string(i);
    if (number.size() < 3) number.insert(0, 3 - number.size(), '0');
    ports.push_back({prefix + number, monitor, description, 0x3});
  }
}

SimPrinter* SimSpooler::Find(const std::string& name) {
  for (auto& p : printers) {
    if (SameName(p.info.printerName, name)) return &p;
  }
  return nullptr;
}

SimPrinter* SimSpooler::FindById(uint32_t id) {
  for (auto& p : printers) {
    if (p.id == id) return &p;
  }
  return nullptr;
}

bool SimSpooler::SameName(const std::string& a, const std::string& b) const {
  return EqualsNoCase(a, b, system_.codePage);
}

bool SimSpooler::PortKnown(const std::string& portList) const {
  for (const std::string& port : SplitPorts(portList)) {
    if (std::none_of(ports.begin(), ports.end(),
                     [&](const PortInfo2& p) { return SameName(p.portName, port); })) {
      return false;
    }
  }
  return true;
}

bool SimSpooler::Fail(uint32_t error) {
  lastError = error;
  return false;
}

bool SimSpooler::Injected(const char* call) {
  if (!sim::Injected(faults, call)) return false;
  lastError = faultError;
  return true;
}

void SimSpooler::PrinterArrives() { AddLocalPrinter("Arrived " + std::to_string(nextId_)); }

void SimSpooler::Remove(uint32_t id) {
  auto it = std::find_if(printers.begin(), printers.end(),
                         [&](const SimPrinter& p) { return p.id == id; });
  if (it == printers.end()) return;
  if (clearDefaultOnDelete && defaultPrinter && SameName(*defaultPrinter, it->info.printerName)) {
    defaultPrinter.reset();
  }
  printers.erase(it);
}

uint32_t SimSpooler::Needed(const PrinterInfo2& info) {
  uint32_t n = kPrinterInfo2Size;
  for (const std::string* text :
       {&info.serverName, &info.printerName, &info.shareName, &info.portName, &info.driverName,
        &info.comment, &info.location, &info.sepFile, &info.printProcessor, &info.datatype,
        &info.parameters}) {
    n += TextBytes(*text);
  }
  return n + static_cast<uint32_t>(info.devMode.size() + info.securityDescriptor.size());
}

uint32_t SimSpooler::Needed(const PrinterInfo4& info) {
  return kPrinterInfo4Size + TextBytes(info.printerName) + TextBytes(info.serverName);
}

uint32_t SimSpooler::Needed(const PortInfo2& port) {
  return kPortInfo2Size + TextBytes(port.portName) + TextBytes(port.monitorName) +
         TextBytes(port.description);
}

uint32_t SimSpooler::Needed(const JobInfo1& job) {
  uint32_t n = kJobInfo1Size;
  for (const std::string* text : {&job.printerName, &job.machineName, &job.userName, &job.document,
                                  &job.datatype, &job.statusText}) {
    n += TextBytes(*text);
  }
  return n;
}

bool SimSpooler::EnumPrintersA(uint32_t flags, uint32_t bufferSize, std::vector<PrinterInfo2>& out,
                               uint32_t& needed) {
  out.clear();
  needed = 0;
  if (Injected("spooler.EnumPrintersA")) return false;
  std::vector<PrinterInfo2> answer;
  // Level 2 of a connection asks its server; the sim has none, so only local printers.
  if (flags & kPrinterEnumLocal) {
    for (const auto& p : printers) {
      answer.push_back(p.info);
      answer.back().jobs = static_cast<uint32_t>(p.jobs.size());
      needed += Needed(answer.back());
    }
  }
  if (bufferSize < needed) return TooSmall([this] { PrinterArrives(); });
  out = std::move(answer);
  return true;
}

bool SimSpooler::EnumPrintersA(uint32_t flags, uint32_t bufferSize, std::vector<PrinterInfo4>& out,
                               uint32_t& needed) {
  out.clear();
  needed = 0;
  if (Injected("spooler.EnumPrintersA")) return false;
  std::vector<PrinterInfo4> answer;
  if (flags & kPrinterEnumLocal) {
    for (const auto& p : printers) answer.push_back({p.info.printerName, "", p.info.attributes});
  }
  if (flags & kPrinterEnumConnections) {
    for (const auto& c : connections) {
      const size_t slash = c.rfind('\\');
      const std::string server = slash == std::string::npos ? "" : c.substr(0, slash);
      answer.push_back({c, server, kPrinterAttributeNetwork});
    }
  }
  for (const auto& info : answer) needed += Needed(info);
  if (bufferSize < needed) return TooSmall([this] { PrinterArrives(); });
  out = std::move(answer);
  return true;
}

bool SimSpooler::EnumPortsA(uint32_t bufferSize, std::vector<PortInfo2>& out, uint32_t& needed) {
  out.clear();
  needed = 0;
  if (Injected("spooler.EnumPortsA")) return false;
  for (const auto& port : ports) needed += Needed(port);
  if (bufferSize < needed) return TooSmall([this] { AddPorts("ARRIVED", 1, "Local Port", ""); });
  out = ports;
  return true;
}

bool SimSpooler::EnumPrinterDriversA(const std::optional<std::string>& environment,
                                     uint32_t bufferSize, std::vector<std::string>& names,
                                     uint32_t& needed) {
  names.clear();
  driverListEnvironments.push_back(environment);
  needed = 0;
  if (Injected("spooler.EnumPrinterDriversA")) return false;
  for (const std::string& d : drivers) needed += 4 + static_cast<uint32_t>(d.size()) + 1;
  if (bufferSize < needed) return Fail(kErrorInsufficientBuffer);
  names = drivers;
  return true;
}

PrinterHandle SimSpooler::OpenById(uint32_t id, uint32_t access) {
  return std::make_unique<Handle>(*this, id, access);
}

PrinterHandle SimSpooler::OpenPrinterA(const std::string& name,
                                       const std::optional<PrinterDefaults>& defaults) {
  opens.push_back({name, defaults, false});
  if (Injected("spooler.OpenPrinterA")) return nullptr;
  if (failOpen) {
    Fail(*failOpen);
    return nullptr;
  }
  SimPrinter* p = name.empty() ? nullptr : Find(name);
  if (!p) {
    Fail(kErrorInvalidPrinterName);
    return nullptr;
  }
  if (defaults && !defaults->devMode.empty() && !DevModeIsWhole(defaults->devMode)) {
    Fail(kErrorInvalidParameter);
    return nullptr;
  }
  uint32_t access = kPrinterAccessUse;
  if (defaults && defaults->desiredAccess != 0) access = defaults->desiredAccess;
  opens.back().succeeded = true;
  return OpenById(p->id, access);
}

PrinterHandle SimSpooler::AddPrinterA(const PrinterInfo2& info) {
  if (Injected("spooler.AddPrinterA")) return nullptr;
  if (failAddPrinter) {
    Fail(*failAddPrinter);
    return nullptr;
  }
  if (info.printerName.empty()) {
    Fail(kErrorInvalidPrinterName);
    return nullptr;
  }
  if (Find(info.printerName)) {
    Fail(kErrorPrinterAlreadyExists);
    return nullptr;
  }
  if (std::none_of(drivers.begin(), drivers.end(),
                   [&](const std::string& d) { return SameName(d, info.driverName); })) {
    Fail(kErrorUnknownPrinterDriver);
    return nullptr;
  }
  if (!PortKnown(info.portName)) {
    Fail(kErrorUnknownPort);
    return nullptr;
  }
  if (!info.devMode.empty() && !DevModeIsWhole(info.devMode)) {
    Fail(kErrorInvalidParameter);
    return nullptr;
  }
  SimPrinter p;
  p.id = nextId_++;
  p.info = info;
  p.info.status = 0;
  p.info.jobs = 0;
  Note(trace, "AddPrinter " + info.printerName + Describe(info));
  printers.push_back(std::move(p));
  return OpenById(printers.back().id, kPrinterAllAccess);
}

std::optional<bool> SimSpooler::DeletePrinterDriverExA(
    const std::optional<std::string>& serverName, const std::optional<std::string>& environment,
    const std::string& driverName, uint32_t deleteFlag, uint32_t versionFlag) {
  if (missingDeletePrinterDriverEx) {
    lastError = kErrorProcNotFound;
    return std::nullopt;
  }
  driverDeletions.push_back(
      {serverName, environment, driverName, deleteFlag, versionFlag, clock_.NowMs(), false});
  if (Injected("spooler.DeletePrinterDriverExA")) return false;
  if (failDriverDeletions > 0) {
    --failDriverDeletions;
    return Fail(driverDeletionError);
  }
  auto it = std::find_if(drivers.begin(), drivers.end(),
                         [&](const std::string& d) { return SameName(d, driverName); });
  if (it == drivers.end()) return Fail(kErrorUnknownPrinterDriver);
  if (std::any_of(printers.begin(), printers.end(),
                  [&](const SimPrinter& p) { return SameName(p.info.driverName, driverName); })) {
    return Fail(kErrorPrinterDriverInUse);
  }
  drivers.erase(it);
  driverDeletions.back().succeeded = true;
  Note(trace, "DeletePrinterDriver " + driverName);
  return true;
}

std::optional<bool> SimSpooler::GetDefaultPrinterA(uint32_t bufferChars, std::string& name,
                                                   uint32_t& neededChars) {
  name.clear();
  if (missingGetDefaultPrinter) {
    lastError = kErrorProcNotFound;
    return std::nullopt;
  }
  ++getDefaultPrinterCalls;
  if (Injected("spooler.GetDefaultPrinterA")) return false;
  if (!defaultPrinter) {
    neededChars = 0;
    return Fail(kErrorFileNotFound);
  }
  neededChars = static_cast<uint32_t>(defaultPrinter->size() + 1);
  if (bufferChars < neededChars) return Fail(kErrorInsufficientBuffer);
  name = *defaultPrinter;
  return true;
}

std::optional<bool> SimSpooler::SetDefaultPrinterA(const std::string& name) {
  if (missingSetDefaultPrinter) {
    lastError = kErrorProcNotFound;
    return std::nullopt;
  }
  defaultPrinterSets.push_back(name);
  if (Injected("spooler.SetDefaultPrinterA")) return false;
  Note(trace, "SetDefaultPrinter " + name);
  if (name.empty()) {
    // Keeps a default that is set; otherwise takes the first printer.
    if (defaultPrinter) return true;
    if (printers.empty()) return Fail(kErrorInvalidPrinterName);
    defaultPrinter = printers.front().info.printerName;
    return true;
  }
  if (SimPrinter* p = Find(name)) {
    defaultPrinter = p->info.printerName;
    return true;
  }
  for (const auto& c : connections) {
    if (SameName(c, name)) {
      defaultPrinter = c;
      return true;
    }
  }
  return Fail(kErrorInvalidPrinterName);
}

}  // namespace pinst::sim
