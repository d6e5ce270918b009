#include "platform/win32/win32_spooler.h"

#include <windows.h>
#include <winspool.h>

#include <algorithm>

#include "platform/win32/handles.h"

namespace pinst::win32 {

namespace {

static_assert(sizeof(DEVMODEA) == kDevModeSize);
static_assert(offsetof(DEVMODEA, dmFields) == offsetof(DevModeA, dmFields));
static_assert(offsetof(DEVMODEA, dmFormName) == offsetof(DevModeA, dmFormName));
static_assert(offsetof(DEVMODEA, dmNup) == offsetof(DevModeA, dmNup));
static_assert(offsetof(DEVMODEA, dmPanningHeight) == offsetof(DevModeA, dmPanningHeight));

struct PrinterHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::ClosePrinter(h); }
};
using ScopedPrinter = Scoped<PrinterHandleTraits>;

// Decoding the answer must not disturb the last error the call left behind.
class KeepLastError {
 public:
  KeepLastError() : error_(::GetLastError()) {}
  ~KeepLastError() { ::SetLastError(error_); }
  KeepLastError(const KeepLastError&) = delete;
  KeepLastError& operator=(const KeepLastError&) = delete;

 private:
  DWORD error_;
};

std::string Text(const char* text) { return text ? std::string(text) : std::string(); }

BYTE* BufferOrNull(std::vector<BYTE>& buffer) { return buffer.empty() ? nullptr : buffer.data(); }

// The records an answer claims, bounded by what the buffer can hold.
template <typename Record>
DWORD Fitting(DWORD returned, const std::vector<BYTE>& buffer) {
  return std::min<DWORD>(returned, static_cast<DWORD>(buffer.size() / sizeof(Record)));
}

DevModeBytes CopyDevMode(const DEVMODEA* dm) {
  if (!dm) return {};
  const auto* bytes = reinterpret_cast<const uint8_t*>(dm);
  return DevModeBytes(bytes, bytes + dm->dmSize + dm->dmDriverExtra);
}

std::vector<uint8_t> CopySecurityDescriptor(PSECURITY_DESCRIPTOR sd) {
  if (!sd || !::IsValidSecurityDescriptor(sd)) return {};
  const auto* bytes = static_cast<const uint8_t*>(sd);
  return std::vector<uint8_t>(bytes, bytes + ::GetSecurityDescriptorLength(sd));
}

PrinterInfo2 FromRecord(const PRINTER_INFO_2A& r) {
  PrinterInfo2 info;
  info.serverName = Text(r.pServerName);
  info.printerName = Text(r.pPrinterName);
  info.shareName = Text(r.pShareName);
  info.portName = Text(r.pPortName);
  info.driverName = Text(r.pDriverName);
  info.comment = Text(r.pComment);
  info.location = Text(r.pLocation);
  info.devMode = CopyDevMode(r.pDevMode);
  info.sepFile = Text(r.pSepFile);
  info.printProcessor = Text(r.pPrintProcessor);
  info.datatype = Text(r.pDatatype);
  info.parameters = Text(r.pParameters);
  info.securityDescriptor = CopySecurityDescriptor(r.pSecurityDescriptor);
  info.attributes = r.Attributes;
  info.priority = r.Priority;
  info.defaultPriority = r.DefaultPriority;
  info.startTime = r.StartTime;
  info.untilTime = r.UntilTime;
  info.status = r.Status;
  info.jobs = r.cJobs;
  info.averagePpm = r.AveragePPM;
  return info;
}

