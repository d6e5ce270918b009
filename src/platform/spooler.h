// The print spooler (winspool.drv), shaped like its "A" calls: the caller picks the
// buffer size, a call that does not fit fails with ERROR_INSUFFICIENT_BUFFER and
// reports the bytes it needs, and the thread's last-error value says why a call
// failed. Records come back decoded into C++ types.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pinst {

// Flags, rights and commands with their Windows values.
enum : uint32_t {
  kPrinterEnumLocal = 0x2,
  kPrinterEnumConnections = 0x4,
  kPrinterAccessAdminister = 0x4,
  kPrinterAccessUse = 0x8,
  kPrinterAllAccess = 0x000F000C,
  kPrinterControlSetStatus = 4,
  kPrinterStatusPendingDeletion = 0x80,
  kPrinterAttributeShared = 0x8,
  kPrinterAttributeLocal = 0x40,
  kDpdDeleteUnusedFiles = 0x1,
};

// Last-error values the spooler sets.
enum : uint32_t {
  kErrorFileNotFound = 2,
  kErrorAccessDenied = 5,
  kErrorInvalidHandle = 6,
  kErrorInvalidParameter = 87,
  kErrorInsufficientBuffer = 122,
  kErrorInvalidLevel = 124,
  kErrorProcNotFound = 127,
  kErrorUnknownPort = 1796,
  kErrorUnknownPrinterDriver = 1797,
  kErrorInvalidPrinterName = 1801,
  kErrorPrinterAlreadyExists = 1802,
  kErrorPrinterDriverInUse = 3001,
};

// Sizes of the 32-bit records; texts follow them in the same buffer.
constexpr uint32_t kPrinterInfo2Size = 84;
constexpr uint32_t kPrinterInfo4Size = 12;
constexpr uint32_t kPortInfo2Size = 20;
constexpr uint32_t kJobInfo1Size = 64;
constexpr uint32_t kDevModeSize = 156;

// The public part of DEVMODEA, printer variant, laid out byte for byte as Windows
// has it (little-endian, natural alignment).
struct DevModeA {
  std::array<char, 32> dmDeviceName{};
  uint16_t dmSpecVersion = 0;
  uint16_t dmDriverVersion = 0;
  uint16_t dmSize = 0;
  uint16_t dmDriverExtra = 0;
  uint32_t dmFields = 0;
  int16_t dmOrientation = 0;
  int16_t dmPaperSize = 0;
  int16_t dmPaperLength = 0;
  int16_t dmPaperWidth = 0;
  int16_t dmScale = 0;
  int16_t dmCopies = 0;
  int16_t dmDefaultSource = 0;
  int16_t dmPrintQuality = 0;
  int16_t dmColor = 0;
  int16_t dmDuplex = 0;
  int16_t dmYResolution = 0;
  int16_t dmTTOption = 0;
  int16_t dmCollate = 0;
  std::array<char, 32> dmFormName{};
  uint16_t dmLogPixels = 0;
  uint32_t dmBitsPerPel = 0;
  uint32_t dmPelsWidth = 0;
  uint32_t dmPelsHeight = 0;
  uint32_t dmNup = 0;
  uint32_t dmDisplayFrequency = 0;
  uint32_t dmICMMethod = 0;
  uint32_t dmICMIntent = 0;
  uint32_t dmMediaType = 0;
  uint32_t dmDitherType = 0;
  uint32_t dmReserved1 = 0;
  uint32_t dmReserved2 = 0;
  uint32_t dmPanningWidth = 0;
  uint32_t dmPanningHeight = 0;
};
static_assert(sizeof(DevModeA) == kDevModeSize);
static_assert(std::endian::native == std::endian::little);

// A device mode as the spooler keeps it: the public part (dmSize bytes), then
// dmDriverExtra bytes private to the driver.
using DevModeBytes = std::vector<uint8_t>;

// The public 156 bytes of a device mode; bytes the record lacks read as zero.
inline DevModeA PublicDevMode(const DevModeBytes& bytes) {
  DevModeA dm;
  if (!bytes.empty()) {
    std::memcpy(&dm, bytes.data(), bytes.size() < sizeof dm ? bytes.size() : sizeof dm);
  }
  return dm;
}

// A device mode of just the public part.
inline DevModeBytes ToDevModeBytes(const DevModeA& dm) {
  DevModeBytes bytes(sizeof dm);
  std::memcpy(bytes.data(), &dm, sizeof dm);
  return bytes;
}

// True when the bytes hold everything dmSize and dmDriverExtra announce, so the
// spooler never reads past them.
inline bool DevModeIsWhole(const DevModeBytes& bytes) {
  constexpr size_t kThroughFields = 44;  // dmDeviceName up to dmFields
  if (bytes.size() < kThroughFields) return false;
  const DevModeA dm = PublicDevMode(bytes);
  return dm.dmSize >= kThroughFields && bytes.size() >= size_t{dm.dmSize} + dm.dmDriverExtra;
}

