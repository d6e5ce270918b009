// Scripted test double of the installer library, never shipped (staged as inst2k.dll and
// inst2k64.dll for the tests that script devices and results; the real library is built
// from src/inst2k_main.cpp). It does not
// stage drivers for real devices: it answers device questions from inst2k.ini beside
// it (see inst2k_config.h), adds a printer of the INF's model name through the
// spooler, and appends one line per call to inst2k.log beside it. The time each call
// spent goes to inst2k.time, so a benchmark can tell the library's work from the
// installer's (kept apart from the log, whose lines tests compare whole).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/tool_support.h"
#include "scripted_inst2k/inst2k_config.h"
#include "scripted_inst2k/printer_setup.h"

namespace {

using namespace pinst::tools;

// SetupAPI: no device with the hardware id is present.
constexpr uint32_t kErrorNoSuchDevinst = 0xE000020B;
constexpr size_t kOutputBufferSize = 260;

HMODULE g_module = nullptr;
bool g_showErrors = false;
uint32_t g_lastError = 0;

std::string ConfigPath() { return ModuleFolder(g_module) + "inst2k.ini"; }

void Log(const std::string& line) { AppendLine(ModuleFolder(g_module) + "inst2k.log", line); }

// Writes "NAME MS" to inst2k.time when it goes out of scope.
class WorkTimer {
 public:
  explicit WorkTimer(const char* name) : name_(name) { ::QueryPerformanceCounter(&start_); }
  WorkTimer(const WorkTimer&) = delete;
  WorkTimer& operator=(const WorkTimer&) = delete;
  ~WorkTimer() {
    LARGE_INTEGER end, frequency;
    ::QueryPerformanceCounter(&end);
    ::QueryPerformanceFrequency(&frequency);
    const double ms = 1000.0 * static_cast<double>(end.QuadPart - start_.QuadPart) /
                      static_cast<double>(frequency.QuadPart);
    char text[64];
    std::snprintf(text, sizeof text, "%s %.3f", name_, ms);
    AppendLine(ModuleFolder(g_module) + "inst2k.time", text);
  }

 private:
  const char* name_;
  LARGE_INTEGER start_{};
};

std::string Arg(const char* text) { return text ? "\"" + std::string(text) + "\"" : "(null)"; }

// Copies text into a caller's 260-byte buffer, cut so it always ends with a zero.
void CopyOut(char* buffer, const std::string& text) {
  if (buffer == nullptr) return;
  const size_t n = text.size() < kOutputBufferSize - 1 ? text.size() : kOutputBufferSize - 1;
  text.copy(buffer, n);
  buffer[n] = '\0';
}

// An id with an enumerator in front ("LPTOFFLINE\...", "SERENUM\...") asks for a
// device node of its own; a bare id asks for a present device.
bool IsOfflineId(const std::string& hardwareId) {
  return hardwareId.find('\\') != std::string::npos;
}

struct Outcome {
  int32_t result = 0;
  uint32_t error = 0;
  std::vector<std::string> notes;
};

Outcome Install(const std::string& inf, const std::string& hardwareId, const std::string& port) {
  const Inst2kConfig config = ReadInst2kConfig(ConfigPath());
  if (config.fixedResult) {
    return {*config.fixedResult, config.fixedErrorCode, {"fixed outcome from inst2k.ini"}};
  }
  if (!IsOfflineId(hardwareId) && FindDevice(config, hardwareId) == nullptr) {
    return {2, kErrorNoSuchDevinst, {}};
  }
  const std::string infPath = AbsoluteFrom("", inf);  // from the current directory
  InfModel model;
  if (const uint32_t error = ReadInfModel(infPath, model); error != 0) {
    return {2, error, {"cannot read the model from " + infPath}};
  }
  PrinterSetup setup = InstallPrinter(infPath, model, port);
  if (setup.error == 0) {
    setup.notes.push_back("printer \"" + model.name + "\" on \"" + setup.port + "\"");
  }
  return {setup.error == 0 ? 0 : 2, setup.error, setup.notes};
}

}  // namespace

extern "C" {

__declspec(dllexport) int32_t __stdcall FuncInst2K(const char* infPath, const char* hardwareId,
                                                   const char* portName, HWND owner) {
  const WorkTimer timer("FuncInst2K");
  Outcome outcome =
      Install(infPath ? infPath : "", hardwareId ? hardwareId : "", portName ? portName : "");
  g_lastError = outcome.error;
  Log("FuncInst2K inf=" + Arg(infPath) + " hwid=" + Arg(hardwareId) + " port=" + Arg(portName) +
      " owner=" + std::to_string(reinterpret_cast<uintptr_t>(owner)) + " -> " +
      std::to_string(outcome.result) + " error=" + Hex32(outcome.error));
  for (const std::string& note : outcome.notes) Log("  " + note);
  if (outcome.result > 1 && g_showErrors) {
    const std::string text =
        "Test installer library: installation failed (" + Hex32(outcome.error) + ").";
    ::MessageBoxA(owner, text.c_str(), "inst2k", MB_OK | MB_ICONSTOP);
  }
  return outcome.result;
}

__declspec(dllexport) BOOL
    __stdcall FuncFindExistDevice(const char* hardwareId, char* deviceId, char* portText) {
  const WorkTimer timer("FuncFindExistDevice");
  const Inst2kConfig config = ReadInst2kConfig(ConfigPath());
  const FakeDevice* device = FindDevice(config, hardwareId ? hardwareId : "");
  CopyOut(deviceId, device ? device->deviceId : "");
  CopyOut(portText, device ? device->portText : "");
  Log("FuncFindExistDevice hwid=" + Arg(hardwareId) + " -> " + (device ? "1" : "0") +
      (device
           ? " device=" + Arg(device->deviceId.c_str()) + " port=" + Arg(device->portText.c_str())
           : ""));
  return device ? TRUE : FALSE;
}

__declspec(dllexport) void __stdcall ShowErrorCode(BOOL show) {
  const WorkTimer timer("ShowErrorCode");
  g_showErrors = show != FALSE;
  Log("ShowErrorCode show=" + std::to_string(static_cast<int>(show)));
}

__declspec(dllexport) uint32_t __stdcall LastInstallErrorCode() {
  const WorkTimer timer("LastInstallErrorCode");
  Log("LastInstallErrorCode -> " + Hex32(g_lastError));
  return g_lastError;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_module = instance;
  return TRUE;
}

}  // extern "C"
