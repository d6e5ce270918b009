// The installer library's entry file (inst2k.dll, inst2k64.dll): the four exports,
// each running the portable library on the real Windows services for its call.
#include <windows.h>

#include <cstdint>

#include "library/library_exports.h"
#include "platform/platform.h"
#include "platform/win32/win32_devices.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_printer_drivers.h"
#include "platform/win32/win32_spooler.h"
#include "platform/win32/win32_system.h"

namespace {

// The services the library uses, in force for one export call.
class TLibraryPlatform {
 public:
  TLibraryPlatform() {
    pinst::Platform p;
    p.files = &files_;
    p.system = &system_;
    p.spooler = &spooler_;
    p.devices = &devices_;
    p.printerDrivers = &printerDrivers_;
    previous_ = pinst::InstallPlatform(p);
  }
  ~TLibraryPlatform() { pinst::InstallPlatform(previous_); }
  TLibraryPlatform(const TLibraryPlatform&) = delete;
  TLibraryPlatform& operator=(const TLibraryPlatform&) = delete;

 private:
  pinst::win32::Win32Files files_;
  pinst::win32::Win32System system_;
  pinst::win32::Win32Spooler spooler_;
  pinst::win32::Win32Devices devices_;
  pinst::win32::Win32PrinterDrivers printerDrivers_;
  pinst::Platform previous_;
};

}  // namespace

extern "C" {

__declspec(dllexport) int32_t __stdcall FuncInst2K(const char* infPath, const char* hardwareId,
                                                   const char* portName, HWND owner) {
  const TLibraryPlatform platform;
  return pinst::LibraryFuncInst2K(infPath, hardwareId, portName,
                                  reinterpret_cast<uintptr_t>(owner));
}

__declspec(dllexport) BOOL
    __stdcall FuncFindExistDevice(const char* hardwareId, char* deviceId, char* portText) {
  const TLibraryPlatform platform;
  return pinst::LibraryFuncFindExistDevice(hardwareId, deviceId, portText) ? TRUE : FALSE;
}

__declspec(dllexport) void __stdcall ShowErrorCode(BOOL show) {
  const TLibraryPlatform platform;
  pinst::LibraryShowErrorCode(show);
}

__declspec(dllexport) uint32_t __stdcall LastInstallErrorCode() {
  return pinst::LibraryLastInstallErrorCode();
}

}  // extern "C"
