// Libraries loaded at run time (LoadLibraryA, GetProcAddress, FreeLibrary), with
// the exports the installer calls offered as typed functions. An export a library
// does not have comes back empty.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace pinst {

// The installer library's exports, as the callers see them. Strings are
// zero-terminated ANSI bytes; the two output buffers hold kDeviceTextSize bytes.
constexpr size_t kDeviceTextSize = 260;
// FuncInst2K(InfPath, HardwareId, PortName, OwnerWindow): 1 or less is success.
using FuncInst2KProc = std::function<int32_t(const char* infPath, const char* hardwareId,
                                             const char* portName, uintptr_t ownerWindow)>;
// FuncFindExistDevice(HardwareId, DeviceId, PortText): a 32-bit BOOL.
using FuncFindExistDeviceProc =
    std::function<uint32_t(const char* hardwareId, char* deviceId, char* portText)>;
// ShowErrorCode(Show): 0 for false, -1 for true.
using ShowErrorCodeProc = std::function<void(int32_t show)>;
// LastInstallErrorCode(): 0 or a Windows / SetupAPI error code.
using LastInstallErrorCodeProc = std::function<uint32_t()>;
// DllRegisterServer(): an HRESULT.
using DllRegisterServerProc = std::function<int32_t()>;

// One loaded library. Destroying it frees the library (FreeLibrary); the functions
// it handed out must not be called after that.
class ILibrary {
 public:
  virtual ~ILibrary() = default;
  // GetProcAddress with the exact, case-sensitive name.
  virtual bool HasExport(const std::string& name) = 0;
  virtual std::optional<FuncInst2KProc> FuncInst2K() = 0;
  virtual std::optional<FuncFindExistDeviceProc> FuncFindExistDevice() = 0;
  virtual std::optional<ShowErrorCodeProc> ShowErrorCode() = 0;
  virtual std::optional<LastInstallErrorCodeProc> LastInstallErrorCode() = 0;
  virtual std::optional<DllRegisterServerProc> DllRegisterServer() = 0;
};

// A loaded library owned by one object: moved, never copied; freed when it goes.
using LoadedLibrary = std::unique_ptr<ILibrary>;

class ILibraries {
 public:
  virtual ~ILibraries() = default;
  // LoadLibraryA: a bare name is looked for by the loader's search, any other path
  // is taken from the current directory. Null when it cannot be loaded.
  virtual LoadedLibrary Load(const std::string& path) = 0;
};

}  // namespace pinst
