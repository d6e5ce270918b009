// Simulated printer drivers: a driver directory per environment under the spooler's
// drivers folder, drivers added from files there (copied into the version folder "3",
// or, as Wine does, only recorded), and the driver-package calls absent, answering
// E_NOTIMPL, or working.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/printer_drivers.h"
#include "platform/sim/sim_faults.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_spooler.h"
#include "platform/sim/sim_trace.h"

namespace pinst::sim {

enum class SimPackageCall { kAbsent, kNotImplemented, kPresent };

struct SimPackageUpload {
  std::string infPath;
  std::string environment;
  uint32_t flags = 0;
};

struct SimPackageInstall {
  std::string storedInfPath;
  std::string driverName;
  std::string environment;
};

class SimPrinterDrivers : public IPrinterDrivers {
 public:
  SimPrinterDrivers(SimFiles& files, SimSpooler& spooler) : files_(files), spooler_(spooler) {}

  // What a test sets up.
  std::string driversFolder = "C:\\WINDOWS\\system32\\spool\\drivers";
  SimPackageCall upload = SimPackageCall::kAbsent;  // Windows 2000 and XP
  SimPackageCall install = SimPackageCall::kAbsent;
  bool copiesFiles = true;  // false: the driver is recorded, no file is copied (Wine)
  std::optional<uint32_t> failAdd;
  std::optional<int32_t> failUpload;   // an HRESULT
  std::optional<int32_t> failInstall;  // an HRESULT
  uint32_t faultError = 1722;          // RPC_S_SERVER_UNAVAILABLE

  // What a test inspects.
  std::vector<DriverInfo3> drivers;  // as recorded, paths in the version folder
  std::vector<uint32_t> addFlags;
  std::vector<SimPackageUpload> uploads;
  std::vector<SimPackageInstall> installs;
  const DriverInfo3* Find(const std::string& environment, const std::string& name) const;
  SimTrace* trace = nullptr;
  SimFaults* faults = nullptr;

  uint32_t DriverDirectory(const std::string& environment, std::string& directory) override;
  uint32_t AddDriver(const DriverInfo3& info, uint32_t copyFlags) override;
  uint32_t GetDriver(const std::string& environment, const std::string& name,
                     DriverInfo3& info) override;
  std::optional<int32_t> UploadDriverPackage(const std::string& infPath,
                                             const std::string& environment, uint32_t flags,
                                             uintptr_t owner, std::string& destination) override;
  std::optional<int32_t> InstallDriverFromPackage(const std::string& storedInfPath,
                                                  const std::string& driverName,
                                                  const std::string& environment) override;

 private:
  void Record(DriverInfo3 info);

  SimFiles& files_;
  SimSpooler& spooler_;
};

}  // namespace pinst::sim
