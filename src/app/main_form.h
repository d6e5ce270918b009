// The installer's one main window: the logo and title, the document links of the
// selected model, the model list, the information line, Install and Exit. An
// install runs as a TInstallRun that reaches the window through IRunHost.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/install_run.h"
#include "app/quiet_host.h"
#include "app/run_host.h"
#include "config/ini_options.h"
#include "engine/helper_protocol.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/list_view.h"
#include "ui/timer.h"

namespace pinst {

class TFormSearching;
class TFormTest;

// The main window's class, by which a second start finds it.
inline constexpr const char* kMainWindowClass = "TMainForm";
// The window's own message that starts the automatic install under /Quiet; clear
// of the helper's reports.
inline constexpr uint32_t kStartAutomaticInstall = 0x0410;
// The debug marker: a regular file of this name enables the developer entry points.
inline constexpr const char* kDebugMarkerFile = "d:\\Debug";

class TMainForm : public ui::TForm, public IRunHost {
 public:
  // args: the command-line arguments after the program name.
  explicit TMainForm(const std::vector<std::string>& args);
  ~TMainForm() override;

  // The other windows of the program, made when first asked for (unset: none).
  std::function<TFormSearching*()> SearchDialog;
  std::function<TFormTest*()> TestWindow;

  bool FDebugMode = false;
  bool FHideMode = false;
  bool FQuietMode = false;  // /Quiet: hidden, and no box ever shown
  TCommandLine FCommandLine;
  int32_t FModelIndex = -1;  // the model /Model= names (-1: none, or no such model)
  std::unique_ptr<TIniOptions> FOptions;
  int32_t FAutoIndex = -1;

  ui::TPanel PnlTitle;
  ui::TImage ImgLogo;
  ui::TLabel LblMainTitle;
  ui::TLabel LblReadGuide;
  ui::TLabel LblReadManual;
  ui::TLabel lblReadQuickGuide;
  ui::TPanel PnlPrinters;
  ui::TGroupBox GrpBoxPort;
  ui::TGroupBox GrpBoxPrinters;
  ui::TListView LvPrinters;
  ui::TEdit EdtInfos;
  ui::TButton BbtnStart;
  ui::TButton BbtnExit;
  ui::TStatusBar StaBarInfo;
  ui::TTimer TmrAutoInstall;
  ui::TTimer TimerSetup64Error;
  ui::TTimer TimerInstallingHints;

  void CheckAutoMode();
  // True when /Model= names a model that install.ini does not hold.
  bool ModelSwitchUnknown() const { return FCommandLine.model && FModelIndex < 0; }
  void ApplyTexts();
  // brand.ini's logo and model picture in place of the built-in ones (main_form_brand.cpp).
  void ApplyBrandPictures();
  void FillPrinterList();

  // The selected model's record; false (and a record of defaults) when no model
  // is selected.
  bool SelectedOption(TOption& option) const;
  // Looks for a connected printer of the selected model; port receives its port
  // (empty when none). Returns how the device was found (0: not at all).
  int FindOnlinePort(std::string& port);

  // The install run: the Install button's own steps, then the run.
  void BbtnStartClick();
  virtual void RunInstall(bool online);
  TInstallRun& Run() { return *run_; }
  const TInstallRun& Run() const { return *run_; }
  void TmrAutoInstallTimer();
  void TimerInstallingHintsTimer();

  // Window and control events.
  void FormCreate(const std::vector<std::string>& args);
  void FormActivate();
  void FormResize();
  void FormClose();
  bool FormCloseQuery();
  void LvPrintersSelectItem();
  void LvPrintersDblClick();
  void LblReadGuideClick();
  void LblReadManualClick();
  void lblReadQuickGuideClick();
  void GuideLinkMouseMove(ui::TLabel& link, std::string TOption::*field);
  void GuideLinkMouseLeave(ui::TLabel& link);
  void ImgLogoDblClick();
  void PnlPrintersDblClick();

  bool RunInProgress() const { return run_->InProgress(); }
  bool AwaitingHelper() const { return run_->AwaitingHelper(); }
  TRunOutcome Outcome() const { return run_->Result().outcome; }
  // The process exit code: the automatic install's outcome, 0 otherwise.
  int ExitCode() const { return ExitCodeFor(run_->Result(), automaticRun_); }

  // IRunHost: what the run asks of the window and of the person in front of it.
  const TIniOptions* Options() const override { return FOptions.get(); }
  int SelectedModel() const override { return LvPrinters.ItemIndex(); }
  bool AutomaticInstall() const override { return FAutoIndex >= 0; }
  uintptr_t OwnerWindow() const override { return Handle(); }
  int Ask(const std::string& text, const std::string& caption, uint32_t flags,
          int quietAnswer) override;
  void Tell(const std::string& text, const std::string& caption, uint32_t flags) override;
  TSearchAnswer SearchForPrinter(bool promptCheck) override;
  void SetRunControlsEnabled(bool enabled) override;
  void SetWaitCursor(bool busy) override;
  void StartInstallingHint() override { TimerInstallingHints.SetEnabled(true); }
  void GiveWindowBack() override;
  void SetHelperWatchdog(bool enabled) override { TimerSetup64Error.SetEnabled(enabled); }
  void ProcessMessages() override;
  void RunUnwound() override;

 protected:
  // The 64-bit helper's reports.
  bool HandleMessage(ui::TMessage& message) override;

 private:
  void OpenGuide(std::string TOption::*field);
  void RefillPrinterList(int selectIndex);

  std::unique_ptr<TQuietHost> quietHost_;  // under /Quiet, between the run and the window
  std::unique_ptr<TInstallRun> run_;
  bool closePending_ = false;  // a close request waits for the run to return
  bool automaticRun_ = false;  // the automatic install clicked Install
  bool brandLogo_ = false;     // the logo is brand.ini's
  uint32_t hintTicks_ = 0;
  std::vector<std::string> args_;  // as started, for the log
};

}  // namespace pinst
