// The bridge to the installer library (in process, 32-bit) and to the 64-bit
// helper program that loads the 64-bit library for us. Every operation loads the
// library, uses it and frees it again.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/libraries.h"
#include "platform/processes.h"

namespace pinst {

// Results of FindConnectedPrinter.
enum : int { kNoDeviceFound = 0, kFoundByHardwareId = 1, kFoundByCompatibleId = 2 };

// Tells the library (the absolute form of libraryPath) whether to show its own
// error boxes. Raises TInstallError (kLibraryMissing) when it cannot be loaded.
void SetLibraryErrorDisplay(const std::string& libraryPath, bool show);

// Asks the library whether a device with hardwareId is present. False, with both
// outputs empty, when the library cannot be loaded or lacks the export.
bool FindExistDevice(const std::string& libraryPath, const std::string& hardwareId,
                     std::string& deviceId, std::string& portText);

// Looks for a present device of the INF's model, by its hardware id and then by
// its compatible id. Sets portName to the six-character USB port name or "LPT1:",
// empties it when nothing is found.
int FindConnectedPrinter(const std::string& infPath, const std::string& libraryPath,
                         std::string& portName);

// LastInstallErrorCode of a loaded library; 1 when it has no such export.
uint32_t GetLastInstallError(ILibrary& library);

// What InstallByLibrary installs, and with what.
struct TLibraryInstall {
  uintptr_t ownerWindow = 0;  // the window the library's own boxes belong to
  std::string infPath;
  std::string offlinePrefix;  // put before the hardware id of an offline install
  std::string libraryPath;
  bool online = true;
  std::string offlinePort;              // the port of an offline install (empty: LPT1:)
  std::function<void()> beforeInstall;  // runs once the library is loaded, just before it installs
};

// Installs the INF's driver through the library. portName receives the port the
// driver was installed for, errorCode the library's last error. Raises
// TInstallError when the library or its FuncInst2K is missing.
bool InstallByLibrary(const TLibraryInstall& request, uint32_t& errorCode, std::string& portName);

// The helper's command line, with the INF and the 64-bit library given as
// configured (taken from the current directory) and expressed relative to the
// helper's folder.
std::string HelperCommandLineFor(const std::string& helperPath, uintptr_t ownerWindow,
                                 const std::string& infPath, const std::string& library64Path,
                                 const std::string& hardwareId);

// What StartHelper64 starts the helper for.
struct THelperStart {
  uintptr_t ownerWindow = 0;  // the window the helper reports to
  std::string helperPath;
  std::string infPath;
  std::string offlinePrefix;
  std::string library64Path;  // the library the helper loads
  std::string library32Path;  // the library that finds the connected printer here
  bool online = true;
  std::string offlinePort;  // the port of an offline install (empty: LPT1:)
};

// On 64-bit Windows: finds the port with the 32-bit library as InstallByLibrary
// does, then starts the 64-bit helper hidden in its own folder and hands back
// its process handle (empty when it could not be started). Does nothing on
// 32-bit Windows.
void StartHelper64(const THelperStart& request, ProcessHandle& processHandle,
                   std::string& portName);

}  // namespace pinst