// A PRINTER_INFO_2A pointing into its own copy of the texts and blobs.
class OwnedRecord {
 public:
  explicit OwnedRecord(const PrinterInfo2& info) : info_(info) {
    auto text = [](std::string& s) { return s.data(); };
    record_.pServerName = info_.serverName.empty() ? nullptr : text(info_.serverName);
    record_.pPrinterName = text(info_.printerName);
    record_.pShareName = text(info_.shareName);
    record_.pPortName = text(info_.portName);
    record_.pDriverName = text(info_.driverName);
    record_.pComment = text(info_.comment);
    record_.pLocation = text(info_.location);
    record_.pDevMode =
        info_.devMode.empty() ? nullptr : reinterpret_cast<DEVMODEA*>(info_.devMode.data());
    record_.pSepFile = text(info_.sepFile);
    record_.pPrintProcessor = text(info_.printProcessor);
    record_.pDatatype = text(info_.datatype);
    record_.pParameters = text(info_.parameters);
    record_.pSecurityDescriptor =
        info_.securityDescriptor.empty() ? nullptr : info_.securityDescriptor.data();
    record_.Attributes = info_.attributes;
    record_.Priority = info_.priority;
    record_.DefaultPriority = info_.defaultPriority;
    record_.StartTime = info_.startTime;
    record_.UntilTime = info_.untilTime;
    record_.Status = info_.status;
    record_.cJobs = info_.jobs;
    record_.AveragePPM = info_.averagePpm;
  }
  OwnedRecord(const OwnedRecord&) = delete;
  OwnedRecord& operator=(const OwnedRecord&) = delete;

  // A device mode shorter than its header claims would be read past its end.
  bool Sound() const { return info_.devMode.empty() || DevModeIsWhole(info_.devMode); }
  BYTE* Bytes() { return reinterpret_cast<BYTE*>(&record_); }

 private:
  PrinterInfo2 info_;
  PRINTER_INFO_2A record_ = {};
};

class Win32Printer : public IPrinter {
 public:
  explicit Win32Printer(HANDLE h) : h_(h) {}

  bool GetPrinterA(uint32_t bufferSize, PrinterInfo2& info, uint32_t& needed) override {
    std::vector<BYTE> buffer(bufferSize);
    DWORD cbNeeded = 0;
    const BOOL ok = ::GetPrinterA(h_.Get(), 2, BufferOrNull(buffer), bufferSize, &cbNeeded);
    KeepLastError keep;
    needed = cbNeeded;
    if (!ok || buffer.size() < sizeof(PRINTER_INFO_2A)) return false;
    info = FromRecord(*reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data()));
    return true;
  }

  bool SetPrinterA(const PrinterInfo2& info) override {
    OwnedRecord record(info);
    if (!record.Sound()) {
      ::SetLastError(ERROR_INVALID_PARAMETER);
      return false;
    }
    return ::SetPrinterA(h_.Get(), 2, record.Bytes(), 0) != FALSE;
  }

  bool SetPrinterCommand(uint32_t command, uint32_t status) override {
    DWORD value = status;
    BYTE* record =
        command == PRINTER_CONTROL_SET_STATUS ? reinterpret_cast<BYTE*>(&value) : nullptr;
    return ::SetPrinterA(h_.Get(), 0, record, command) != FALSE;
  }

  bool DeletePrinter() override { return ::DeletePrinter(h_.Get()) != FALSE; }

  bool EnumJobsA(uint32_t firstJob, uint32_t noJobs, uint32_t bufferSize,
                 std::vector<JobInfo1>& jobs, uint32_t& needed) override {
    jobs.clear();
    std::vector<BYTE> buffer(bufferSize);
    DWORD cbNeeded = 0;
    DWORD returned = 0;
    const BOOL ok = ::EnumJobsA(h_.Get(), firstJob, noJobs, 1, BufferOrNull(buffer), bufferSize,
                                &cbNeeded, &returned);
    KeepLastError keep;
    needed = cbNeeded;
    if (!ok) return false;
    const auto* records = reinterpret_cast<const JOB_INFO_1A*>(buffer.data());
    for (DWORD i = 0; i < Fitting<JOB_INFO_1A>(returned, buffer); ++i) {
      const JOB_INFO_1A& r = records[i];
      jobs.push_back({r.JobId, Text(r.pPrinterName), Text(r.pMachineName), Text(r.pUserName),
                      Text(r.pDocument), Text(r.pDatatype), Text(r.pStatus), r.Status, r.Priority,
                      r.Position, r.TotalPages, r.PagesPrinted});
    }
    return true;
  }

 private:
  ScopedPrinter h_;
};

