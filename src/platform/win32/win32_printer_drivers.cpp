#include "platform/win32/win32_printer_drivers.h"

#include <windows.h>
// winspool.h after windows.h.
#include <winspool.h>

#include <vector>

#include "platform/win32/handles.h"

namespace pinst::win32 {

namespace {

uint32_t FailureCode() {
  const DWORD error = ::GetLastError();
  return error != 0 ? error : ERROR_GEN_FAILURE;
}

// Null for an empty text, as the spooler takes an absent file.
char* Text(const std::string& text) {
  return text.empty() ? nullptr : const_cast<char*>(text.c_str());
}

std::string Copied(const char* text) { return text ? text : ""; }

// One export of winspool.drv looked up by name; the library is held while in use.
template <typename Fn>
struct Export {
  explicit Export(const char* name) : library(::LoadLibraryA("winspool.drv")) {
    if (library) {
      fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(library.Get(), name)));
    }
  }
  ScopedLibrary library;
  Fn fn = nullptr;
};

}  // namespace

uint32_t Win32PrinterDrivers::DriverDirectory(const std::string& environment,
                                              std::string& directory) {
  directory.clear();
  char buffer[MAX_PATH * 2] = {};
  DWORD needed = 0;
  if (!::GetPrinterDriverDirectoryA(nullptr, Text(environment), 1, reinterpret_cast<BYTE*>(buffer),
                                    sizeof buffer, &needed)) {
    return FailureCode();
  }
  directory = buffer;
  return 0;
}

uint32_t Win32PrinterDrivers::AddDriver(const DriverInfo3& info, uint32_t copyFlags) {
  // The dependent files as one block: each name and its zero, then one more zero.
  std::string dependents;
  for (const std::string& file : info.dependentFiles) dependents += file + '\0';
  dependents += '\0';
  DRIVER_INFO_3A record{};
  record.cVersion = info.version;
  record.pName = Text(info.name);
  record.pEnvironment = Text(info.environment);
  record.pDriverPath = Text(info.driverPath);
  record.pDataFile = Text(info.dataFile);
  record.pConfigFile = Text(info.configFile);
  record.pHelpFile = Text(info.helpFile);
  record.pDependentFiles = info.dependentFiles.empty() ? nullptr : dependents.data();
  record.pMonitorName = Text(info.monitorName);
  record.pDefaultDataType = Text(info.defaultDataType);
  if (!::AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&record), copyFlags)) {
    return FailureCode();
  }
  return 0;
}

uint32_t Win32PrinterDrivers::GetDriver(const std::string& environment, const std::string& name,
                                        DriverInfo3& info) {
  DWORD needed = 0, returned = 0;
  ::EnumPrinterDriversA(nullptr, Text(environment), 3, nullptr, 0, &needed, &returned);
  std::vector<BYTE> buffer(needed > 0 ? needed : 1);
  if (!::EnumPrinterDriversA(nullptr, Text(environment), 3, buffer.data(),
                             static_cast<DWORD>(buffer.size()), &needed, &returned)) {
    return FailureCode();
  }
  const auto* records = reinterpret_cast<const DRIVER_INFO_3A*>(buffer.data());
  for (DWORD i = 0; i < returned; ++i) {
    const DRIVER_INFO_3A& r = records[i];
    if (!r.pName || ::lstrcmpiA(r.pName, name.c_str()) != 0) continue;
    info = DriverInfo3();
    info.version = r.cVersion;
    info.name = Copied(r.pName);
    info.environment = Copied(r.pEnvironment);
    info.driverPath = Copied(r.pDriverPath);
    info.dataFile = Copied(r.pDataFile);
    info.configFile = Copied(r.pConfigFile);
    info.helpFile = Copied(r.pHelpFile);
    for (const char* p = r.pDependentFiles; p && *p; p += ::lstrlenA(p) + 1) {
      info.dependentFiles.emplace_back(p);
    }
    info.monitorName = Copied(r.pMonitorName);
    info.defaultDataType = Copied(r.pDefaultDataType);
    return 0;
  }
  return ERROR_UNKNOWN_PRINTER_DRIVER;
}

std::optional<int32_t> Win32PrinterDrivers::UploadDriverPackage(const std::string& infPath,
                                                                const std::string& environment,
                                                                uint32_t flags, uintptr_t owner,
                                                                std::string& destination) {
  destination.clear();
  using UploadFn = HRESULT(WINAPI*)(LPCSTR, LPCSTR, LPCSTR, DWORD, HWND, LPSTR, PULONG);
  Export<UploadFn> upload("UploadPrinterDriverPackageA");
  if (!upload.fn) return std::nullopt;
  char stored[MAX_PATH * 2] = {};
  ULONG chars = sizeof stored;
  const HRESULT hr = upload.fn(nullptr, infPath.c_str(), environment.c_str(), flags,
                               reinterpret_cast<HWND>(owner), stored, &chars);
  if (SUCCEEDED(hr)) destination = stored;
  return static_cast<int32_t>(hr);
}

std::optional<int32_t> Win32PrinterDrivers::InstallDriverFromPackage(
    const std::string& storedInfPath, const std::string& driverName,
    const std::string& environment) {
  using InstallFn = HRESULT(WINAPI*)(LPCSTR, LPCSTR, LPCSTR, LPCSTR, DWORD);
  Export<InstallFn> install("InstallPrinterDriverFromPackageA");
  if (!install.fn) return std::nullopt;
  return static_cast<int32_t>(
      install.fn(nullptr, storedInfPath.c_str(), driverName.c_str(), environment.c_str(), 0));
}

}  // namespace pinst::win32
