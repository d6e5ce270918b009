// The window's side of an install run: the Install button's own steps, the
// automatic install, the installing hint, the helper's reports, and what the
// run asks of the window (IRunHost).
#include "app/main_form.h"
#include "app/run_log_start.h"
#include "base/scope_exit.h"
#include "base/win_path.h"
#include "config/lang_strings.h"
#include "dialogs/search_form.h"
#include "engine/printer_settings.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "sys/run_log.h"
#include "ui/application.h"

namespace pinst {

namespace {

// How long the automatic install waits once the user has taken over.
constexpr uint32_t kAutoInstallParkedMs = 3600000;
constexpr uint32_t kAutoInstallLaterMs = 50000;
constexpr uint32_t kHintSteps = 6;

}  // namespace

void TMainForm::BbtnStartClick() {
  TmrAutoInstall.SetInterval(kAutoInstallParkedMs);
  TmrAutoInstall.SetEnabled(false);
  // A double-click on the list or a key press must not start a second run.
  if (RunInProgress()) return;
  run_->Reset();
  TInstallRun::TScope scope(*run_);
  if (!run_->CanStart() || !run_->PreparePort()) return;
  if (!FHideMode) SetTopMost(true);
  ScopeExit notTopMost([this] {
    if (!FHideMode) SetTopMost(false);
  });
  TOption option;
  if (!SelectedOption(option)) return;
  InstallWebPrintControl(FolderOf(Os().files->ModuleFileName(), Os().system->GetAnsiCodePage()) +
                         ".\\i386\\WebPrint.ocx");
  ui::Application().ProcessMessages();
  if (!option.BeforeRun.empty() && Os().files->FileExists(option.BeforeRun)) {
    Os().shell->Execute(Handle(), "open", option.BeforeRun, "", "", kShowCmdHide);
  }
  // A port given on the command line is installed on without looking for the printer.
  RunInstall(!run_->PortChosen());
}

void TMainForm::RunInstall(bool online) { run_->RunInstall(online); }

void TMainForm::TmrAutoInstallTimer() {
  TmrAutoInstall.SetEnabled(false);
  TmrAutoInstall.SetInterval(kAutoInstallLaterMs);
  if (FAutoIndex < 0) return;
  LvPrinters.SetItemIndex(FAutoIndex);
  automaticRun_ = true;
  OpenRunLog(FCommandLine, args_);
  LogLine("Automatic install of \"" + LvPrinters.ItemCaption(FAutoIndex) + "\"");
  try {
    BbtnStart.Click();
  } catch (const std::exception& error) {
    run_->result = TRunResult(TRunOutcome::kFailed);
    LogLine("Error: " + InstallErrorText(error), TLogKind::kFailure);
    // A visible window stays open with the error box; a hidden one has no one
    // to close it, so the program ends once the box is dismissed.
    if (!FHideMode) throw;
    ui::Application().ShowException(error);
  }
  // Under WOW64 the helper reports later: closing now would lose its report.
  if (AwaitingHelper()) ui::Application().RunUntil([this] { return !AwaitingHelper(); });
  BbtnExit.Click();
}

void TMainForm::TimerInstallingHintsTimer() {
  ++hintTicks_;
  if (run_->FInstallState != kInstalling) {
    StaBarInfo.SetSimpleText("");
    TimerInstallingHints.SetEnabled(false);
    return;
  }
  const TLangStrings& lang = Lang();
  std::string text = lang.StrInfos + lang.StrInstalling;
  for (uint32_t i = 0; i < hintTicks_ % kHintSteps; ++i) text += " .";
  StaBarInfo.SetSimpleText(text);
}

bool TMainForm::FormCloseQuery() {
  if (!run_->OnStack()) return true;
  // The run on the stack still uses the window and its records.
  closePending_ = true;
  return false;
}

bool TMainForm::HandleMessage(ui::TMessage& message) {
  switch (message.Msg) {
    case WM_INSTALL_FAILED:
    case WM_INSTALL_SUCCEEDED:
      // A report after the run ended (the watchdog ended the helper at the limit)
      // must not turn its result into another.
      if (!run_->AwaitingHelper()) {
        LogLine("A report of the 64-bit helper after the run had ended: ignored");
      } else if (message.Msg == WM_INSTALL_FAILED) {
        run_->WMInstallFailed(static_cast<uint32_t>(message.LParam));
      } else {
        run_->WMInstallSucceeded();
      }
      return true;
    case kStartAutomaticInstall:
      TmrAutoInstallTimer();
      return true;
    default:
      return false;
  }
}

int TMainForm::Ask(const std::string& text, const std::string& caption, uint32_t flags, int) {
  return ui::MessageDlg(this, text, caption, flags);
}

void TMainForm::Tell(const std::string& text, const std::string& caption, uint32_t flags) {
  ui::MessageDlg(this, text, caption, flags);
}

TSearchAnswer TMainForm::SearchForPrinter(bool promptCheck) {
  if (!SearchDialog) return TSearchAnswer::kNoDialog;
  TFormSearching& dialog = *SearchDialog();
  dialog.PromptCheck = promptCheck;
  Hide();
  int modalResult = ui::mrNone;
  try {
    modalResult = dialog.ShowModal();
  } catch (const std::exception&) {
    // The install goes on as if the dialog had been left with OK.
  }
  return modalResult == ui::mrCancel ? TSearchAnswer::kOffline : TSearchAnswer::kOnline;
}

void TMainForm::SetRunControlsEnabled(bool enabled) {
  BbtnStart.SetEnabled(enabled);
  BbtnExit.SetEnabled(enabled);
  LvPrinters.SetEnabled(enabled);
}

void TMainForm::SetWaitCursor(bool busy) { ui::Application().SetBusyCursor(busy); }

void TMainForm::GiveWindowBack() {
  if (!FHideMode) Show();
  SetRunControlsEnabled(true);
  ui::Application().SetBusyCursor(false);
  BbtnExit.SetFocus();
}

void TMainForm::ProcessMessages() { ui::Application().ProcessMessages(); }

void TMainForm::RunUnwound() {
  if (!closePending_) return;
  closePending_ = false;
  Close();
}

}  // namespace pinst
