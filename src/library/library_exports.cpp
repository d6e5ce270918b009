#include "library/library_exports.h"

#include <string>

#include "config/ini_file.h"
#include "library/device_search.h"
#include "library/driver_install.h"
#include "library/install_log.h"
#include "library/library_codes.h"
#include "platform/files.h"
#include "platform/libraries.h"
#include "platform/platform.h"
#include "platform/system.h"

namespace pinst {

namespace {

uint32_t g_lastError = 0;

std::string Text(const char* text) { return text ? text : ""; }

std::string SettingsPath() { return Os().files->TempDirectory() + "inst2k.ini"; }

bool ShowErrors() {
  const std::optional<TIniFile> ini = TIniFile::Load(SettingsPath());
  return ini && ini->ReadBool("inst2k", "ShowErrorCode", false);
}

// Copies at most 259 bytes and a terminating zero.
void CopyOut(char* buffer, const std::string& text) {
  if (!buffer) return;
  const size_t n = text.size() < kDeviceTextSize - 1 ? text.size() : kDeviceTextSize - 1;
  text.copy(buffer, n);
  buffer[n] = '\0';
}

}  // namespace

int32_t LibraryFuncInst2K(const char* infPath, const char* hardwareId, const char* portName,
                          uintptr_t ownerWindow) {
  TInstallLog log;
  log.Line("FuncInst2K " + Os().system->LocalDateTimeText() + " inf=\"" + Text(infPath) +
           "\" hwid=\"" + Text(hardwareId) + "\" port=\"" + Text(portName) + "\"");
  uint32_t code =
      InstallFromInf({Text(infPath), Text(hardwareId), Text(portName), ownerWindow}, log);
  g_lastError = code;
  log.Code("FuncInst2K ends", code);
  if (code == 0) return kLibResultSuccess;
  if (ShowErrors()) {
    Os().system->ShowMessageBox(ownerWindow, "FuncInst2K: " + HexCode(code), "inst2k",
                                kMbOk | kMbIconError);
  }
  return kLibResultFailure;
}

uint32_t LibraryFuncFindExistDevice(const char* hardwareId, char* deviceId, char* portText) {
  uint32_t error = 0;
  const std::optional<TFoundDevice> found = FindPresentDevice(Text(hardwareId), error);
  CopyOut(deviceId, found ? found->instanceId : "");
  CopyOut(portText, found ? found->portText : "");
  TInstallLog log;
  log.Line("FuncFindExistDevice hwid=\"" + Text(hardwareId) + "\" -> " +
           (found ? found->instanceId + " port \"" + found->portText + "\"" : "none") +
           (error != 0 ? " (device list: " + HexCode(error) + ")" : ""));
  return found ? 1 : 0;
}

void LibraryShowErrorCode(int32_t show) {
  Os().files->WriteWholeFile(
      SettingsPath(), std::string("[inst2k]\r\nShowErrorCode=") + (show ? "1" : "0") + "\r\n");
  TInstallLog().Line("ShowErrorCode show=" + std::to_string(show));
}

uint32_t LibraryLastInstallErrorCode() { return g_lastError; }

}  // namespace pinst
