// The Install button and the install run: the questions, the removal of a printer
// of the same name, the search dialog, the rescan, and the driver install, in
// process on 32-bit Windows or through the 64-bit helper under WOW64.
#include <stdexcept>

#include "app/install_codes.h"
#include "app/main_form.h"
#include "base/scope_exit.h"
#include "base/win_path.h"
#include "config/inf_model_name.h"
#include "config/lang_strings.h"
#include "dialogs/search_form.h"
#include "engine/hardware_ids.h"
#include "engine/library_bridge.h"
#include "engine/printer_settings.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/shell.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "removal/driver_removal.h"
#include "removal/printer_removal.h"
#include "spooler/printer_ops.h"
#include "sys/run_log.h"
#include "sys/service_control.h"
#include "sys/win_version.h"
#include "ui/application.h"

namespace pinst {

namespace {

// How long the automatic install waits once the user has taken over.
constexpr uint32_t kAutoInstallParkedMs = 3600000;
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

void TMainForm::EnterRun() { ++runDepth_; }

void TMainForm::LeaveRun() {
  if (--runDepth_ > 0 || !closePending_) return;
  closePending_ = false;
  Close();
}

void TMainForm::SetRunControlsEnabled(bool enabled) {
  BbtnStart.SetEnabled(enabled);
  BbtnExit.SetEnabled(enabled);
  LvPrinters.SetEnabled(enabled);
}

void TMainForm::FinishRun() {
  if (!FHideMode) Show();
  FInstallState = kInstallFinished;
  SetRunControlsEnabled(true);
  ui::Application().SetBusyCursor(false);
  BbtnExit.SetFocus();
}

void TMainForm::BbtnStartClick() {
  TmrAutoInstall.SetInterval(kAutoInstallParkedMs);
  TmrAutoInstall.SetEnabled(false);
  // A double-click on the list or a key press must not start a second run.
  if (RunInProgress()) return;
  EnterRun();
  ScopeExit leave([this] { LeaveRun(); });
  if (!FHideMode) SetTopMost(true);
  ScopeExit notTopMost([this] {
    if (!FHideMode) SetTopMost(false);
  });
  TOption option;
  if (!SelectedOption(option)) return;
  InstallWebPrintControl(ProgramFolder() + ".\\i386\\WebPrint.ocx");
  ui::Application().ProcessMessages();
  if (FileNamed(option.BeforeRun)) {
    Os().shell->Execute(Handle(), "open", option.BeforeRun, "", "", kShowCmdHide);
  }
  RunInstall(true);
}

void TMainForm::RunInstall(bool online) {
  TOption option;
  if (!SelectedOption(option)) return;
  const int index = LvPrinters.ItemIndex();
  const TLangStrings& lang = Lang();
  const bool quiet = option.QuiteMode || FQuietMode;
  LogLine("Install of \"" + option.ModelName + "\" (section [" +
          (FOptions ? FOptions->Sections.at(static_cast<size_t>(index)) : "") + "], " +
          option.InstallSettingFile2K + "), " + (online ? "online" : "offline"));
  if (online && quiet) LogLine("USB question not asked (quiet mode): Yes");
  if (online && !quiet &&
      Ask(lang.StrUsbConfirm, lang.StrNotice, kMbYesNo | kMbIconQuestion, kIdYes) != kIdYes) {
    outcome_ = TRunOutcome::kCancelled;
    return;
  }
  EnterRun();
  ScopeExit leave([this] { LeaveRun(); });
  outcome_ = TRunOutcome::kFailed;  // until a completion handler says otherwise
  runEndedEarly_ = false;
  SetRunControlsEnabled(false);
  ui::Application().ProcessMessages();
  ui::Application().SetBusyCursor(true);
  TimerInstallingHints.SetEnabled(true);
  // Under WOW64 the helper's report finishes the run, once it has been started;
  // a run that ends before then is given back to the user here.
  // A run that ends without its report (an error raised, a failure without a
  // code) puts back the printer it removed on Windows 2000 here.
  ScopeExit cleanUp([this] {
    if (awaitingHelper_) return;
    PutBackRemovedPrinter(FPrinterName, FRemovedDriver);
    FinishRun();
  });

  RunRegSetTool(true, option.RegSetImage2000);
  const bool result = InstallDriver(index, online, quiet);
  RunRegSetTool(false, option.RegSetImage2000);
  if (IsWow64() || runEndedEarly_) return;
  if (result) {
    ui::TMessage message{WM_INSTALL_SUCCEEDED, 0, 0, 0};
    WMInstallSucceeded(message);
  } else if (FErrorCode != 0) {
    ui::TMessage message{WM_INSTALL_FAILED, 0, static_cast<intptr_t>(FErrorCode), 0};
    WMInstallFailed(message);
  }
}

bool TMainForm::InstallDriver(int index, bool online, bool quiet) {
  FRemovedDriver.clear();
  bool result = false;
  FInstallState = kInstalling;
  if (GetWinVersion() < kWindows2000) {
    LogLine("Windows older than Windows 2000: nothing installed");
    return false;
  }

  TOption option;
  if (FOptions) FOptions->GetOption(index, option);
  const std::string& infPath = option.InstallSettingFile2K;
  std::string modelName;
  // Without the model's name the run cannot tell which printer it makes.
  if (!ReadInfModelName(infPath, modelName)) {
    throw std::runtime_error("Cannot read the printer model from the file " + infPath);
  }
  FFoundPort.clear();

  SetLibraryErrorDisplay(option.InstallDll2K, false);
  if (online) {
    const int found = FindOnlinePort(FFoundPort);
    LogLine(found == kNoDeviceFound ? "Connected printer: none found"
                                    : "Connected printer: on " + FFoundPort);
    FReplaceExisting = true;
  }

  bool listRead = true;
  if (FReplaceExisting && PrinterExists(modelName, &listRead) &&
      !RemoveSameNamePrinter(modelName, quiet)) {
    runEndedEarly_ = true;
    return false;
  }
  if (!listRead) {
    // A printer of this name may be there: installing could put the model beside it.
    ui::TMessage message{WM_INSTALL_FAILED, 0, static_cast<intptr_t>(Os().spooler->GetLastError()),
                         0};
    WMInstallFailed(message);
    runEndedEarly_ = true;
    return false;
  }

  if (online && option.ForceOnlineCheck && SearchDialog) {
    if (FQuietMode) {
      LogLine("Search dialog not shown (/Quiet): the install goes on online");
    } else {
      SearchDialog->PromptCheck = option.PromptCheck;
      Hide();
      int modalResult = ui::mrNone;
      try {
        modalResult = SearchDialog->ShowModal();
      } catch (const std::exception&) {
        // The install goes on as if the dialog had been left with OK.
      }
      if (modalResult == ui::mrCancel) online = false;
      LogLine(online ? "Search dialog: online"
                     : "Search dialog cancelled: the install goes on offline");
    }
  }

  FPrinterName = modelName;
  runOnline_ = online;
  if (online) {
    ui::Pause({100});
    const int rescan = RescanDevices(IsWow64() ? ".\\X64\\devcon.exe" : ".\\i386\\devcon.exe");
    LogLine("Device rescan: " + std::string(rescan == kRescanNoStatus ? "no status shown"
                                            : rescan == kRescanNoLptDevice
                                                ? "no device on the parallel port"
                                                : "a device on the parallel port"));
    ui::Pause({100, 0, 50, 0, 100});
  }

  if (!IsWow64()) {
    result = InstallInProcess(option, infPath, online);
    FInstallState = kInstallFinished;
  } else {
    StartHelper64(Handle(), option.InstallImage64, infPath, option.OfflineEnumPrefix,
                  option.Installdll64, option.InstallDll2K, FSetup64Process, FFoundPort, online);
    TimerSetup64Error.SetEnabled(true);
    awaitingHelper_ = true;
  }
  return result;
}

bool TMainForm::RemoveSameNamePrinter(const std::string& modelName, bool quiet) {
  const TLangStrings& lang = Lang();
  bool removed = false;
  LogLine("A printer named \"" + modelName + "\" exists" +
          (quiet ? ": replace question not asked (quiet mode): OK" : ""));
  if (!quiet && Ask(lang.StrSameName + modelName + "\r\n" + lang.StrUpgradeQuestion, lang.StrNotice,
                    kMbOkCancel | kMbIconQuestion, kIdOk) != kIdOk) {
    // Told as a cancel by the user, once: the run then ends without another report.
    ui::TMessage message{WM_INSTALL_FAILED, 0, static_cast<intptr_t>(kErrorInstallCancelled), 0};
    WMInstallFailed(message);
  } else {
    std::string driver;
    GetPrinterDriver(modelName, driver);
    const uint32_t removal = DeletePrinterByName(modelName);
    if (removal == kPrinterDeleted) {
      removed = true;
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
  ui::Pause({500, 0, 100, 0, 100});
  return removed;
}

bool TMainForm::InstallInProcess(const TOption& option, const std::string& infPath, bool online) {
  if (!option.ServiceName.empty()) {
    LogLine("Stopping the service " + option.ServiceName +
            (option.ForceUninstallService ? " and removing it" : ""));
  }
  StopMonitorService(option.ServiceName, option.ServiceExe, option.ForceUninstallService);
  ui::Pause({100, 0, 50, 0, 100});
  SetLibraryErrorDisplay(option.InstallDll2K, false);
  // Windows 2000: the removed printer's driver is deleted only once the library
  // is loaded and about to install, so a run that ends before then can still
  // put the printer back on it.
  const auto deleteOldDriver = [this] {
    if (FRemovedDriver.empty()) return;
    LogLine("Driver " + FRemovedDriver +
            (DeletePrnDriver(FRemovedDriver) ? " deleted" : " not deleted"));
  };
  if (!InstallByLibrary(Handle(), FErrorCode, infPath, option.OfflineEnumPrefix,
                        option.InstallDll2K, FFoundPort, online, deleteOldDriver)) {
    return false;
  }
  ui::Pause({100, 0, 100});
  if (FileNamed(option.AfterRun)) {
    LogLine("AfterRun " + option.AfterRun + " started");
    Os().shell->WinExec(option.AfterRun, kShowCmdHide);
  }
  if (!option.ServiceName.empty()) StartMonitorServiceOrRestart(option);
  return true;
}

void TMainForm::StartMonitorServiceOrRestart(const TOption& option) {
  bool started = StartMonitorService(option.ServiceName, option.ServiceExe);
  if (!started) {
    ui::Pause({100, 0, 100});
    started = StartMonitorService(option.ServiceName, option.ServiceExe);
  }
  if (started) {
    LogLine("Service " + option.ServiceName + " started");
    return;
  }
  LogLine("Service " + option.ServiceName + " did not start: Setup.bat restarts the computer");
  Tell(kServiceRestartText, kServiceRestartCaption, kMbOk | kMbIconInformation);
  // The doubled backslash after the folder is accepted by Windows.
  Os().shell->WinExec(ProgramFolder() + "\\Setup.bat", FQuietMode ? kShowCmdHide : kShowCmdShow);
}

}  // namespace pinst
