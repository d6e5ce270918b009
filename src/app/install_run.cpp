// The install run: the questions, the removal of a printer of the same name, the
// search dialog, the rescan, and the driver install, in process on 32-bit
// Windows or through the 64-bit helper under WOW64.
#include "app/install_run.h"

#include "app/install_codes.h"
#include "app/quiet_host.h"
#include "base/scope_exit.h"
#include "base/win_path.h"
#include "config/inf_model_name.h"
#include "config/ini_file.h"
#include "config/lang_format.h"
#include "config/lang_strings.h"
#include "engine/hardware_ids.h"
#include "engine/install_error.h"
#include "engine/library_bridge.h"
#include "engine/printer_settings.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/shell.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "removal/driver_removal.h"
#include "removal/printer_removal.h"
#include "removal/printer_snapshot.h"
#include "spooler/printer_ops.h"
#include "sys/pause.h"
#include "sys/protected_print.h"
#include "sys/run_log.h"
#include "sys/service_control.h"
#include "sys/wait_limit.h"
#include "sys/win_version.h"

namespace pinst {

namespace {

constexpr int kWindows2000 = 50;

// Shown in every language: starting the service failed; after OK the computer
// restarts by itself.
const char kServiceRestartText[] =
    "\xB3\xCC\xD0\xF2\xC6\xF4\xB6\xAF\xB7\xFE\xCE\xF1\xCA\xA7\xB0\xDC\xA3\xAC\xB5\xE3\xBB\xF7\xC8"
    "\xB7\xB6\xA8\xBA\xF3\xD7\xD4\xB6\xAF\xD6\xD8\xD0\xC2\xC6\xF4\xB6\xAF\xA1\xA3";
const char kServiceRestartCaption[] = "Information";

// The folder of the program's own file, with its trailing backslash.
std::string ProgramFolder() {
  return FolderOf(Os().files->ModuleFileName(), Os().system->GetAnsiCodePage());
}

bool FileNamed(const std::string& path) { return !path.empty() && Os().files->FileExists(path); }

}  // namespace

void TInstallRun::Reset() {
  static_cast<TRunState&>(*this) = TRunState{};
  SetWaitLimit(mode_.commandLimitMs);
  ClearWaitTimedOut();
}

bool TInstallRun::EndedByTimeout() {
  const std::optional<std::string> what = WaitTimedOut();
  if (!what) return false;
  EndTimedOut(*what);
  return true;
}

void TInstallRun::EndTimedOut(const std::string& what) {
  LogLine("Timed out waiting for " + what + ": it was ended", TLogKind::kFailure);
  runEndedEarly = true;
  PutBackRemovedPrinter();
  TRunResult ended(TRunOutcome::kFailed, kErrorTimeout);
  ended.reason = TRunReason::kTimedOut;
  End(std::move(ended));
}

bool TInstallRun::CanStart() {
  // Windows would refuse the driver, and removes a maker's drivers already there.
  const TProtectedPrint protectedPrint = DetectProtectedPrint();
  if (protectedPrint.on) {
    LogLine("Windows protected print mode is on (" + protectedPrint.saidBy +
                "): no printer maker's driver can be installed; nothing changed",
            TLogKind::kFailure);
    return Refuse(TRunReason::kProtectedPrint);
  }
  if (!MachineHasModels()) return false;
  bool listRead = true;
  PrinterExists("", &listRead);
  const uint32_t error = listRead ? 0 : Os().spooler->GetLastError();
  if (error != kErrorSpoolerUnavailable) return true;
  LogLine(FormatCode("The print spooler does not answer (error 0x%.8x): nothing changed", error),
          TLogKind::kFailure);
  return Refuse(TRunReason::kSpoolerNotRunning, error);
}

bool TInstallRun::Refuse(TRunReason reason, uint32_t error) {
  TRunResult ended(TRunOutcome::kFailed, error);
  ended.reason = reason;
  End(std::move(ended));
  return false;
}

bool TInstallRun::MachineHasModels() {
  if (Os().system->GetNativeMachine() != NativeMachine::kArm64) return true;
  TOption option;
  if (!SelectedOption(option)) return true;
  const std::optional<std::string> bytes = ReadInfBytes(option.InstallSettingFile2K);
  // An INF that cannot be read is told by the install itself.
  if (!bytes) return true;
  const InfTarget target = CurrentInfTarget();
  if (InfListsModelsForMachine(TIniFile::Parse(*bytes, target.codePage), target)) return true;
  LogLine("Windows on ARM: " + option.InstallSettingFile2K +
              " lists no NTarm64 models, no driver for this machine; nothing changed",
          TLogKind::kFailure);
  return Refuse(TRunReason::kUnsupportedMachine);
}

void TInstallRun::ReturnToIdle() {
  FInstallState = kInstallIdle;
  FPrinterName.clear();
}

void TInstallRun::Leave() {
  if (--depth_ != 0) return;
  // Whatever ended the run (an error raised included), a port it made goes with it.
  if (!result.Installed() && !AwaitingHelper()) RemoveMadePort();
  host_.RunUnwound();
}

bool TInstallRun::SelectedOption(TOption& option) const {
  const TIniOptions* options = host_.Options();
  const int index = host_.SelectedModel();
  if (index < 0 || !options) {
    option = TOption();
    return false;
  }
  return options->GetOption(index, option);
}

std::string TInstallRun::SectionName(int index) const {
  const TIniOptions* options = host_.Options();
  return options ? options->Sections.at(static_cast<size_t>(index)) : "";
}

int TInstallRun::Ask(const std::string& text, const std::string& caption, uint32_t flags,
                     int quietAnswer) {
  const int answer = host_.Ask(text, caption, flags, quietAnswer);
  LogLine("Question: " + text + " -> " + AnswerName(answer) + (mode_.quiet ? " (/Quiet)" : ""));
  return answer;
}

void TInstallRun::Tell(const std::string& text, const std::string& caption, uint32_t flags) {
  // The box's icon says how the message reads: a stop is a failure.
  const uint32_t icon = flags & 0xF0;
  LogLine("Message: " + text, icon == kMbIconError     ? TLogKind::kFailure
                              : icon == kMbIconWarning ? TLogKind::kWarning
                                                       : TLogKind::kInfo);
  host_.Tell(text, caption, flags);
}

void TInstallRun::FinishRun() {
  host_.GiveWindowBack();
  FInstallState = kInstallFinished;
}

void TInstallRun::RunInstall(bool online) {
  TOption option;
  if (!SelectedOption(option)) return;
  const int index = host_.SelectedModel();
  const TLangStrings& lang = Lang();
  const bool quiet = option.QuiteMode || mode_.quiet;
  LogLine("Install of \"" + option.ModelName + "\" (section [" + SectionName(index) + "], " +
          option.InstallSettingFile2K + "), " + (online ? "online" : "offline"));
  if (online && quiet) LogLine("USB question not asked (quiet mode): Yes");
  if (online && !quiet &&
      Ask(lang.StrUsbConfirm, lang.StrNotice, kMbYesNo | kMbIconQuestion, kIdYes) != kIdYes) {
    result = TRunResult(TRunOutcome::kCancelled);
    return;
  }
  TScope scope(*this);
  result = TRunResult(TRunOutcome::kFailed);  // until a completion handler says otherwise
  host_.SetRunControlsEnabled(false);
  host_.ProcessMessages();
  host_.SetWaitCursor(true);
  host_.StartInstallingHint();
  // Under WOW64 the helper's report finishes the run, once it has been started;
  // a run that ends before then is given back to the user here.
  // A run that ends without its report (an error raised, a failure without a
  // code) puts back the printer it removed on Windows 2000 here.
  ScopeExit cleanUp([this] {
    if (AwaitingHelper()) return;
    const TOldPrinter before = oldPrinter;
    PutBackRemovedPrinter();
    TellOldPrinterFate(before);
    FinishRun();
  });

  RunRegSetTool(true, option.RegSetImage2000);
  const bool installed = InstallDriver(index, online, quiet);
  RunRegSetTool(false, option.RegSetImage2000);
  if (IsWow64() || runEndedEarly) return;
  if (installed) {
    WMInstallSucceeded();
  } else if (FErrorCode != 0) {
    WMInstallFailed(FErrorCode);
  }
}

bool TInstallRun::InstallDriver(int index, bool online, bool quiet) {
  FRemovedDriver.clear();
  bool installed = false;
  FInstallState = kInstalling;
  if (GetWinVersion() < kWindows2000) {
    LogLine("Windows older than Windows 2000: nothing installed");
    return false;
  }

  TOption option;
  if (const TIniOptions* options = host_.Options()) options->GetOption(index, option);
  const std::string& infPath = option.InstallSettingFile2K;
  std::string modelName;
  // Without the model's name the run cannot tell which printer it makes.
  if (!ReadInfModelName(infPath, modelName)) {
    throw TInstallError(TInstallFault::kModelUnreadable, infPath);
  }
  FFoundPort.clear();

  SetLibraryErrorDisplay(option.InstallDll2K, false);
  if (online) {
    const int found =
        FindConnectedPrinter(option.InstallSettingFile2K, option.InstallDll2K, FFoundPort);
    LogLine(found == kNoDeviceFound ? "Connected printer: none found"
                                    : "Connected printer: on " + FFoundPort);
    FReplaceExisting = true;
  }

  bool listRead = true;
  if (FReplaceExisting && PrinterExists(modelName, &listRead) &&
      !RemoveSameNamePrinter(modelName, quiet)) {
    runEndedEarly = true;
    return false;
  }
  if (!listRead) {
    // A printer of this name may be there: installing could put the model beside it.
    const uint32_t error = Os().spooler->GetLastError();
    LogLine("Cannot tell whether a printer named \"" + modelName +
            "\" exists: the printer list cannot be read" + FormatCode(" (error 0x%.8x)", error));
    WMInstallFailed(error);
    runEndedEarly = true;
    return false;
  }

  if (online && option.ForceOnlineCheck) online = SearchDialogStep(option, online);

  FPrinterName = modelName;
  runOnline = online;
  if (online) RescanStep();
  if (EndedByTimeout()) return false;

  if (!IsWow64()) {
    installed = InstallInProcess(option, infPath, online);
    FInstallState = kInstallFinished;
  } else {
    THelperStart helper;
    helper.ownerWindow = host_.OwnerWindow();
    helper.helperPath = option.InstallImage64;
    helper.infPath = infPath;
    helper.offlinePrefix = option.OfflineEnumPrefix;
    helper.library64Path = option.Installdll64;
    helper.library32Path = option.InstallDll2K;
    helper.online = online;
    helper.offlinePort = FChosenPort;
    StartHelper64(helper, FSetup64Process, FFoundPort);
    ++helperStarts;
    helperStartedAt = Os().system->TickCountMs();
    host_.SetHelperWatchdog(true);
    result = TRunResult(TRunOutcome::kAwaitingHelper);
  }
  return installed;
}

bool TInstallRun::SearchDialogStep(const TOption& option, bool online) {
  switch (host_.SearchForPrinter(option.PromptCheck)) {
    case TSearchAnswer::kNotShown:
      LogLine("Search dialog not shown (/Quiet): the install goes on online");
      return online;
    case TSearchAnswer::kOffline:
      LogLine("Search dialog cancelled: the install goes on offline");
      return false;
    case TSearchAnswer::kOnline:
      LogLine("Search dialog: online");
      return online;
    default:
      return online;
  }
}

void TInstallRun::RescanStep() {
  Pause({100});
  const int rescan = RescanDevices(IsWow64() ? ".\\X64\\devcon.exe" : ".\\i386\\devcon.exe");
  LogLine("Device rescan: " + std::string(rescan == kRescanNoStatus ? "no status shown"
                                          : rescan == kRescanNoLptDevice
                                              ? "no device on the parallel port"
                                              : "a device on the parallel port"));
  Pause({100, 0, 50, 0, 100});
}

bool TInstallRun::RemoveSameNamePrinter(const std::string& modelName, bool quiet) {
  const TLangStrings& lang = Lang();
  bool removed = false;
  LogLine("A printer named \"" + modelName + "\" exists" +
          (quiet ? ": replace question not asked (quiet mode): OK" : ""));
  if (!quiet && Ask(lang.StrSameName + modelName + "\r\n" + lang.StrUpgradeQuestion, lang.StrNotice,
                    kMbOkCancel | kMbIconQuestion, kIdOk) != kIdOk) {
    // Told as a cancel by the user, once: the run then ends without another report.
    EndFailed(kErrorInstallCancelled, false);
  } else {
    std::string driver;
    GetPrinterDriver(modelName, driver);
    TPrinterSnapshot snapshot;
    if (!TakePrinterSnapshot(modelName, snapshot)) {
      // A printer removed without its record could never be put back.
      const uint32_t error = Os().spooler->GetLastError();
      LogLine("The printer \"" + modelName + "\" cannot be read" +
              FormatCode(" (error 0x%.8x)", error) + ": not removed, nothing changed");
      TRunResult ended(TRunOutcome::kFailed, error);
      ended.reason = TRunReason::kPrinterNotRecorded;
      ended.printer = modelName;
      End(std::move(ended));
      return false;
    }
    const uint32_t removal = DeletePrinterByName(modelName);
    if (removal == kPrinterDeleted) {
      removed = true;
      FRemovedPrinter = std::move(snapshot);
      oldPrinter = TOldPrinter::kRemoved;
      LogLine("Printer \"" + modelName + "\" removed (driver " + driver + ")");
      // Its driver goes just before the install (see InstallInProcess).
      if (GetWinVersion() == kWindows2000) FRemovedDriver = driver;
    } else if (removal == kPrinterHasJobs) {
      LogLine("Printer \"" + modelName + "\" still has jobs: kept, nothing installed");
      if (!quiet) Tell(lang.StrPrinterBusy, lang.StrNotice, kMbOk | kMbIconError);
    } else {
      LogLine("Printer \"" + modelName + "\" could not be removed: nothing installed");
    }
  }
  Pause({500, 0, 100, 0, 100});
  return removed;
}

bool TInstallRun::InstallInProcess(const TOption& option, const std::string& infPath, bool online) {
  if (!option.ServiceName.empty()) {
    LogLine("Stopping the service " + option.ServiceName +
            (option.ForceUninstallService ? " and removing it" : ""));
  }
  StopMonitorService(option.ServiceName, option.ServiceExe, option.ForceUninstallService);
  if (EndedByTimeout()) return false;
  Pause({100, 0, 50, 0, 100});
  SetLibraryErrorDisplay(option.InstallDll2K, false);
  // Windows 2000: the removed printer's driver is deleted only once the library
  // is loaded and about to install, so a run that ends before then can still
  // put the printer back on it.
  const auto deleteOldDriver = [this] {
    if (FRemovedDriver.empty()) return;
    LogLine("Driver " + FRemovedDriver +
            (DeletePrnDriver(FRemovedDriver) ? " deleted" : " not deleted"));
  };
  TLibraryInstall request;
  request.ownerWindow = host_.OwnerWindow();
  request.infPath = infPath;
  request.offlinePrefix = option.OfflineEnumPrefix;
  request.libraryPath = option.InstallDll2K;
  request.online = online;
  request.beforeInstall = deleteOldDriver;
  request.offlinePort = FChosenPort;
  if (!InstallByLibrary(request, FErrorCode, FFoundPort)) {
    return false;
  }
  Pause({100, 0, 100});
  if (FileNamed(option.AfterRun)) {
    LogLine("AfterRun " + option.AfterRun + " started");
    Os().shell->WinExec(option.AfterRun, kShowCmdHide);
  }
  // The driver is in: a service that does not start in time is one that did not
  // start, and the printer is still finished.
  if (!option.ServiceName.empty()) StartMonitorServiceOrRestart(option);
  return true;
}

void TInstallRun::StartMonitorServiceOrRestart(const TOption& option) {
  bool started = StartMonitorService(option.ServiceName, option.ServiceExe);
  // A start that ran past the limit gets no second wait.
  const std::optional<std::string> timedOut = WaitTimedOut();
  if (!started && !timedOut) {
    Pause({100, 0, 100});
    started = StartMonitorService(option.ServiceName, option.ServiceExe);
  }
  if (started) {
    LogLine("Service " + option.ServiceName + " started");
    return;
  }
  if (timedOut) {
    LogLine("Timed out waiting for " + *timedOut + ": it was ended; the service " +
                option.ServiceName + " did not start in time",
            TLogKind::kWarning);
  }
  if (mode_.noRestart) {
    LogLine("Service " + option.ServiceName +
                " did not start: a restart is needed (/NoRestart: Setup.bat not started)",
            TLogKind::kWarning);
    restartNeeded = true;
    return;
  }
  LogLine("Service " + option.ServiceName + " did not start: Setup.bat restarts the computer",
          TLogKind::kWarning);
  Tell(kServiceRestartText, kServiceRestartCaption, kMbOk | kMbIconInformation);
  // The doubled backslash after the folder is accepted by Windows.
  Os().shell->WinExec(ProgramFolder() + "\\Setup.bat", mode_.quiet ? kShowCmdHide : kShowCmdShow);
  // Whoever started the run learns that the computer is going down.
  restartStarted = true;
}

}  // namespace pinst
