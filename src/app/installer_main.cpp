#include "app/installer_main.h"

#include "app/command_line.h"
#include "app/install_codes.h"
#include "app/installer_windows.h"
#include "app/run_log_start.h"
#include "app/run_result.h"
#include "app/switch_commands.h"
#include "config/lang_format.h"
#include "config/lang_strings.h"
#include "pi_version.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "sys/run_log.h"
#include "ui/application.h"

namespace pinst {

namespace {

// The usage box, its caption naming the version; above the usage, the argument
// that was no switch and the one it was probably meant to be.
void ShowUsage(uint32_t icon, const TCommandLine::TNearMiss* miss = nullptr) {
  const TLangStrings& lang = Lang();
  std::string text = lang.StrUsage;
  if (miss) {
    text = FormatText(lang.StrUnknownSwitch, miss->argument) + "\r\n" +
           FormatText(lang.StrDidYouMean, miss->meant) + "\r\n\r\n" + text;
  }
  ui::MessageDlg(nullptr, text, lang.StrInstallerTitle + " " + kProductVersion, kMbOk | icon);
}

// How the exit code's line reads in the log: a restart, a cancel or a run to try
// again later are to be looked at, the codes of a run that did not do its job failed.
TLogKind ExitCodeKind(int exitCode) {
  switch (exitCode) {
    case kExitInstalled:
    case kExitUnknownProduct:  // the answer of /Check, or nothing left to remove
      return TLogKind::kInfo;
    case kExitRestartNeeded:
    case kExitRestartStarted:
    case kExitCancelled:
    case kExitAlreadyRunning:
      return TLogKind::kWarning;
    default:
      return TLogKind::kFailure;
  }
}

int Finish(int exitCode) {
  LogLine("Exit code " + std::to_string(exitCode), ExitCodeKind(exitCode));
  RunLog().Close();
  return exitCode;
}

}  // namespace

int RunInstaller(const std::vector<std::string>& args) {
  InitLangStrings(Os().system->GetSystemDefaultLangID());
  const TCommandLine commandLine = ParseCommandLine(args);
  // One run that changes the machine at a time: a deployment retry or a second
  // double-click while one is in progress ends at once. Runs that only look
  // take no part.
  const bool readOnly = commandLine.help || commandLine.check || commandLine.list ||
                        commandLine.verify || commandLine.invalid;
  std::unique_ptr<IInstanceLock> lock;
  if (!readOnly) lock = Os().system->LockInstance(kRunMutexName);
  if (!readOnly && !lock) {
    OpenRunLog(commandLine, args);
    LogLine("Another run of the installer is in progress: try again later", TLogKind::kWarning);
    if (!commandLine.hide) Os().system->ActivateWindowOfClass(kMainWindowClass);
    return Finish(kExitAlreadyRunning);
  }
  if (commandLine.invalid) {
    // A mistyped switch must not turn into a visible run that waits for a click,
    // nor into a box that waits where no one is there to click it.
    OpenRunLog(commandLine, args);
    LogLine("Not a switch of this program: the command line is refused", TLogKind::kFailure);
    if (!commandLine.NobodyWatches()) {
      ShowUsage(kMbIconError,
                commandLine.nearMisses.empty() ? nullptr : &commandLine.nearMisses.front());
    }
    return Finish(kExitInvalidCommandLine);
  }
  if (commandLine.help) {
    // Under /Quiet no box is shown, not even this one.
    if (!commandLine.quiet) {
      ShowUsage(kMbIconInformation);
    }
    return kExitInstalled;
  }
  if (commandLine.check || commandLine.list || commandLine.uninstall || commandLine.verify) {
    return Finish(RunSwitchCommand(commandLine, args));
  }

  TInstallerWindows windows(args);
  TMainForm& mainForm = windows.Main;
  // The main window's caption: the text table's title, or brand.ini's Caption.
  ui::Application().Title = mainForm.Caption();

  if (mainForm.ModelSwitchUnknown()) {
    const std::string text = FormatText(Lang().StrUnknownModel, *commandLine.model);
    LogLine("Message: " + text);
    if (!commandLine.quiet) mainForm.Tell(text, Lang().StrInstallerTitle, kMbOk | kMbIconError);
    return Finish(kExitNothingToInstall);
  }
  // Hidden, with no automatic install armed, the program could show nothing,
  // start nothing and never end; whoever started it would wait for ever.
  if (mainForm.FHideMode && mainForm.FAutoIndex < 0) {
    LogLine("Nothing to install: no model is marked AutoMode in install.ini and no /Model= given",
            TLogKind::kFailure);
    return Finish(kExitNothingToInstall);
  }

  ui::Application().Run();
  const TRunResult& result = mainForm.Run().Result();
  LogLine(OutcomeLine(result), OutcomeKind(result));
  return Finish(mainForm.ExitCode());
}

}  // namespace pinst