// One export of winspool.drv, looked up by name; the library is held while in use.
template <typename Fn>
struct SpoolerExport {
  explicit SpoolerExport(const char* name) : library(::LoadLibraryA("winspool.drv")) {
    if (library) {
      fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(library.Get(), name)));
    }
  }
  // Frees the library without disturbing the last error of the call made through it.
  void Release() {
    KeepLastError keep;
    library.Reset();
  }
  // The answer for a missing library or export; the last error stays as the lookup set it.
  std::optional<bool> Missing() {
    Release();
    return std::nullopt;
  }
  ScopedLibrary library;
  Fn fn = nullptr;
};

}  // namespace

bool Win32Spooler::EnumPrintersA(uint32_t flags, uint32_t bufferSize,
                                 std::vector<PrinterInfo2>& printers, uint32_t& needed) {
  printers.clear();
  std::vector<BYTE> buffer(bufferSize);
  DWORD cbNeeded = 0;
  DWORD returned = 0;
  const BOOL ok =
      ::EnumPrintersA(flags, nullptr, 2, BufferOrNull(buffer), bufferSize, &cbNeeded, &returned);
  KeepLastError keep;
  needed = cbNeeded;
  if (!ok) return false;
  const auto* records = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
  for (DWORD i = 0; i < Fitting<PRINTER_INFO_2A>(returned, buffer); ++i) {
    printers.push_back(FromRecord(records[i]));
  }
  return true;
}

bool Win32Spooler::EnumPrintersA(uint32_t flags, uint32_t bufferSize,
                                 std::vector<PrinterInfo4>& printers, uint32_t& needed) {
  printers.clear();
  std::vector<BYTE> buffer(bufferSize);
  DWORD cbNeeded = 0;
  DWORD returned = 0;
  const BOOL ok =
      ::EnumPrintersA(flags, nullptr, 4, BufferOrNull(buffer), bufferSize, &cbNeeded, &returned);
  KeepLastError keep;
  needed = cbNeeded;
  if (!ok) return false;
  const auto* records = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data());
  for (DWORD i = 0; i < Fitting<PRINTER_INFO_4A>(returned, buffer); ++i) {
    printers.push_back(
        {Text(records[i].pPrinterName), Text(records[i].pServerName), records[i].Attributes});
  }
  return true;
}

bool Win32Spooler::EnumPortsA(uint32_t bufferSize, std::vector<PortInfo2>& ports,
                              uint32_t& needed) {
  ports.clear();
  std::vector<BYTE> buffer(bufferSize);
  DWORD cbNeeded = 0;
  DWORD returned = 0;
  const BOOL ok = ::EnumPortsA(nullptr, 2, BufferOrNull(buffer), bufferSize, &cbNeeded, &returned);
  KeepLastError keep;
  needed = cbNeeded;
  if (!ok) return false;
  const auto* records = reinterpret_cast<const PORT_INFO_2A*>(buffer.data());
  for (DWORD i = 0; i < Fitting<PORT_INFO_2A>(returned, buffer); ++i) {
    ports.push_back({Text(records[i].pPortName), Text(records[i].pMonitorName),
                     Text(records[i].pDescription), records[i].fPortType});
  }
  return true;
}

bool Win32Spooler::EnumPrinterDriversA(const std::optional<std::string>& environment,
                                       uint32_t bufferSize, std::vector<std::string>& names,
                                       uint32_t& needed) {
  names.clear();
  std::vector<BYTE> buffer(bufferSize);
  std::string env = environment.value_or(std::string());
  DWORD cbNeeded = 0;
  DWORD returned = 0;
  const BOOL ok = ::EnumPrinterDriversA(nullptr, environment ? env.data() : nullptr, 1,
                                        BufferOrNull(buffer), bufferSize, &cbNeeded, &returned);
  KeepLastError keep;
  needed = cbNeeded;
  if (!ok) return false;
  const auto* records = reinterpret_cast<const DRIVER_INFO_1A*>(buffer.data());
  for (DWORD i = 0; i < Fitting<DRIVER_INFO_1A>(returned, buffer); ++i) {
    names.push_back(Text(records[i].pName));
  }
  return true;
}

