// Printer drivers (winspool.drv): the driver directory of an environment, adding a
// driver from files already there, reading a driver's record, and the driver-package
// calls of Windows Vista and later, looked up at run time. Calls answer 0 or the code
// GetLastError gave; the package calls answer their HRESULT.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pinst {

// AddPrinterDriverExA and package flags, HRESULTs and the spooler's driver codes.
enum : uint32_t {
  kApdCopyNewFiles = 0x8,
  kUpdpSilentUpload = 0x1,
  kErrorPrinterDriverWarned = 3013,
  kErrorPrinterDriverBlocked = 3014,
};
constexpr int32_t kENotImpl = static_cast<int32_t>(0x80004001);

// DRIVER_INFO_3A. Paths are full paths; the dependent files are a list (the call
// takes them as one NUL-separated block).
struct DriverInfo3 {
  uint32_t version = 3;
  std::string name;
  std::string environment;
  std::string driverPath;
  std::string dataFile;
  std::string configFile;
  std::string helpFile;
  std::vector<std::string> dependentFiles;
  std::string monitorName;
  std::string defaultDataType;
};

class IPrinterDrivers {
 public:
  virtual ~IPrinterDrivers() = default;
  // GetPrinterDriverDirectoryA for the local machine and that environment.
  virtual uint32_t DriverDirectory(const std::string& environment, std::string& directory) = 0;
  // AddPrinterDriverExA at level 3.
  virtual uint32_t AddDriver(const DriverInfo3& info, uint32_t copyFlags) = 0;
  // GetPrinterDriverA at level 3 for the driver of that name and environment
  // (OpenPrinter of no printer: the local server).
  virtual uint32_t GetDriver(const std::string& environment, const std::string& name,
                             DriverInfo3& info) = 0;
  // UploadPrinterDriverPackageA for the local machine; nullopt when winspool lacks it.
  // destination receives the INF's path in the driver store.
  virtual std::optional<int32_t> UploadDriverPackage(const std::string& infPath,
                                                     const std::string& environment, uint32_t flags,
                                                     uintptr_t owner, std::string& destination) = 0;
  // InstallPrinterDriverFromPackageA; nullopt when winspool lacks it.
  virtual std::optional<int32_t> InstallDriverFromPackage(const std::string& storedInfPath,
                                                          const std::string& driverName,
                                                          const std::string& environment) = 0;
};

}  // namespace pinst
