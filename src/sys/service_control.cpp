#include "sys/service_control.h"

#include "platform/files.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "sys/run_cmd.h"
#include "sys/win_version.h"

namespace pinst {

namespace {

// The version at and below which the service is driven with net.
constexpr int kLastNetVersion = 50;

bool Contains(const StringList& output, const char* text) {
  return JoinOutput(output).find(text) != std::string::npos;
}

bool ShowsStarted(const StringList& output) {
  return Contains(output, "started successfully") || Contains(output, ": 2  START_PENDING");
}

}  // namespace

void StopMonitorService(const std::string& serviceName, const std::string& serviceExe,
                        bool remove) {
  if (serviceName.empty()) return;
  if (GetWinVersion() <= kLastNetVersion) {
    NetStopService(serviceName, serviceExe, remove);
  } else {
    ScStopService(serviceName, serviceExe, remove);
  }
}

bool StartMonitorService(const std::string& serviceName, const std::string& serviceExe) {
  if (serviceName.empty()) return false;
  if (GetWinVersion() <= kLastNetVersion) return NetStartService(serviceName, serviceExe);
  return ScStartService(serviceName, serviceExe);
}

void ScStopService(const std::string& serviceName, const std::string&, bool remove) {
  StringList output;
  if (RunCMD("sc query " + serviceName, output) <= 0 || !Contains(output, "SERVICE_NAME: ")) {
    return;
  }
  output.clear();
  RunCMD("sc stop " + serviceName, output);
  Os().system->Sleep(100);
  if (remove) {
    output.clear();
    RunCMD("sc delete " + serviceName, output);
  }
}

bool ScStartService(const std::string& serviceName, const std::string& serviceExe) {
  StringList output;
  if (RunCMD("sc query " + serviceName, output) <= 0) return false;
  if (Contains(output, "FAILED 1060")) RunCMD(serviceExe + " /install /silent", output);
  output.clear();
  RunCMD("sc start " + serviceName, output);
  return Contains(output, ": 4  RUNNING") || Contains(output, ": 2  START_PENDING");
}

void NetStopService(const std::string& serviceName, const std::string& serviceExe, bool remove) {
  if (!Os().files->FileExists(serviceExe)) return;
  StringList output;
  if (RunCMD("net stop " + serviceName, output) > 0 && Contains(output, "could not be stopped")) {
    output.clear();
    RunCMD("net stop " + serviceName, output);
    Os().system->Sleep(300);
  }
  if (remove) {
    output.clear();
    RunCMD(serviceExe + " /uninstall /silent ", output);
  }
}

bool NetStartService(const std::string& serviceName, const std::string& serviceExe) {
  StringList output;
  if (RunCMD("net start " + serviceName, output) > 0 && ShowsStarted(output)) return true;
  RunCMD(serviceExe + " /install /silent", output);
  output.clear();
  RunCMD("net start " + serviceName, output);
  return ShowsStarted(output);
}

}  // namespace pinst
