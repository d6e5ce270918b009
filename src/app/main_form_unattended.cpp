// What makes a run that no one watches readable and safe: the run log, the
// questions and messages of a run (logged, and answered by themselves under
// /Quiet).
#include "app/main_form.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "sys/run_log.h"
#include "sys/win_version.h"
#include "ui/application.h"

namespace pinst {

namespace {

std::string AnswerName(int answer) {
  switch (answer) {
    case kIdOk:
      return "OK";
    case kIdCancel:
      return "Cancel";
    case kIdYes:
      return "Yes";
    case kIdNo:
      return "No";
    default:
      return std::to_string(answer);
  }
}

std::string Joined(const std::vector<std::string>& args) {
  std::string text;
  for (const std::string& arg : args) text += " " + arg;
  return text;
}

}  // namespace

std::optional<int> QuietBoxAnswer(const std::string& text, const std::string& caption,
                                  uint32_t flags) {
  int answer = kIdOk;
  switch (flags & 0xF) {
    case kMbOkCancel:
    case kMbYesNoCancel:
      answer = kIdCancel;
      break;
    case kMbYesNo:
      answer = kIdNo;
      break;
    default:
      break;
  }
  LogLine("Box not shown (" + caption + "): " + text + " -> " + AnswerName(answer));
  return answer;
}

void TMainForm::OpenRunLog() {
  if (RunLog().IsOpen()) return;
  const std::string fallback = Os().files->TempDirectory() + kDefaultLogName;
  const std::string asked = FCommandLine.logFile.value_or(std::string());
  bool opened = !asked.empty() && RunLog().Open(asked);
  if (!opened) opened = RunLog().Open(fallback);
  if (!opened) {
    Os().system->DebugOutput("Cannot write the log " + fallback);
    return;
  }
  LogLine("Printer Installer started:" + Joined(args_));
  if (!asked.empty() && RunLog().Path() != asked) LogLine("Cannot write the log " + asked);
  const OsVersion version = Os().system->GetVersion();
  LogLine("Windows " + std::to_string(version.major) + "." + std::to_string(version.minor) +
          (IsWow64() ? ", WOW64: yes" : ", WOW64: no") + ", folder " +
          Os().files->CurrentDirectory());
}

int TMainForm::Ask(const std::string& text, const std::string& caption, uint32_t flags,
                   int quietAnswer) {
  const int answer = FQuietMode ? quietAnswer : ui::MessageDlg(this, text, caption, flags);
  LogLine("Question: " + text + " -> " + AnswerName(answer) + (FQuietMode ? " (/Quiet)" : ""));
  return answer;
}

void TMainForm::Tell(const std::string& text, const std::string& caption, uint32_t flags) {
  LogLine("Message: " + text);
  if (!FQuietMode) ui::MessageDlg(this, text, caption, flags);
}

}  // namespace pinst