// PRINTER_INFO_2A. Null texts read as empty; written back, an empty server name is a
// null pointer and other empty texts are empty strings.
struct PrinterInfo2 {
  std::string serverName;
  std::string printerName;
  std::string shareName;
  std::string portName;
  std::string driverName;
  std::string comment;
  std::string location;
  DevModeBytes devMode;  // empty: none
  std::string sepFile;
  std::string printProcessor;
  std::string datatype;
  std::string parameters;
  std::vector<uint8_t> securityDescriptor;  // self-relative; empty: none
  uint32_t attributes = 0;
  uint32_t priority = 0;
  uint32_t defaultPriority = 0;
  uint32_t startTime = 0;
  uint32_t untilTime = 0;
  uint32_t status = 0;
  uint32_t jobs = 0;
  uint32_t averagePpm = 0;
};

// PRINTER_INFO_4A.
struct PrinterInfo4 {
  std::string printerName;
  std::string serverName;  // empty for a local printer
  uint32_t attributes = 0;
};

// PORT_INFO_2A.
struct PortInfo2 {
  std::string portName;
  std::string monitorName;
  std::string description;
  uint32_t portType = 0;
};

// JOB_INFO_1A (the submission time is not carried).
struct JobInfo1 {
  uint32_t jobId = 0;
  std::string printerName;
  std::string machineName;
  std::string userName;
  std::string document;
  std::string datatype;
  std::string statusText;
  uint32_t status = 0;
  uint32_t priority = 0;
  uint32_t position = 0;
  uint32_t totalPages = 0;
  uint32_t pagesPrinted = 0;
};

// PRINTER_DEFAULTSA. An empty datatype or devMode is passed as a null pointer.
struct PrinterDefaults {
  std::string datatype;
  DevModeBytes devMode;
  uint32_t desiredAccess = 0;
};

// An open printer. Destroying it closes it (ClosePrinter).
class IPrinter {
 public:
  virtual ~IPrinter() = default;
  // GetPrinterA level 2 into a buffer of bufferSize bytes.
  virtual bool GetPrinterA(uint32_t bufferSize, PrinterInfo2& info, uint32_t& needed) = 0;
  // SetPrinterA level 2, command 0: the whole record written back.
  virtual bool SetPrinterA(const PrinterInfo2& info) = 0;
  // SetPrinterA level 0 with a control command; for PRINTER_CONTROL_SET_STATUS the
  // record is the status value.
  virtual bool SetPrinterCommand(uint32_t command, uint32_t status) = 0;
  virtual bool DeletePrinter() = 0;
  // EnumJobsA level 1 into a buffer of bufferSize bytes; returned = jobs.size().
  virtual bool EnumJobsA(uint32_t firstJob, uint32_t noJobs, uint32_t bufferSize,
                         std::vector<JobInfo1>& jobs, uint32_t& needed) = 0;
};

// Move-only; null when the printer could not be opened or added.
using PrinterHandle = std::unique_ptr<IPrinter>;

class ISpooler {
 public:
  virtual ~ISpooler() = default;

  // EnumPrintersA with no name, level 2 or 4 (by the record type), into a buffer of
  // bufferSize bytes. needed receives the bytes the whole answer takes.
  virtual bool EnumPrintersA(uint32_t flags, uint32_t bufferSize,
                             std::vector<PrinterInfo2>& printers, uint32_t& needed) = 0;
  virtual bool EnumPrintersA(uint32_t flags, uint32_t bufferSize,
                             std::vector<PrinterInfo4>& printers, uint32_t& needed) = 0;
  // EnumPortsA for the local machine, level 2.
  virtual bool EnumPortsA(uint32_t bufferSize, std::vector<PortInfo2>& ports, uint32_t& needed) = 0;
  // EnumPrinterDriversA for the local machine at level 1: the names of the drivers
  // installed for the environment (none: the caller's own).
  virtual bool EnumPrinterDriversA(const std::optional<std::string>& environment,
                                   uint32_t bufferSize, std::vector<std::string>& names,
                                   uint32_t& needed) = 0;
  // OpenPrinterA; no defaults gives the plain PRINTER_ACCESS_USE opening.
  virtual PrinterHandle OpenPrinterA(const std::string& name,
                                     const std::optional<PrinterDefaults>& defaults) = 0;
  // AddPrinterA for the local machine at level 2.
  virtual PrinterHandle AddPrinterA(const PrinterInfo2& info) = 0;

  // The calling thread's last-error value.
  virtual uint32_t GetLastError() = 0;
  virtual void SetLastError(uint32_t error) = 0;

  // Functions looked up by name in winspool.drv at each call: nullopt when the
  // library or the export is missing (the last error then says why).
  virtual std::optional<bool> DeletePrinterDriverExA(const std::optional<std::string>& serverName,
                                                     const std::optional<std::string>& environment,
                                                     const std::string& driverName,
                                                     uint32_t deleteFlag, uint32_t versionFlag) = 0;
  // GetDefaultPrinterA with a buffer of bufferChars characters; neededChars counts
  // the terminating zero.
  virtual std::optional<bool> GetDefaultPrinterA(uint32_t bufferChars, std::string& name,
                                                 uint32_t& neededChars) = 0;
  virtual std::optional<bool> SetDefaultPrinterA(const std::string& name) = 0;
};

}  // namespace pinst
