// The end of an install run: the two completion handlers (called by the run on
// 32-bit Windows, sent by the 64-bit helper under WOW64), the helper watchdog,
// the installing hint and the automatic install.
#include "app/install_codes.h"
#include "app/main_form.h"
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
#include "ui/application.h"

namespace pinst {

namespace {

constexpr uint32_t kAutoInstallLaterMs = 50000;
constexpr uint32_t kHintSteps = 6;

// "Preparing the other settings of printer %s", for the debugger.
const char kPrepareSettingsLine[] =
    "\xD7\xBC\xB1\xB8\xCE\xAA\xB4\xF2\xD3\xA1\xBB\xFA %s \xBD\xF8\xD0\xD0\xC6\xE4\xCB\xFC\xC9\xE8"
    "\xD6\xC3";

}  // namespace

void TMainForm::EndHelperWait() {
  TimerSetup64Error.SetEnabled(false);
  FinishRun();
  awaitingHelper_ = false;
}

void TMainForm::WMInstallSucceeded(ui::TMessage& /*message*/) {
  const TLangStrings& lang = Lang();
  // The name as the run left it: showing the window may activate it.
  const std::string name = FPrinterName;
  if (!name.empty() && !PrinterExists(name)) {
    AddLocalPrinter(name, name);
    if (!FFinalPort.empty()) SetPrinterPort(name, FFinalPort);
  }
  EndHelperWait();

  TOption option;
  SelectedOption(option);
  std::string port;
  bool restartNotice = false;
  if (!name.empty()) {
    port = option.DefaultPortName;
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
  std::string text = FormatText(lang.StrInstallSuccess, FFinalPort);
  if (restartNotice) text += "\r\n" + lang.StrRestartNotice;
  outcome_ = restartNotice ? TRunOutcome::kInstalledRestart : TRunOutcome::kInstalled;
  LogLine("Installed \"" + name + "\" on " + FFinalPort);
  if (FAutoIndex < 0) {
    Tell(text, lang.StrNotice, kMbOk | kMbIconInformation);
  } else {
    LogLine("Message (automatic install, not shown): " + text);
  }
  FPrinterName.clear();
  FFinalPort.clear();
}

void TMainForm::WMInstallFailed(ui::TMessage& message) {
  const TLangStrings& lang = Lang();
  // Taken now: a retry below starts a run of its own, which clears both.
  const std::string name = FPrinterName;
  const std::string removedDriver = FRemovedDriver;
  EndHelperWait();
  FErrorCode = static_cast<uint32_t>(message.LParam);
  LogLine(FormatCode("Install failed: error 0x%.8x", FErrorCode));

  // Only an online run can be retried offline: an offline run that reports no
  // device would otherwise start itself again without end.
  if (FErrorCode == kErrorNoSuchDevinst && runOnline_) {
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
      outcome_ = TRunOutcome::kCancelled;
    }
  } else if (FErrorCode == kErrorInstallCancelled) {
    outcome_ = TRunOutcome::kCancelled;
    Tell(lang.StrInstallCancelled, lang.StrNotice, kMbOk);
  } else if (FErrorCode != 0) {
    outcome_ = TRunOutcome::kFailed;
    Tell(FormatCode(lang.StrInstallFailCode + "\r\n", FErrorCode) + lang.StrRetryLater,
         lang.StrNotice, kMbOk | kMbIconError);
  } else {
    outcome_ = TRunOutcome::kFailed;
  }

  PutBackRemovedPrinter(name, removedDriver);
  FPrinterName.clear();
  FFinalPort.clear();
}

void TMainForm::PutBackRemovedPrinter(const std::string& name, const std::string& removedDriver) {
  // Windows 2000: the printer removed for this install comes back when no new
  // one took its place.
  if (removedDriver.empty() || name.empty() || PrinterExists(name)) return;
  TOption option;
  SelectedOption(option);
  if (!AddLocalPrinter(removedDriver, name)) {
    DebugLine("AddPrinter Fail :" + name + ", Error Code :0x" +
              HexCode8(Os().spooler->GetLastError()));
    return;
  }
  FRemovedDriver.clear();
  SetPrinterPort(name, option.DefaultPortName);
  LogLine("Printer \"" + name + "\" put back with driver " + removedDriver);
}

void TMainForm::TimerSetup64ErrorTimer() {
  if (FInstallState != kInstalling || !IsWow64() || !awaitingHelper_) return;
  // A helper that could not be started counts as one that has ended.
  if (FSetup64Process && !FSetup64Process.Wait(0)) return;
  uint32_t code = FSetup64Process.ExitCode().value_or(kErrorHelperEndedSilently);
  FSetup64Process.Close();
  // A report the helper sent before it ended is still queued: it wins.
  ui::Application().ProcessMessages();
  if (!awaitingHelper_) return;
  // Without a report, an exit code that reads as success or as still running
  // must not end the run as a success.
  if (code == 0 || code == kStillActive) code = kErrorHelperEndedSilently;
  ui::TMessage message{WM_INSTALL_FAILED, 0, static_cast<intptr_t>(code), 0};
  WMInstallFailed(message);
}

void TMainForm::TimerInstallingHintsTimer() {
  ++hintTicks_;
  if (FInstallState != kInstalling) {
    StaBarInfo.SetSimpleText("");
    TimerInstallingHints.SetEnabled(false);
    return;
  }
  const TLangStrings& lang = Lang();
  std::string text = lang.StrInfos + lang.StrInstalling;
  for (uint32_t i = 0; i < hintTicks_ % kHintSteps; ++i) text += " .";
  StaBarInfo.SetSimpleText(text);
}

void TMainForm::TmrAutoInstallTimer() {
  TmrAutoInstall.SetEnabled(false);
  TmrAutoInstall.SetInterval(kAutoInstallLaterMs);
  if (FAutoIndex < 0) return;
  LvPrinters.SetItemIndex(FAutoIndex);
  automaticRun_ = true;
  OpenRunLog();
  LogLine("Automatic install of \"" + LvPrinters.ItemCaption(FAutoIndex) + "\"");
  try {
    BbtnStart.Click();
  } catch (const std::exception& error) {
    outcome_ = TRunOutcome::kFailed;
    LogLine(std::string("Error: ") + error.what());
    // A visible window stays open with the error box; a hidden one has no one
    // to close it, so the program ends once the box is dismissed.
    if (!FHideMode) throw;
    ui::Application().ShowException(error);
  }
  // Under WOW64 the helper reports later: closing now would lose its report.
  if (awaitingHelper_) ui::Application().RunUntil([this] { return !awaitingHelper_; });
  BbtnExit.Click();
}

bool TMainForm::FormCloseQuery() {
  if (runDepth_ == 0) return true;
  // The run on the stack still uses the window and its records.
  closePending_ = true;
  return false;
}

int TMainForm::ExitCode() const {
  if (!automaticRun_) return kExitInstalled;
  switch (outcome_) {
    case TRunOutcome::kInstalled:
      return kExitInstalled;
    case TRunOutcome::kInstalledRestart:
      return kExitRestartNeeded;
    case TRunOutcome::kCancelled:
      return kExitCancelled;
    default:
      return kExitFailed;
  }
}

}  // namespace pinst
