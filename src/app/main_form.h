// The installer's one main window: the logo and title, the document links of the
// selected model, the model list, the information line, Install and Exit.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "config/ini_options.h"
#include "platform/processes.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/list_view.h"
#include "ui/timer.h"

namespace pinst {

class TFormSearching;
class TFormTest;

// The two messages that end an install run (the 64-bit helper sends them by number).
constexpr uint32_t WM_INSTALL_FAILED = ui::kWmUser + 1;
constexpr uint32_t WM_INSTALL_SUCCEEDED = ui::kWmUser + 2;

// FInstallState values.
enum : uint8_t { kInstallIdle = 0, kInstalling = 1, kInstallFinished = 2 };

// How a run of the automatic install ended, for the program's exit code.
enum class TRunOutcome : uint8_t { kNone, kInstalled, kInstalledRestart, kCancelled, kFailed };

// The debug marker: a regular file of this name enables the developer entry points.
inline constexpr const char* kDebugMarkerFile = "d:\\Debug";
// The run log of an automatic or quiet run started without /Log=, in the
// temporary folder.
inline constexpr const char* kDefaultLogName = "PrinterInstaller.log";

// Under /Quiet, every box the run did not answer itself: logged, not shown, and
// answered with the button that does the least (OK, Cancel or No).
std::optional<int> QuietBoxAnswer(const std::string& text, const std::string& caption,
                                  uint32_t flags);

class TMainForm : public ui::TForm {
 public:
  // args: the command-line arguments after the program name.
  explicit TMainForm(const std::vector<std::string>& args);
  ~TMainForm() override;

  // The other windows of the program, set once they exist.
  TFormSearching* SearchDialog = nullptr;
  TFormTest* TestWindow = nullptr;

  bool FDebugMode = false;
  bool FHideMode = false;
  bool FQuietMode = false;  // /Quiet: hidden, and no box ever shown
  TCommandLine FCommandLine;
  int32_t FModelIndex = -1;  // the model /Model= names (-1: none, or no such model)
  std::unique_ptr<TIniOptions> FOptions;
  int32_t FAutoIndex = -1;
  uint8_t FInstallState = kInstallIdle;
  std::string FPrinterName;
  std::string FRemovedDriver;
  ProcessHandle FSetup64Process;
  bool FReplaceExisting = false;
  uint32_t FErrorCode = 0;
  std::string FFoundPort;
  std::string FFinalPort;

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

  // The run log: opened at start when asked for (/Log=) or when no one watches
  // (/Hide, /Quiet, /Model=), else when an automatic install starts; the default
  // file is kDefaultLogName in the temporary folder.
  void OpenRunLog();
  // A question of the run: logged with its answer; under /Quiet not shown and
  // answered with quietAnswer.
  int Ask(const std::string& text, const std::string& caption, uint32_t flags, int quietAnswer);
  // A message of the run: logged; shown unless under /Quiet.
  void Tell(const std::string& text, const std::string& caption, uint32_t flags);
  void ApplyTexts();
  void FillPrinterList();

  // The selected model's record; false (and a record of defaults) when no model
  // is selected.
  bool SelectedOption(TOption& option) const;
  // Looks for a connected printer of the selected model; port receives its port
  // (empty when none). Returns how the device was found (0: not at all).
  int FindOnlinePort(std::string& port);

  // The install run and its completion.
  void BbtnStartClick();
  virtual void RunInstall(bool online);
  bool InstallDriver(int index, bool online, bool quiet);
  void WMInstallSucceeded(ui::TMessage& message);
  void WMInstallFailed(ui::TMessage& message);
  void TmrAutoInstallTimer();
  void TimerSetup64ErrorTimer();
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

  // True from the start of an install run until its result is known: while the
  // run is on the stack, and while the 64-bit helper has not reported.
  bool RunInProgress() const { return runDepth_ > 0 || awaitingHelper_; }
  bool AwaitingHelper() const { return awaitingHelper_; }
  TRunOutcome Outcome() const { return outcome_; }
  // The process exit code: the automatic install's outcome, 0 otherwise.
  int ExitCode() const;

 protected:
  bool HandleMessage(ui::TMessage& message) override;

 private:
  void OpenGuide(std::string TOption::*field);
  void RefillPrinterList(int selectIndex);
  void EnterRun();
  void LeaveRun();
  void SetRunControlsEnabled(bool enabled);
  // What both completion handlers and the synchronous clean-up do to give the
  // window back to the user.
  void FinishRun();
  // A completion handler's start: the watchdog stops and the window is given back.
  void EndHelperWait();
  // True when the printer of that name is gone (removed after the question).
  bool RemoveSameNamePrinter(const std::string& modelName, bool quiet);
  // True when the library reported success.
  bool InstallInProcess(const TOption& option, const std::string& infPath, bool online);
  void StartMonitorServiceOrRestart(const TOption& option);
  // Windows 2000: adds back the printer removed for a run that did not install.
  void PutBackRemovedPrinter(const std::string& name, const std::string& removedDriver);

  int runDepth_ = 0;             // install runs on the stack (a retry nests)
  bool awaitingHelper_ = false;  // the 64-bit helper was started and has not reported
  bool runEndedEarly_ = false;   // the run already told its end (declined, busy, not removed)
  bool runOnline_ = false;       // whether the last run looked for a connected printer
  bool closePending_ = false;    // a close request waits for the run to return
  bool automaticRun_ = false;    // the automatic install clicked Install
  TRunOutcome outcome_ = TRunOutcome::kNone;
  uint32_t hintTicks_ = 0;
  std::vector<std::string> args_;  // as started, for the log
};

}  // namespace pinst
