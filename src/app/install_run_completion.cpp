// The end of an install run: the two completion handlers (called by the run on
// 32-bit Windows, reported by the 64-bit helper under WOW64), the helper
// watchdog and the Windows 2000 put-back.
#include "app/install_codes.h"
#include "app/install_run.h"
#include "app/uninstall_entry.h"
#include "config/lang_format.h"
#include "config/lang_strings.h"
#include "engine/printer_settings.h"
#include "platform/platform.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "removal/hex_code.h"
#include "spooler/port_ops.h"
#include "spooler/printer_add.h"
#include "spooler/printer_ops.h"
#include "sys/run_log.h"
#include "sys/win_version.h"

namespace pinst {

namespace {

// "Preparing the other settings of printer %s", for the debugger.
const char kPrepareSettingsLine[] =
    "\xD7\xBC\xB1\xB8\xCE\xAA\xB4\xF2\xD3\xA1\xBB\xFA %s \xBD\xF8\xD0\xD0\xC6\xE4\xCB\xFC\xC9\xE8"
    "\xD6\xC3";

}  // namespace

void TInstallRun::EndHelperWait() {
  host_.SetHelperWatchdog(false);
  // Still awaited while the window comes back, so that its activation does not
  // take the run for over.
  FinishRun();
  result = TRunResult(TRunOutcome::kFailed);
}

void TInstallRun::End(TRunResult ended) {
  result = std::move(ended);
  if (!result.Installed()) RemoveMadePort();
  result.oldPrinter = oldPrinter;
  if (FRemovedPrinter && result.printer.empty())
    result.printer = FRemovedPrinter->record.printerName;
  const std::optional<TResultBox> box = ResultBox(result);
  if (!box) return;
  if (result.Installed() && host_.AutomaticInstall()) {
    LogLine("Message (automatic install, not shown): " + box->text);
  } else {
    Tell(box->text, Lang().StrNotice, box->flags);
  }
}

void TInstallRun::TellOldPrinterFate(TOldPrinter before) {
  if (oldPrinter == before || !FRemovedPrinter) return;
  TRunResult fate;
  fate.oldPrinter = oldPrinter;
  fate.printer = FRemovedPrinter->record.printerName;
  if (const std::optional<TResultBox> box = ResultBox(fate)) {
    Tell(box->text, Lang().StrNotice, box->flags);
  }
}

void TInstallRun::WMInstallSucceeded() {
  // The name as the run left it: showing the window may activate it.
  const std::string name = FPrinterName;
  bool listRead = true;
  if (!name.empty() && !PrinterExists(name, &listRead) && listRead) {
    AddLocalPrinter(name, name);
    if (!FFinalPort.empty()) SetPrinterPort(name, FFinalPort);
  }
  EndHelperWait();
  if (!listRead) {
    const uint32_t error = Os().spooler->GetLastError();
    LogLine("Cannot tell whether a printer named \"" + name +
            "\" exists after the install: the printer list cannot be read" +
            FormatCode(" (error 0x%.8x)", error));
    PutBackRemovedPrinter();
    End(TRunResult(TRunOutcome::kFailed, error == 0 ? kErrorHelperEndedSilently : error));
    FPrinterName.clear();
    FFinalPort.clear();
    return;
  }
  // A success that left no printer of the model's name is none.
  if (!name.empty() && !PrinterExists(name)) {
    LogLine("No printer named \"" + name + "\" after the install: failed", TLogKind::kFailure);
    PutBackRemovedPrinter();
    // The reason says it all; no code of the library's to show.
    TRunResult ended(TRunOutcome::kFailed);
    ended.reason = TRunReason::kNoPrinterCreated;
    ended.printer = name;
    End(std::move(ended));
    FPrinterName.clear();
    FFinalPort.clear();
    return;
  }

  TOption option;
  SelectedOption(option);
  std::string port;
  bool restartNotice = false;
  if (!name.empty()) {
    // The port /Port= chose wins over install.ini's.
    port = FChosenPort.empty() ? option.DefaultPortName : FChosenPort;
    if (!PortExists(port)) port = FFoundPort;
    TChangePrinterInfo info;
    info.PrinterName = name;
    info.PortName = port;
    info.SetAsDefault = true;
    info.PrintProcessor = option.PrintProcess.empty() ? "WinPrint" : option.PrintProcess;
    restartNotice = !option.PrintProcess.empty();
    DebugLine(FormatText(kPrepareSettingsLine, name));
    const bool changed = ChangePrinter(info);
    LogLine("Settings of \"" + name + "\": port " + (port.empty() ? "(none)" : port) +
            ", print processor " + info.PrintProcessor +
            ", default printer: " + (changed ? "done" : "failed"));
  }

  GetPrinterPort(name, FFinalPort);
  if (FFinalPort.empty()) FFinalPort = port.empty() ? "LPT1:" : port;
  LogLine("Installed \"" + name + "\" on " + FFinalPort);
  TRunResult installed(
      restartNotice || restartNeeded ? TRunOutcome::kInstalledRestart : TRunOutcome::kInstalled, 0,
      FFinalPort);
  if (restartStarted) installed.reason = TRunReason::kRestartStarted;
  // The old printer's place is taken: nothing to put back.
  oldPrinter = TOldPrinter::kNotRemoved;
  WriteEntryOf(option, name);
  End(std::move(installed));
  FPrinterName.clear();
  FFinalPort.clear();
}

void TInstallRun::WriteEntryOf(TOption option, const std::string& name) {
  const int index = host_.SelectedModel();
  if (name.empty() || index < 0) return;
  option.ModelName = name;
  std::string problem;
  // The printer is what counts: an install without its entry is still an install.
  if (!WriteUninstallEntry(option, SectionName(index), problem)) {
    LogLine("Warning: no Apps & features entry for \"" + name + "\": " + problem,
            TLogKind::kWarning);
  }
}

void TInstallRun::EndFailed(uint32_t errorCode, bool byLibrary) {
  const TLangStrings& lang = Lang();
  EndHelperWait();
  FErrorCode = errorCode;
  // Only an online run can be retried offline: an offline run that reports no
  // device would otherwise start itself again without end. Until that retry is
  // decided the code is a warning.
  const bool retryOffline = FErrorCode == kErrorNoSuchDevinst && runOnline;
  LogLine(FormatCode("Install failed: error 0x%.8x", FErrorCode),
          retryOffline ? TLogKind::kWarning : TLogKind::kFailure);
  if (retryOffline) {
    if (FFoundPort == "LPT1:") {
      LogLine("No device found on LPT1:, installing offline");
      RunInstall(false);
      return;
    }
    const int answer = Ask(FormatText(lang.StrOnlineInstallFail, FFoundPort), lang.StrNotice,
                           kMbYesNoCancel | kMbIconWarning, kIdNo);
    if (answer == kIdYes) {
      RunInstall(true);
    } else if (answer == kIdNo) {
      RunInstall(false);
    } else {
      PutBackRemovedPrinter();
      End(TRunResult(TRunOutcome::kCancelled));
    }
  } else if (FErrorCode == kErrorInstallCancelled && byLibrary && mode_.hidden) {
    // No catalog for the INF: a person may accept an unsigned package, but no
    // one is there to, and a deployment tool must not read it as a cancel.
    LogLine("The driver package is not signed (no catalog for its INF): not installed",
            TLogKind::kFailure);
    PutBackRemovedPrinter();
    TRunResult ended(TRunOutcome::kFailed, FErrorCode);
    ended.reason = TRunReason::kUnsignedPackage;
    End(std::move(ended));
  } else {
    if (FErrorCode == kErrorInstallCancelled && byLibrary) {
      LogLine("Taken as a cancel by the user (the library's code for a package without a catalog)");
    }
    // The old printer first, so that the box can say what became of it.
    PutBackRemovedPrinter();
    End(TRunResult(
        FErrorCode == kErrorInstallCancelled ? TRunOutcome::kCancelled : TRunOutcome::kFailed,
        FErrorCode));
  }
  // A retry that started the helper again is still running: its own report ends
  // it, with the name and port it holds now.
  if (AwaitingHelper()) return;
  PutBackRemovedPrinter();
  FPrinterName.clear();
  FFinalPort.clear();
}

void TInstallRun::PutBackRemovedPrinter() {
  if (!FRemovedPrinter || oldPrinter != TOldPrinter::kRemoved) return;
  const PrinterInfo2& record = FRemovedPrinter->record;
  bool listRead = true;
  // A printer of the name is there again: the install made it after all.
  if (PrinterExists(record.printerName, &listRead)) return;
  if (!listRead) {
    // Adding it blind could put a second printer of the name beside the first.
    oldPrinter = TOldPrinter::kNotRestored;
    LogLine("Cannot tell whether the printer \"" + record.printerName +
            "\" is there: the printer list cannot be read" +
            FormatCode(" (error 0x%.8x)", Os().spooler->GetLastError()) + "; not put back");
    return;
  }
  uint32_t error = 0;
  if (RestorePrinter(*FRemovedPrinter, error)) {
    oldPrinter = TOldPrinter::kRestored;
    LogLine("Printer \"" + record.printerName + "\" put back with driver " + record.driverName +
            " on " + record.portName +
            (FRemovedPrinter->wasDefault ? ", the default printer" : ""));
    return;
  }
  oldPrinter = TOldPrinter::kNotRestored;
  DebugLine("AddPrinter Fail :" + record.printerName + ", Error Code :0x" + HexCode8(error));
  LogLine("Printer \"" + record.printerName + "\" could not be put back" +
              FormatCode(": error 0x%.8x", error),
          TLogKind::kFailure);
}

void TInstallRun::TimerSetup64ErrorTimer() {
  if (FInstallState != kInstalling || !IsWow64() || !AwaitingHelper()) return;
  // A helper that could not be started counts as one that has ended.
  if (FSetup64Process && !FSetup64Process.Wait(0)) {
    if (Os().system->TickCountMs() - helperStartedAt < mode_.helperLimitMs) return;
    // A report sent just before the limit is still queued: it wins.
    const uint32_t watched = helperStarts;
    host_.ProcessMessages();
    if (!AwaitingHelper() || helperStarts != watched) return;
    // Working past the limit: ended, as any program the run waits on.
    FSetup64Process.Terminate(kErrorTimeout);
    FSetup64Process.Close();
    EndHelperWait();
    EndTimedOut("the 64-bit helper");
    FPrinterName.clear();
    return;
  }
  uint32_t code = FSetup64Process.ExitCode().value_or(kErrorHelperEndedSilently);
  FSetup64Process.Close();
  // A report the helper sent before it ended is still queued: it wins, and a
  // retry it starts is a helper of its own that this tick knows nothing of.
  const uint32_t watched = helperStarts;
  host_.ProcessMessages();
  if (!AwaitingHelper() || helperStarts != watched) return;
  // Without a report, an exit code that reads as success or as still running
  // must not end the run as a success.
  if (code == 0 || code == kStillActive) code = kErrorHelperEndedSilently;
  WMInstallFailed(code);
}

}  // namespace pinst
