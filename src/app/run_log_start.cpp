#include "app/run_log_start.h"

#include "pi_version.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "sys/run_log.h"
#include "sys/win_version.h"

namespace pinst {

void OpenRunLog(const TCommandLine& commandLine, const std::vector<std::string>& args) {
  if (RunLog().IsOpen()) return;
  const std::string fallback = Os().files->TempDirectory() + kDefaultLogName;
  const std::string asked = commandLine.logFile.value_or(std::string());
  bool opened = !asked.empty() && RunLog().Open(asked);
  if (!opened) opened = RunLog().Open(fallback);
  if (!opened) {
    Os().system->DebugOutput("Cannot write the log " + fallback);
    return;
  }
  std::string joined;
  for (const std::string& arg : args) joined += " " + arg;
  LogLine(std::string("Printer Installer ") + kProductVersion + " started:" + joined);
  if (!asked.empty() && RunLog().Path() != asked) LogLine("Cannot write the log " + asked);
  for (const std::string& arg : commandLine.unknown) {
    LogLine("Unknown argument" + std::string(commandLine.invalid ? ": " : " ignored: ") + arg);
  }
  if (!commandLine.portRefusal.empty()) LogLine("Refused: " + commandLine.portRefusal);
  const OsVersion version = Os().system->GetVersion();
  LogLine("Windows " + std::to_string(version.major) + "." + std::to_string(version.minor) +
          (IsWow64() ? ", WOW64: yes" : ", WOW64: no") + ", folder " +
          Os().files->CurrentDirectory());
}

}  // namespace pinst
