// The installer's one main window: the logo and title, the document links of the
// selected model, the model list, the information line, Install and Exit.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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

// The debug marker: a regular file of this name enables the developer entry points.
inline constexpr const char* kDebugMarkerFile = "d:\\Debug";
// The command-line switch that keeps the window hidden.
inline constexpr const char* kHideSwitch = "/Hide";

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
  void LvPrintersSelectItem();
  void LvPrintersDblClick();
  void LblReadGuideClick();
  void LblReadManualClick();
  void lblReadQuickGuideClick();
  void GuideLinkMouseMove(ui::TLabel& link, std::string TOption::*field);
  void GuideLinkMouseLeave(ui::TLabel& link);
  void ImgLogoDblClick();
  void PnlPrintersDblClick();

 protected:
  bool HandleMessage(ui::TMessage& message) override;

 private:
  void OpenGuide(std::string TOption::*field);
  void RefillPrinterList(int selectIndex);
};

}  // namespace pinst
