#include "library/driver_staging.h"

#include "library/install_log.h"
#include "library/library_codes.h"
#include "platform/devices.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/printer_drivers.h"

namespace pinst {

namespace {

enum class TPackageOutcome { kUnavailable, kDone, kFailed };

// Upload, then install from the uploaded package. Unavailable when either call is
// missing or answers "not implemented" (Windows 2000 and XP, and Wine).
TPackageOutcome InstallFromPackage(const std::string& infPath, const TInfDriver& driver,
                                   const std::string& environment, uintptr_t owner,
                                   TInstallLog& log, uint32_t& code) {
  IPrinterDrivers& drivers = *Os().printerDrivers;
  std::string stored;
  const std::optional<int32_t> uploaded =
      drivers.UploadDriverPackage(infPath, environment, kUpdpSilentUpload, owner, stored);
  if (!uploaded || *uploaded == kENotImpl) {
    log.Line(uploaded ? "UploadPrinterDriverPackage: not implemented"
                      : "UploadPrinterDriverPackage: absent");
    return TPackageOutcome::kUnavailable;
  }
  if (*uploaded < 0) {
    code = CodeOfHresult(*uploaded);
    log.Code("UploadPrinterDriverPackage failed", static_cast<uint32_t>(*uploaded));
    if (code == kLibNoCatalogForOemInf) {
      log.Line("the package is not signed: the installer takes this code as a cancel");
    }
    return TPackageOutcome::kFailed;
  }
  log.Line("package uploaded: " + stored);
  const std::optional<int32_t> installed =
      drivers.InstallDriverFromPackage(stored, driver.driverName, environment);
  if (!installed || *installed == kENotImpl) {
    log.Line(installed ? "InstallPrinterDriverFromPackage: not implemented"
                       : "InstallPrinterDriverFromPackage: absent");
    return TPackageOutcome::kUnavailable;
  }
  if (*installed < 0) {
    code = CodeOfHresult(*installed);
    log.Code("InstallPrinterDriverFromPackage failed", static_cast<uint32_t>(*installed));
    return TPackageOutcome::kFailed;
  }
  log.Line("driver installed from the package");
  return TPackageOutcome::kDone;
}

// Where a core file is: in the driver directory, else where an installed driver
// keeps it (the version folder).
std::string CoreFilePath(const std::string& directory, const std::string& name) {
  const std::string staged = directory + "\\" + name;
  if (Os().files->FileExists(staged)) return staged;
  return directory + "\\3\\" + name;
}

// The spooler may record the files without copying them (Wine does): each file the
// record names that is not there is put there from the driver directory.
uint32_t CompleteRecordedFiles(const std::string& directory, const TInfDriver& driver,
                               const std::string& environment, TInstallLog& log) {
  DriverInfo3 recorded;
  const uint32_t error = Os().printerDrivers->GetDriver(environment, driver.driverName, recorded);
  if (error != 0) {
    log.Code("GetPrinterDriver failed", error);
    return error;
  }
  std::vector<std::string> paths = recorded.dependentFiles;
  for (const std::string* p :
       {&recorded.driverPath, &recorded.dataFile, &recorded.configFile, &recorded.helpFile}) {
    paths.push_back(*p);
  }
  IFiles& files = *Os().files;
  for (const std::string& path : paths) {
    if (path.empty() || files.FileExists(path)) continue;
    const size_t slash = path.rfind('\\');
    const std::string from = directory + "\\" + path.substr(slash + 1);
    if (!files.Copy(from, path, false)) {
      log.Line("recorded file not in place and not copied: " + path);
      return kLibFileNotFound;
    }
    log.Line("recorded file put in place: " + path);
  }
  return 0;
}

uint32_t InstallFromFiles(const std::string& infPath, const TInfDriver& driver,
                          const std::string& environment, TInstallLog& log) {
  std::string directory;
  if (const uint32_t error = Os().printerDrivers->DriverDirectory(environment, directory)) {
    log.Code("GetPrinterDriverDirectory failed", error);
    return error;
  }
  log.Line("driver directory " + directory);
  IFiles& files = *Os().files;
  for (const TPackageFile& file : driver.files) {
    const std::string to = directory + "\\" + file.name;
    if (!files.FileExists(file.source)) {
      log.Line("file missing: " + file.source);
      return kLibFileNotFound;
    }
    if (!files.Copy(file.source, to, false)) {
      log.Line("copy failed: " + file.source + " -> " + to);
      return kLibInstallFailure;
    }
  }
  auto pathOf = [&](const std::string& name) {
    if (name.empty()) return std::string();
    for (const std::string& core : driver.coreFiles) {
      if (core == name) return CoreFilePath(directory, name);
    }
    return directory + "\\" + name;
  };
  DriverInfo3 info;
  info.name = driver.driverName;
  info.environment = environment;
  info.driverPath = pathOf(driver.driverFile);
  info.dataFile = pathOf(driver.dataFile);
  info.configFile = pathOf(driver.configFile);
  info.helpFile = pathOf(driver.helpFile);
  for (const std::string& name : driver.dependentFiles) info.dependentFiles.push_back(pathOf(name));
  if (const uint32_t error = Os().printerDrivers->AddDriver(info, kApdCopyNewFiles)) {
    log.Code("AddPrinterDriverEx failed", error);
    if (error == kErrorPrinterDriverBlocked || error == kErrorPrinterDriverWarned) {
      log.Line("the spooler blocks this driver");
    }
    return error;
  }
  log.Line("AddPrinterDriverEx level 3: \"" + driver.driverName + "\" for " + environment);
  if (const uint32_t error = CompleteRecordedFiles(directory, driver, environment, log)) {
    return error;
  }
  std::string staged;
  if (const uint32_t error = Os().devices->CopyOemInf(infPath, staged)) {
    log.Code("SetupCopyOEMInf failed", error);
    return error;
  }
  log.Line("INF staged as " + staged);
  return 0;
}

}  // namespace

std::string NativeEnvironment(NativeMachine machine) {
  switch (machine) {
    case NativeMachine::kX64:
      return "Windows x64";
    case NativeMachine::kArm64:
      return "Windows ARM64";
    case NativeMachine::kX86:
      break;
  }
  return "Windows NT x86";
}

uint32_t StageDriver(const std::string& infPath, const TInfDriver& driver,
                     const std::string& environment, uintptr_t owner, TInstallLog& log,
                     TStagingPath& path) {
  path = TStagingPath::kPackage;
  uint32_t code = 0;
  switch (InstallFromPackage(infPath, driver, environment, owner, log, code)) {
    case TPackageOutcome::kDone:
      return 0;
    case TPackageOutcome::kFailed:
      return code != 0 ? code : kLibInstallFailure;
    case TPackageOutcome::kUnavailable:
      break;
  }
  path = TStagingPath::kFiles;
  log.Line("path: files and AddPrinterDriverEx");
  return InstallFromFiles(infPath, driver, environment, log);
}

}  // namespace pinst
