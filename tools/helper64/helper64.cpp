// The 64-bit helper (Instavo64.exe), shipped in the release's X64 folder. It installs
// through the 64-bit installer library named by /Dll and posts exactly one report to the window of
// /Handle: WM_INSTALL_SUCCEEDED for success, WM_INSTALL_FAILED with the library's error code in
// LParam for failure. Its exit code carries the outcome as well, for a report that got lost: 0
// success, otherwise the error code (ERROR_INSTALL_FAILURE when the library gave none, or gave the
// value that reads as "still running").
//
// Every start appends its command line to Instavo64.log beside it. A test that needs
// a helper which ends without any report sets, in Instavo64.ini beside it:
//   [Helper]
//   ExitWithoutReport=0xC0000005      the exit code to end with, nothing posted
//   DelayMs=6000                      how long it works before it installs
#include <windows.h>

#include <string>

#include "common/tool_support.h"
#include "engine/helper_protocol.h"

namespace {

using namespace pinst::tools;

using FuncInst2KFn = int32_t(__stdcall*)(const char*, const char*, const char*, HWND);
using FuncFindExistDeviceFn = BOOL(__stdcall*)(const char*, char*, char*);
using ShowErrorCodeFn = void(__stdcall*)(BOOL);
using LastInstallErrorCodeFn = uint32_t(__stdcall*)();

template <typename Fn>
Fn Export(HMODULE library, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}

// The port a present device sits on: a USB printer's port is the last six characters of
// its port text; anything else, or no device at all, goes on the first parallel port.
std::string ChoosePort(FuncFindExistDeviceFn find, const std::string& hardwareId) {
  if (find == nullptr) return "LPT1:";
  char deviceId[260] = {};
  char portText[260] = {};
  if (!find(hardwareId.c_str(), deviceId, portText)) return "LPT1:";
  deviceId[259] = portText[259] = '\0';
  const std::string device = deviceId, port = portText;
  if (device.find("USBPRINT") == std::string::npos || port.empty()) return "LPT1:";
  return port.size() <= 6 ? port : port.substr(port.size() - 6);
}

struct Outcome {
  bool succeeded = false;
  uint32_t error = 0;  // for a failure: the code to report, which the library may leave 0
};

Outcome InstallThroughLibrary(const pinst::THelperRequest& request, HWND window) {
  const std::string folder = ModuleFolder(nullptr);
  if (request.dll.empty()) return {false, ERROR_MOD_NOT_FOUND};
  const std::string dllPath = AbsoluteFrom(folder, request.dll);
  HMODULE library = ::LoadLibraryExA(dllPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (library == nullptr) {
    const DWORD error = ::GetLastError();
    return {false, error != 0 ? error : static_cast<DWORD>(ERROR_MOD_NOT_FOUND)};
  }
  Outcome outcome{false, ERROR_PROC_NOT_FOUND};
  if (auto install = Export<FuncInst2KFn>(library, "FuncInst2K")) {
    // Nobody sees a hidden helper's message boxes, so the library must not show any.
    if (auto show = Export<ShowErrorCodeFn>(library, "ShowErrorCode")) show(FALSE);
    const std::string port = ChoosePort(
        Export<FuncFindExistDeviceFn>(library, "FuncFindExistDevice"), request.hardwareId);
    const std::string infPath = AbsoluteFrom(folder, request.inf);
    const int32_t result =
        install(infPath.c_str(), request.hardwareId.c_str(), port.c_str(), window);
    outcome.succeeded = result <= 1;
    outcome.error = 0;
    if (!outcome.succeeded) {
      auto last = Export<LastInstallErrorCodeFn>(library, "LastInstallErrorCode");
      outcome.error = last ? last() : 1;
    }
  }
  ::FreeLibrary(library);
  return outcome;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string folder = ModuleFolder(nullptr);
  AppendLine(folder + "Instavo64.log", ::GetCommandLineA());
  if (auto code = ParseUInt32(IniString(folder + "Instavo64.ini", "Helper", "ExitWithoutReport"))) {
    return static_cast<int>(*code);
  }
  if (auto delay = ParseUInt32(IniString(folder + "Instavo64.ini", "Helper", "DelayMs"))) {
    ::Sleep(*delay);
  }
  const pinst::THelperRequest request = pinst::ParseHelperCommandLine(::GetCommandLineA());
  if (request.window == 0) return ERROR_INVALID_PARAMETER;
  // A handle from a 32-bit program is a 32-bit value, widened with its sign.
  const HWND window =
      request.window <= 0xFFFFFFFFull
          ? reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<LONG>(request.window)))
          : reinterpret_cast<HWND>(static_cast<ULONG_PTR>(request.window));

  const Outcome outcome = request.complete ? InstallThroughLibrary(request, window)
                                           : Outcome{false, ERROR_INVALID_PARAMETER};
  if (outcome.succeeded) {
    ::PostMessageA(window, pinst::WM_INSTALL_SUCCEEDED, 0, 0);
    return 0;
  }
  ::PostMessageA(window, pinst::WM_INSTALL_FAILED, 0, static_cast<LPARAM>(outcome.error));
  const bool usable = outcome.error != 0 && outcome.error != STILL_ACTIVE;
  return usable ? static_cast<int>(outcome.error) : ERROR_INSTALL_FAILURE;
}
