#include "app/run_log_start.h"

#include "base/ansi_text.h"
#include "base/win_path.h"
#include "pi_version.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "sys/run_log.h"
#include "sys/win_version.h"

namespace pinst {

std::vector<std::string> DefaultLogPlaces() {
  IFiles& files = *Os().files;
  const uint32_t codePage = Os().system->GetAnsiCodePage();
  const std::string windows = FolderOf(files.SystemDirectory(), codePage);
  std::vector<std::string> places{windows + "Logs\\" + kDefaultLogName};
  const std::string temp = files.TempDirectory();
  if (!temp.empty() && !EqualsNoCase(temp, windows + "Temp\\", codePage)) {
    places.push_back(temp + kDefaultLogName);
  }
  return places;
}

void OpenRunLog(const TCommandLine& commandLine, const std::vector<std::string>& args) {
  if (RunLog().IsOpen()) return;
  const std::string asked = commandLine.logFile.value_or(std::string());
  const TLogFormat format = commandLine.logFormat.value_or(TLogFormat::kPlain);
  bool opened = !asked.empty() && RunLog().Open(asked, format);
  const std::vector<std::string> places = DefaultLogPlaces();
  for (const std::string& place : places) {
    if (opened) break;
    std::string folder = FolderOf(place, Os().system->GetAnsiCodePage());
    if (!folder.empty()) folder.pop_back();  // its trailing backslash
    Os().files->CreateFolder(folder);
    opened = RunLog().Open(place, format);
  }
  if (!opened) {
    Os().system->DebugOutput("Cannot write the log " + places.front());
    return;
  }
  std::string joined;
  for (const std::string& arg : args) joined += " " + arg;
  LogLine(std::string("Printer Installer ") + kProductVersion + " started:" + joined);
  if (!RunLog().RotatedTo().empty()) {
    LogLine("The log had passed " + std::to_string(kLogBoundBytes / 1024) +
            " KB: its earlier lines are in " + RunLog().RotatedTo());
  }
  if (!asked.empty() && RunLog().Path() != asked) {
    LogLine("Cannot write the log " + asked, TLogKind::kWarning);
  }
  for (const std::string& arg : commandLine.unknown) {
    std::string meant;
    for (const TCommandLine::TNearMiss& miss : commandLine.nearMisses) {
      if (miss.argument == arg) meant = " (did you mean " + miss.meant + "?)";
    }
    LogLine(
        "Unknown argument" + std::string(commandLine.invalid ? ": " : " ignored: ") + arg + meant,
        commandLine.invalid ? TLogKind::kFailure : TLogKind::kWarning);
  }
  if (!commandLine.portRefusal.empty()) {
    LogLine("Refused: " + commandLine.portRefusal, TLogKind::kFailure);
  }
  const OsVersion version = Os().system->GetVersion();
  LogLine("Windows " + std::to_string(version.major) + "." + std::to_string(version.minor) +
          (IsWow64() ? ", WOW64: yes" : ", WOW64: no") + ", folder " +
          Os().files->CurrentDirectory());
}

}  // namespace pinst
