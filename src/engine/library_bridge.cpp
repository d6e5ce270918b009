#include "engine/library_bridge.h"

#include <array>
#include <cstring>

#include "base/win_path.h"
#include "config/lang_format.h"
#include "engine/hardware_ids.h"
#include "engine/helper_protocol.h"
#include "engine/install_error.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "sys/run_log.h"
#include "sys/win_version.h"

namespace pinst {

namespace {

constexpr const char* kParallelPort = "LPT1:";
constexpr size_t kUsbPortNameLength = 6;

std::string BufferText(const std::array<char, kDeviceTextSize>& buffer) {
  // Read no further than the buffer, whether or not the library ended the text.
  return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

struct InstallTarget {
  std::string hardwareId;
  std::string portName;
};

// The id and port a driver is installed for: the device questions shared by the
// in-process install and the helper start.
InstallTarget ChooseTarget(std::string hardwareId, const std::string& compatibleId,
                           const std::string& infPath, const std::string& offlinePrefix,
                           const std::string& libraryPath, bool online,
                           const std::string& offlinePort) {
  std::string deviceId;
  std::string portText;
  FindExistDevice(libraryPath, hardwareId, deviceId, portText);
  if (FindConnectedPrinter(infPath, libraryPath, portText) == kFoundByCompatibleId) {
    hardwareId = compatibleId;
  }
  InstallTarget target{std::move(hardwareId), portText.empty() ? kParallelPort : portText};
  if (!online) {
    target.hardwareId = offlinePrefix + target.hardwareId;
    target.portName = offlinePort.empty() ? kParallelPort : offlinePort;
  }
  return target;
}

// The library we ship keeps a log of its own steps in the temporary folder (the
// helper runs as the same user); a maker's own library may keep none.
void LogLibraryLogPlace() {
  LogLine("The shipped installer library logs its steps to " + Os().files->TempDirectory() +
          "inst2k.log");
}

}  // namespace

void SetLibraryErrorDisplay(const std::string& libraryPath, bool show) {
  LoadedLibrary library = Os().libraries->Load(Os().files->FullPath(libraryPath));
  if (!library) throw TInstallError(TInstallFault::kLibraryMissing, libraryPath);
  if (auto showErrorCode = library->ShowErrorCode()) (*showErrorCode)(show ? -1 : 0);
}

bool FindExistDevice(const std::string& libraryPath, const std::string& hardwareId,
                     std::string& deviceId, std::string& portText) {
  std::array<char, kDeviceTextSize> device{};
  std::array<char, kDeviceTextSize> port{};
  bool found = false;
  {
    LoadedLibrary library = Os().libraries->Load(libraryPath);
    if (library) {
      if (auto find = library->FuncFindExistDevice()) {
        // Only the lowest byte of the BOOL counts.
        found = ((*find)(hardwareId.c_str(), device.data(), port.data()) & 0xFF) != 0;
      }
    }
  }
  deviceId = BufferText(device);
  portText = BufferText(port);
  return found;
}

int FindConnectedPrinter(const std::string& infPath, const std::string& libraryPath,
                         std::string& portName) {
  std::string hardwareId;
  std::string compatibleId;
  ReadInfHardwareIds(infPath, hardwareId, compatibleId);
  std::string deviceId;
  std::string portText;
  int result = kFoundByHardwareId;
  if (!FindExistDevice(libraryPath, hardwareId, deviceId, portText)) {
    result = kFoundByCompatibleId;
    if (!FindExistDevice(libraryPath, compatibleId, deviceId, portText)) {
      portName.clear();
      return kNoDeviceFound;
    }
  }
  if (deviceId.find("USBPRINT") != std::string::npos) {
    portName = portText.size() > kUsbPortNameLength
                   ? portText.substr(portText.size() - kUsbPortNameLength)
                   : portText;
  } else if (deviceId.find("LPTENUM") != std::string::npos) {
    portName = kParallelPort;
  }
  return result;
}

uint32_t GetLastInstallError(ILibrary& library) {
  auto lastError = library.LastInstallErrorCode();
  return lastError ? (*lastError)() : 1;
}

bool InstallByLibrary(const TLibraryInstall& request, uint32_t& errorCode, std::string& portName) {
  const std::string& infPath = request.infPath;
  const std::string& libraryPath = request.libraryPath;
  std::string hardwareId;
  std::string compatibleId;
  ReadInfHardwareIds(infPath, hardwareId, compatibleId);
  LoadedLibrary library = Os().libraries->Load(libraryPath);
  if (!library) throw TInstallError(TInstallFault::kLibraryMissing, libraryPath);
  auto install = library->FuncInst2K();
  if (!install) throw TInstallError(TInstallFault::kLibraryFunctionMissing, libraryPath);

  InstallTarget target = ChooseTarget(hardwareId, compatibleId, infPath, request.offlinePrefix,
                                      libraryPath, request.online, request.offlinePort);
  portName = target.portName;
  if (request.beforeInstall) request.beforeInstall();
  LogLine("Installer library " + libraryPath + ": installing \"" + infPath + "\", hardware id " +
          target.hardwareId + ", port " + (portName.empty() ? "(none)" : portName));
  const int32_t result =
      (*install)(infPath.c_str(), target.hardwareId.c_str(), portName.c_str(), request.ownerWindow);
  errorCode = GetLastInstallError(*library);
  LogLine("Installer library answered " + std::to_string(result) +
          FormatCode(", last install error 0x%.8x", errorCode));
  LogLibraryLogPlace();
  return result <= 1;
}

std::string HelperCommandLineFor(const std::string& helperPath, uintptr_t ownerWindow,
                                 const std::string& infPath, const std::string& library64Path,
                                 const std::string& hardwareId) {
  IFiles& files = *Os().files;
  const uint32_t codePage = Os().system->GetAnsiCodePage();
  const std::string helperFolder = FolderOf(files.FullPath(helperPath), codePage);
  const std::string infArg = RelativePath(helperFolder, files.FullPath(infPath), codePage);
  const std::string dllArg =
      library64Path.empty() ? std::string()
                            : RelativePath(helperFolder, files.FullPath(library64Path), codePage);
  THelperRequest request;
  request.window = ownerWindow;
  request.dll = dllArg;
  request.inf = infArg;
  request.hardwareId = hardwareId;
  return BuildHelperCommandLine(helperPath, request);
}

void StartHelper64(const THelperStart& request, ProcessHandle& processHandle,
                   std::string& portName) {
  if (!IsWow64()) return;
  const std::string& helperPath = request.helperPath;
  std::string hardwareId;
  std::string compatibleId;
  ReadInfHardwareIds(request.infPath, hardwareId, compatibleId);
  const InstallTarget target =
      ChooseTarget(hardwareId, compatibleId, request.infPath, request.offlinePrefix,
                   request.library32Path, request.online, request.offlinePort);
  portName = target.portName;

  ProcessStartInfo info;
  info.commandLine = HelperCommandLineFor(helperPath, request.ownerWindow, request.infPath,
                                          request.library64Path, target.hardwareId);
  info.inheritHandles = true;
  info.creationFlags = kDetachedProcess;
  info.currentDirectory =
      FolderOf(Os().files->FullPath(helperPath), Os().system->GetAnsiCodePage());
  info.startupFlags = kStartfUseShowWindow | kStartfUseStdHandles;
  info.showWindow = kSwHide;
  processHandle = ProcessHandle(Os().processes->Start(info));
  LogLine(std::string(processHandle ? "64-bit helper started: " : "64-bit helper not started: ") +
          info.commandLine + " (port " + (portName.empty() ? "(none)" : portName) + ")");
  if (processHandle) LogLibraryLogPlace();
}

}  // namespace pinst