PrinterHandle Win32Spooler::OpenPrinterA(const std::string& name,
                                         const std::optional<PrinterDefaults>& defaults) {
  std::string printerName = name;
  ScopedPrinter h;
  if (!defaults) {
    if (!::OpenPrinterA(printerName.data(), h.Receive(), nullptr)) return nullptr;
    return std::make_unique<Win32Printer>(h.Release());
  }
  PrinterDefaults owned = *defaults;
  if (!owned.devMode.empty() && !DevModeIsWhole(owned.devMode)) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  PRINTER_DEFAULTSA pd = {};
  pd.pDatatype = owned.datatype.empty() ? nullptr : owned.datatype.data();
  pd.pDevMode = owned.devMode.empty() ? nullptr : reinterpret_cast<DEVMODEA*>(owned.devMode.data());
  pd.DesiredAccess = owned.desiredAccess;
  if (!::OpenPrinterA(printerName.data(), h.Receive(), &pd)) return nullptr;
  return std::make_unique<Win32Printer>(h.Release());
}

PrinterHandle Win32Spooler::AddPrinterA(const PrinterInfo2& info) {
  OwnedRecord record(info);
  if (!record.Sound()) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  ScopedPrinter h(::AddPrinterA(nullptr, 2, record.Bytes()));
  if (!h) return nullptr;
  return std::make_unique<Win32Printer>(h.Release());
}

uint32_t Win32Spooler::GetLastError() { return ::GetLastError(); }

void Win32Spooler::SetLastError(uint32_t error) { ::SetLastError(error); }

std::optional<bool> Win32Spooler::DeletePrinterDriverExA(
    const std::optional<std::string>& serverName, const std::optional<std::string>& environment,
    const std::string& driverName, uint32_t deleteFlag, uint32_t versionFlag) {
  using Fn = BOOL(WINAPI*)(LPSTR, LPSTR, LPSTR, DWORD, DWORD);
  SpoolerExport<Fn> e("DeletePrinterDriverExA");
  if (!e.fn) return e.Missing();
  std::string server = serverName.value_or(std::string());
  std::string env = environment.value_or(std::string());
  std::string driver = driverName;
  const BOOL ok = e.fn(serverName ? server.data() : nullptr, environment ? env.data() : nullptr,
                       driver.data(), deleteFlag, versionFlag);
  e.Release();
  return ok != FALSE;
}

std::optional<bool> Win32Spooler::GetDefaultPrinterA(uint32_t bufferChars, std::string& name,
                                                     uint32_t& neededChars) {
  name.clear();
  using Fn = BOOL(WINAPI*)(LPSTR, LPDWORD);
  SpoolerExport<Fn> e("GetDefaultPrinterA");
  if (!e.fn) return e.Missing();
  std::vector<char> buffer(bufferChars);
  DWORD chars = bufferChars;
  const BOOL ok = e.fn(buffer.empty() ? nullptr : buffer.data(), &chars);
  KeepLastError keep;
  neededChars = chars;
  if (ok && !buffer.empty()) {
    buffer.back() = '\0';
    name = buffer.data();
  }
  e.Release();
  return ok != FALSE;
}

std::optional<bool> Win32Spooler::SetDefaultPrinterA(const std::string& name) {
  using Fn = BOOL(WINAPI*)(LPCSTR);
  SpoolerExport<Fn> e("SetDefaultPrinterA");
  if (!e.fn) return e.Missing();
  const BOOL ok = e.fn(name.c_str());
  e.Release();
  return ok != FALSE;
}

}  // namespace pinst::win32
