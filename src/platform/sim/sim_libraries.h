// Simulated run-time libraries. A library is a C++ object behind a file: the file
// holds a tag naming the object, so a copy of the file loads the same library and
// any other file fails to load, as a file that is no library does.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/libraries.h"
#include "platform/sim/sim_faults.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_trace.h"

namespace pinst::sim {

// A device the library's FuncFindExistDevice knows.
struct SimDevice {
  std::string hardwareId;  // matched without regard to ASCII case
  std::string deviceId;    // "USBPRINT\..." or "LPTENUM\..."
  std::string portText;    // ends in the USB port name for a USB printer
};

struct SimInstallCall {
  std::string infPath;
  std::string hardwareId;
  std::string portName;
  uintptr_t ownerWindow = 0;
};

// An installer library (or a COM server file): which exports it has, what they
// answer, and every call made to them.
class SimInstallerLibrary {
 public:
  // What a test sets up.
  bool hasFuncInst2K = true;
  bool hasFuncFindExistDevice = true;
  bool hasShowErrorCode = true;
  bool hasLastInstallErrorCode = true;
  bool hasDllRegisterServer = false;
  std::vector<SimDevice> devices;
  uint32_t foundValue = 1;        // the BOOL FuncFindExistDevice returns for a known device
  int32_t installResult = 1;      // FuncInst2K's result
  uint32_t lastInstallError = 0;  // LastInstallErrorCode's result
  int32_t registerResult = 0;     // DllRegisterServer's HRESULT
  // What LastInstallErrorCode reports after a FuncInst2K failed by the fault list.
  uint32_t faultError = 31;  // ERROR_GEN_FAILURE
  // Called by FuncInst2K after it is recorded; a scenario test may act here
  // (add the printer to the spooler, change installResult).
  std::function<void(const SimInstallCall&)> onInstall;

  // What a test inspects.
  std::vector<std::string> calls;  // export names, in call order
  std::vector<SimInstallCall> installCalls;
  std::vector<std::string> findCalls;  // hardware ids asked for
  std::vector<int32_t> showErrorCalls;
  int loads = 0;      // successful loads
  int openCount = 0;  // loaded and not yet freed
};

class SimLibraries : public ILibraries {
 public:
  SimLibraries(SimFiles& files, SimSystem& system) : files_(files), system_(system) {}

  // Puts a library file at path (a relative path is taken from the current
  // directory) and returns its object, which lives as long as this.
  SimInstallerLibrary& AddLibrary(const std::string& path);

  // What a test inspects: every path handed to LoadLibraryA, loaded or not.
  std::vector<std::string> loadRequests;
  SimTrace* trace = nullptr;
  SimFaults* faults = nullptr;

  LoadedLibrary Load(const std::string& path) override;

 private:
  SimFiles& files_;
  SimSystem& system_;
  std::vector<std::unique_ptr<SimInstallerLibrary>> libraries_;
};

}  // namespace pinst::sim
