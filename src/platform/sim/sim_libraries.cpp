#include "platform/sim/sim_libraries.h"

#include <algorithm>
#include <cstring>

#include "base/ansi_text.h"
#include "platform/sim/sim_loader_search.h"

namespace pinst::sim {

namespace {

const std::string kTag = "MZ sim library ";

void CopyOut(const std::string& text, char* buffer) {
  const size_t n = std::min(text.size(), kDeviceTextSize - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

class SimLoadedLibrary : public ILibrary {
 public:
  SimLoadedLibrary(SimInstallerLibrary& lib, uint32_t codePage, SimTrace* trace, SimFaults* faults)
      : lib_(lib), codePage_(codePage), trace_(trace), faults_(faults) {
    ++lib_.loads;
    ++lib_.openCount;
  }
  ~SimLoadedLibrary() override { --lib_.openCount; }

  bool HasExport(const std::string& name) override {
    if (Injected(faults_, "library.GetProcAddress " + name)) return false;
    return (name == "FuncInst2K" && lib_.hasFuncInst2K) ||
           (name == "FuncFindExistDevice" && lib_.hasFuncFindExistDevice) ||
           (name == "ShowErrorCode" && lib_.hasShowErrorCode) ||
           (name == "LastInstallErrorCode" && lib_.hasLastInstallErrorCode) ||
           (name == "DllRegisterServer" && lib_.hasDllRegisterServer);
  }

  std::optional<FuncInst2KProc> FuncInst2K() override {
    if (!Exported("FuncInst2K", lib_.hasFuncInst2K)) return std::nullopt;
    SimInstallerLibrary* lib = &lib_;
    SimTrace* trace = trace_;
    SimFaults* faults = faults_;
    return
        [lib, trace, faults](const char* inf, const char* id, const char* port, uintptr_t owner) {
          lib->calls.push_back("FuncInst2K");
          Note(trace, std::string("FuncInst2K ") + inf + " " + id + " " + port);
          if (Injected(faults, "library.FuncInst2K")) {
            lib->lastInstallError = lib->faultError;
            return int32_t{2};
          }
          lib->installCalls.push_back({inf, id, port, owner});
          if (lib->onInstall) lib->onInstall(lib->installCalls.back());
          return lib->installResult;
        };
  }

  std::optional<FuncFindExistDeviceProc> FuncFindExistDevice() override {
    if (!Exported("FuncFindExistDevice", lib_.hasFuncFindExistDevice)) return std::nullopt;
    SimInstallerLibrary* lib = &lib_;
    const uint32_t codePage = codePage_;
    SimTrace* trace = trace_;
    SimFaults* faults = faults_;
    return
        [lib, codePage, trace, faults](const char* id, char* deviceId, char* portText) -> uint32_t {
          lib->calls.push_back("FuncFindExistDevice");
          Note(trace, std::string("FuncFindExistDevice ") + id);
          lib->findCalls.push_back(id);
          if (Injected(faults, "library.FuncFindExistDevice")) return 0;
          for (const SimDevice& device : lib->devices) {
            if (EqualsNoCase(device.hardwareId, id, codePage)) {
              CopyOut(device.deviceId, deviceId);
              CopyOut(device.portText, portText);
              return lib->foundValue;
            }
          }
          return 0;
        };
  }

  std::optional<ShowErrorCodeProc> ShowErrorCode() override {
    if (!Exported("ShowErrorCode", lib_.hasShowErrorCode)) return std::nullopt;
    SimInstallerLibrary* lib = &lib_;
    SimTrace* trace = trace_;
    return [lib, trace](int32_t show) {
      lib->calls.push_back("ShowErrorCode");
      Note(trace, "ShowErrorCode " + std::to_string(show));
      lib->showErrorCalls.push_back(show);
    };
  }

  std::optional<LastInstallErrorCodeProc> LastInstallErrorCode() override {
    if (!Exported("LastInstallErrorCode", lib_.hasLastInstallErrorCode)) return std::nullopt;
    SimInstallerLibrary* lib = &lib_;
    return [lib] {
      lib->calls.push_back("LastInstallErrorCode");
      return lib->lastInstallError;
    };
  }

  std::optional<DllRegisterServerProc> DllRegisterServer() override {
    if (!Exported("DllRegisterServer", lib_.hasDllRegisterServer)) return std::nullopt;
    SimInstallerLibrary* lib = &lib_;
    SimFaults* faults = faults_;
    return [lib, faults] {
      lib->calls.push_back("DllRegisterServer");
      // SELFREG_E_CLASS: the server could not register its classes.
      if (Injected(faults, "library.DllRegisterServer")) return int32_t(0x80040201u);
      return lib->registerResult;
    };
  }

 private:
  // GetProcAddress of an export the library has; the lookup itself may fail.
  bool Exported(const char* name, bool has) {
    return !Injected(faults_, std::string("library.GetProcAddress ") + name) && has;
  }

  SimInstallerLibrary& lib_;
  uint32_t codePage_;
  SimTrace* trace_;
  SimFaults* faults_;
};

}  // namespace

SimInstallerLibrary& SimLibraries::AddLibrary(const std::string& path) {
  libraries_.push_back(std::make_unique<SimInstallerLibrary>());
  files_.AddFile(path, kTag + std::to_string(libraries_.size() - 1));
  return *libraries_.back();
}

LoadedLibrary SimLibraries::Load(const std::string& path) {
  loadRequests.push_back(path);
  Note(trace, "load " + path);
  if (Injected(faults, "library.LoadLibraryA")) return nullptr;
  const auto found = FindLoaderFile(files_, system_.codePage, path, SearchOrder::kLibrary, ".dll");
  if (!found) return nullptr;
  // A file held open by another program still loads.
  const auto bytes = files_.Contents(*found);
  if (!bytes || bytes->compare(0, kTag.size(), kTag) != 0) return nullptr;
  const std::string number = bytes->substr(kTag.size());
  if (number.empty() || number.size() > 9 ||
      number.find_first_not_of("0123456789") != std::string::npos)
    return nullptr;
  const size_t index = std::stoul(number);
  if (index >= libraries_.size()) return nullptr;
  return std::make_unique<SimLoadedLibrary>(*libraries_[index], system_.codePage, trace, faults);
}

}  // namespace pinst::sim
