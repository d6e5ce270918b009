#include "platform/sim/sim_printer_drivers.h"

#include <algorithm>

#include "base/ansi_text.h"
#include "base/win_path.h"

namespace pinst::sim {

namespace {

constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorInvalidParameter = 87;
constexpr uint32_t kErrorUnknownPrinterDriver = 1797;
constexpr uint32_t kErrorInvalidEnvironment = 1805;
constexpr int32_t kHresultFileNotFound = static_cast<int32_t>(0x80070002);

// The driver folder's name for each environment the spooler knows.
std::optional<std::string> EnvironmentFolder(const std::string& environment) {
  if (EqualsNoCase(environment, "Windows NT x86", 1252)) return "W32X86";
  if (EqualsNoCase(environment, "Windows x64", 1252)) return "x64";
  if (EqualsNoCase(environment, "Windows ARM64", 1252)) return "ARM64";
  return std::nullopt;
}

}  // namespace

const DriverInfo3* SimPrinterDrivers::Find(const std::string& environment,
                                           const std::string& name) const {
  for (const DriverInfo3& d : drivers) {
    if (EqualsNoCase(d.environment, environment, 1252) && EqualsNoCase(d.name, name, 1252)) {
      return &d;
    }
  }
  return nullptr;
}

uint32_t SimPrinterDrivers::DriverDirectory(const std::string& environment,
                                            std::string& directory) {
  directory.clear();
  if (Injected(faults, "drivers.GetPrinterDriverDirectoryA")) return faultError;
  const std::optional<std::string> folder = EnvironmentFolder(environment);
  if (!folder) return kErrorInvalidEnvironment;
  directory = driversFolder + "\\" + *folder;
  files_.AddDirectory(directory);
  return 0;
}

void SimPrinterDrivers::Record(DriverInfo3 info) {
  auto same = [&](const DriverInfo3& d) {
    return EqualsNoCase(d.environment, info.environment, 1252) &&
           EqualsNoCase(d.name, info.name, 1252);
  };
  drivers.erase(std::remove_if(drivers.begin(), drivers.end(), same), drivers.end());
  if (std::none_of(spooler_.drivers.begin(), spooler_.drivers.end(),
                   [&](const std::string& n) { return EqualsNoCase(n, info.name, 1252); })) {
    spooler_.drivers.push_back(info.name);
  }
  Note(trace, "drivers.add " + info.environment + " \"" + info.name + "\"");
  drivers.push_back(std::move(info));
}

uint32_t SimPrinterDrivers::AddDriver(const DriverInfo3& info, uint32_t copyFlags) {
  addFlags.push_back(copyFlags);
  if (Injected(faults, "drivers.AddPrinterDriverExA")) return faultError;
  if (failAdd) return *failAdd;
  const std::optional<std::string> folder = EnvironmentFolder(info.environment);
  if (!folder) return kErrorInvalidEnvironment;
  if (info.name.empty() || info.driverPath.empty() || info.dataFile.empty() ||
      info.configFile.empty()) {
    return kErrorInvalidParameter;
  }
  const std::string versionFolder = driversFolder + "\\" + *folder + "\\3";
  files_.AddDirectory(versionFolder);
  // Every file named comes from where the record says; the record names the copies.
  auto take = [&](const std::string& path, std::string& recorded) -> bool {
    if (path.empty()) return true;
    const std::optional<std::string> bytes = files_.Contents(path);
    if (!bytes) return false;
    recorded = versionFolder + "\\" + FileNameOf(path, 1252);
    if (copiesFiles) files_.AddFile(recorded, *bytes);
    return true;
  };
  DriverInfo3 kept = info;
  kept.dependentFiles.clear();
  bool whole = take(info.driverPath, kept.driverPath) && take(info.dataFile, kept.dataFile) &&
               take(info.configFile, kept.configFile) && take(info.helpFile, kept.helpFile);
  for (const std::string& file : info.dependentFiles) {
    std::string recorded;
    whole = whole && take(file, recorded);
    kept.dependentFiles.push_back(recorded);
  }
  if (!whole) return kErrorFileNotFound;
  Record(std::move(kept));
  return 0;
}

uint32_t SimPrinterDrivers::GetDriver(const std::string& environment, const std::string& name,
                                      DriverInfo3& info) {
  if (Injected(faults, "drivers.GetPrinterDriverA")) return faultError;
  const DriverInfo3* found = Find(environment, name);
  if (!found) return kErrorUnknownPrinterDriver;
  info = *found;
  return 0;
}

std::optional<int32_t> SimPrinterDrivers::UploadDriverPackage(const std::string& infPath,
                                                              const std::string& environment,
                                                              uint32_t flags, uintptr_t,
                                                              std::string& destination) {
  destination.clear();
  if (upload == SimPackageCall::kAbsent) return std::nullopt;
  uploads.push_back({infPath, environment, flags});
  if (upload == SimPackageCall::kNotImplemented) return kENotImpl;
  if (failUpload) return *failUpload;
  if (!files_.HasFile(infPath)) return kHresultFileNotFound;
  const std::string name = FileNameOf(infPath, 1252);
  destination = "C:\\WINDOWS\\System32\\DriverStore\\FileRepository\\" + name + "_sim\\" + name;
  files_.AddFile(destination, *files_.Contents(infPath));
  return 0;
}

std::optional<int32_t> SimPrinterDrivers::InstallDriverFromPackage(const std::string& storedInfPath,
                                                                   const std::string& driverName,
                                                                   const std::string& environment) {
  if (install == SimPackageCall::kAbsent) return std::nullopt;
  installs.push_back({storedInfPath, driverName, environment});
  if (install == SimPackageCall::kNotImplemented) return kENotImpl;
  if (failInstall) return *failInstall;
  if (!files_.HasFile(storedInfPath)) return kHresultFileNotFound;
  DriverInfo3 info;
  info.name = driverName;
  info.environment = environment;
  Record(std::move(info));
  return 0;
}

}  // namespace pinst::sim
