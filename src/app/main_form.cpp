#include "app/main_form.h"

#include <algorithm>
#include <charconv>

#include "app/run_log_start.h"
#include "config/brand.h"
#include "config/lang_strings.h"
#include "diag/diag_window.h"
#include "engine/library_bridge.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/shell.h"
#include "sys/run_log.h"
#include "sys/win_version.h"
#include "ui/application.h"

namespace pinst {

namespace {

ui::TFormDesign MainDesign() {
  ui::TFormDesign d;
  d.className = kMainWindowClass;
  d.clientWidth = 657;
  d.clientHeight = 450;
  d.border = UiBorder::kSizeable;
  d.placement = UiPlacement::kDesktopCentre;
  d.font = {"Tahoma", 16, false, kDefaultCharset};
  return d;
}

const UiFont kListFont{"Tahoma", 13, false, kDefaultCharset};
const UiFont kWindowFont{"Tahoma", 16, false, kDefaultCharset};
const UiFont kTitleFont{"Tahoma", 21, true, kDefaultCharset};
const UiFont kInfoFont{"MS Sans Serif", 13, true, kDefaultCharset};

std::string UpperHex(uintptr_t value) {
  char digits[2 * sizeof value + 1] = {};
  auto end = std::to_chars(digits, digits + sizeof digits - 1, value, 16).ptr;
  std::string text(digits, end);
  for (char& c : text) {
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

}  // namespace

TMainForm::TMainForm(const std::vector<std::string>& args)
    : TForm(MainDesign()),
      PnlTitle(*this, "PnlTitle", ui::At(0, 0, 657, 79)),
      ImgLogo(PnlTitle, "ImgLogo", ui::At(24, 9, 170, 60)),
      LblMainTitle(PnlTitle, "LblMainTitle", ui::At(224, 9, 401, 52).Font(kTitleFont),
                   ui::TLabelStyle().Fixed().WordWrap()),
      LblReadGuide(PnlTitle, "LblReadGuide", ui::At(206, 50)),
      LblReadManual(PnlTitle, "LblReadManual", ui::At(473, 48)),
      lblReadQuickGuide(PnlTitle, "lblReadQuickGuide", ui::At(341, 50).Hidden()),
      PnlPrinters(*this, "PnlPrinters", ui::At(0, 79, 657, 352).Font(kListFont)),
      GrpBoxPort(PnlPrinters, "GrpBoxPort", ui::At(24, 16, 162, 264).Hidden()),
      GrpBoxPrinters(PnlPrinters, "GrpBoxPrinters", ui::At(192, 16, 434, 264).Font(kWindowFont)),
      LvPrinters(GrpBoxPrinters, "LvPrinters", ui::At(10, 24, 414, 230).Font(kListFont),
                 "Printer32"),
      EdtInfos(PnlPrinters, "EdtInfos", ui::At(24, 301, 322, 24).Caption("Infos:").Font(kInfoFont),
               ui::TEditStyle().ReadOnly().NoTabStop().InfoBackground()),
      BbtnStart(PnlPrinters, "BbtnStart", ui::At(376, 301, 113, 35)),
      BbtnExit(PnlPrinters, "BbtnExit", ui::At(521, 301, 113, 35), ui::TButtonKind::kClose),
      StaBarInfo(*this, "StaBarInfo", ui::At(0, 0, 657).Font(kWindowFont)),
      TmrAutoInstall(*this, 1000, false),
      TimerSetup64Error(*this, 5000, false),
      TimerInstallingHints(*this, 500, false) {
  SetAlphaBlend(true, 255);
  PnlTitle.SetAlign(ui::TAlign::kTop);
  PnlPrinters.SetAlign(ui::TAlign::kClient);
  GrpBoxPrinters.SetAnchors({.left = true, .top = true, .right = true, .bottom = true});
  LvPrinters.SetAnchors({.left = true, .top = true, .right = true, .bottom = true});
  // The bottom row keeps its distance from the status bar, whatever height the
  // title and the status bar take in the system's fonts.
  for (ui::TControl* control :
       std::initializer_list<ui::TControl*>{&EdtInfos, &BbtnStart, &BbtnExit}) {
    control->SetAnchors({.left = true, .top = false, .right = false, .bottom = true});
  }
  for (ui::TLabel* link : {&LblReadGuide, &LblReadManual, &lblReadQuickGuide}) {
    link->SetCursor(UiCursor::kHand);
  }
  BbtnStart.SetDefault(true);
  BbtnStart.SetGlyph("GlyphInstall");
  BbtnExit.SetGlyph("GlyphExit");
  ActiveControl = &LvPrinters;

  OnActivate = [this] { FormActivate(); };
  OnResize = [this] { FormResize(); };
  OnClose = [this] { FormClose(); };
  OnCloseQuery = [this] { return FormCloseQuery(); };
  ImgLogo.OnDblClick = [this] { ImgLogoDblClick(); };
  PnlPrinters.OnDblClick = [this] { PnlPrintersDblClick(); };
  LvPrinters.OnSelectItem = [this](int, bool) { LvPrintersSelectItem(); };
  LvPrinters.OnDblClick = [this] { LvPrintersDblClick(); };
  BbtnStart.OnClick = [this] { BbtnStartClick(); };
  LblReadGuide.OnClick = [this] { LblReadGuideClick(); };
  LblReadManual.OnClick = [this] { LblReadManualClick(); };
  lblReadQuickGuide.OnClick = [this] { lblReadQuickGuideClick(); };
  LblReadGuide.OnMouseMove = [this] { GuideLinkMouseMove(LblReadGuide, &TOption::InstallGuide); };
  LblReadManual.OnMouseMove = [this] { GuideLinkMouseMove(LblReadManual, &TOption::HandBook); };
  lblReadQuickGuide.OnMouseMove = [this] {
    GuideLinkMouseMove(lblReadQuickGuide, &TOption::QuickGuide);
  };
  LblReadGuide.OnMouseLeave = [this] { GuideLinkMouseLeave(LblReadGuide); };
  LblReadManual.OnMouseLeave = [this] { GuideLinkMouseLeave(LblReadManual); };
  lblReadQuickGuide.OnMouseLeave = [this] { GuideLinkMouseLeave(lblReadQuickGuide); };
  TmrAutoInstall.OnTimer = [this] { TmrAutoInstallTimer(); };
  TimerSetup64Error.OnTimer = [this] { run_->TimerSetup64ErrorTimer(); };
  TimerInstallingHints.OnTimer = [this] { TimerInstallingHintsTimer(); };

  Loaded();
  FormCreate(args);
}

TMainForm::~TMainForm() {
  if (FQuietMode) ui::Application().BoxFilter = nullptr;
  RunLog().Close();
}

void TMainForm::FormCreate(const std::vector<std::string>& args) {
  ImgLogo.LoadFromResource("LogoNorvik");
  FDebugMode = Os().files->ProbeFileQuietly(kDebugMarkerFile);
  args_ = args;
  FCommandLine = ParseCommandLine(args);
  FHideMode = FCommandLine.hide;
  FQuietMode = FCommandLine.quiet;
  if (FHideMode) {
    SetAlphaBlend(true, 0);
    SetShowOnRun(false);
  }
  if (FQuietMode) {
    ui::Application().BoxFilter = QuietBoxAnswer;
    quietHost_ = std::make_unique<TQuietHost>(*this);
  }
  TRunMode mode;
  mode.hidden = FHideMode;
  mode.quiet = FQuietMode;
  mode.noRestart = FCommandLine.noRestart;
  // No one waits at a deployment tool's console: its commands get a limit too.
  const uint64_t limitMs = uint64_t{FCommandLine.TimeoutSeconds()} * 1000;
  if (FHideMode || FCommandLine.model) mode.commandLimitMs = limitMs;
  mode.helperLimitMs = limitMs;
  if (FCommandLine.port) {
    std::string why;
    mode.port = ParsePortSwitch(*FCommandLine.port, why);
  }
  run_ =
      std::make_unique<TInstallRun>(quietHost_ ? static_cast<IRunHost&>(*quietHost_) : *this, mode);
  if (FCommandLine.logFile || FCommandLine.logFormat || FHideMode || FCommandLine.model) {
    OpenRunLog(FCommandLine, args_);
  }
  TimerSetup64Error.SetEnabled(false);
  FOptions = std::make_unique<TIniOptions>();
  FOptions->LoadFromFile("install.ini");
  // An automatic install that install.ini asks for logs from the start as well.
  if (FOptions->FirstAutoModel() >= 0) OpenRunLog(FCommandLine, args_);
  LogLine("install.ini: " + std::to_string(FOptions->Count) + " model(s)");
  if (FCommandLine.model) {
    FModelIndex = FOptions->FindModel(*FCommandLine.model);
    LogLine("/Model=" + *FCommandLine.model +
            (FModelIndex < 0 ? ": no such model"
                             : ": section [" + FOptions->Sections[FModelIndex] + "]"));
  }
  SetBrand(LoadBrand());
  ApplyBrandPictures();
  ApplyTexts();
  FillPrinterList();
  // A window that is never shown is never activated.
  if (FHideMode) CheckAutoMode();
}

void TMainForm::FormActivate() { CheckAutoMode(); }

void TMainForm::FormClose() { FOptions.reset(); }

void TMainForm::CheckAutoMode() {
  // An activation in the middle of a run (the window shown again after the search
  // dialog, or by a completion handler) must not reset the run's state.
  if (RunInProgress()) return;
  FAutoIndex = -1;
  // /Model= takes the place of the marks in install.ini.
  int32_t chosen = FModelIndex;
  // The mark is install.ini's: no INF is read to find it.
  if (FOptions && !FCommandLine.model) chosen = FOptions->FirstAutoModel();
  if (chosen >= 0) {
    SetAlphaBlend(true, 255);
    FAutoIndex = chosen;
    LvPrinters.SetItemIndex(chosen);
    // The second lets a person see the window first; under /Quiet no one does, and
    // the install starts as soon as the message loop runs (a timer waits at least
    // ten milliseconds).
    if (FQuietMode) {
      Post(kStartAutomaticInstall, 0, 0);
    } else {
      TmrAutoInstall.SetEnabled(true);
    }
  }
  run_->ReturnToIdle();
}

void TMainForm::ApplyTexts() {
  const TLangStrings lang = BrandedTexts(Lang(), Brand());
  SetCaption(lang.StrInstallerTitle);
  ui::Application().Title = lang.StrInstallerTitle;

  // The printer box takes over the space of the hidden port box.
  GrpBoxPrinters.SetBounds({GrpBoxPort.Left(), GrpBoxPrinters.Top(),
                            GrpBoxPrinters.Width() + GrpBoxPrinters.Left() - GrpBoxPort.Left(),
                            GrpBoxPrinters.Height()});

  GrpBoxPrinters.SetCaption(lang.StrSelectDriver);
  BbtnStart.SetCaption(lang.StrInstallButton);
  BbtnExit.SetCaption(lang.StrExitButton);
  LblMainTitle.SetCaption(lang.StrMainTitle);
  LblMainTitle.SetFontColor(lang.ColorTitle);

  LblMainTitle.SetLeft(ImgLogo.Left() + ImgLogo.Width() + 30);
  LblMainTitle.SetWidth(ClientWidth() - LblMainTitle.Left() - 3);

  LblReadGuide.SetCaption(lang.StrInstallGuideLink);
  LblReadManual.SetCaption(lang.StrUserManualLink);
  lblReadQuickGuide.SetCaption(lang.StrQuickGuideLink);
  LblReadGuide.SetEnabled(false);
  LblReadManual.SetEnabled(false);
  lblReadQuickGuide.SetEnabled(false);
  lblReadQuickGuide.SetVisible(false);

  // A brand's logo smaller than the built-in one leaves the links their room.
  PnlTitle.SetHeight(ImgLogo.Top() +
                     (brandLogo_ ? std::max(ImgLogo.Height(), kLogoBox.height) : ImgLogo.Height()) +
                     10);
  PnlPrinters.SetTop(PnlTitle.Top() + PnlTitle.Height() + 10);

  const int linkTop = LblMainTitle.Top() + LblMainTitle.Height() + 10;
  LblReadGuide.SetBounds({ImgLogo.Left() + ImgLogo.Width() + 10, linkTop, LblReadGuide.Width(),
                          LblReadGuide.Height()});
  LblReadManual.SetBounds({LblReadGuide.Left() + LblReadGuide.Width() + 60, linkTop,
                           LblReadManual.Width(), LblReadManual.Height()});

  EdtInfos.SetFontColor(lang.ColorTitle);
}

void TMainForm::RefillPrinterList(int selectIndex) {
  // A row's caption is its INF's model name, read when the row is first drawn,
  // selected or found; a resize forgets the names read, so a driver added while the
  // window is open shows up.
  if (FOptions && LvPrinters.ItemCount() > 0) FOptions->ForgetInfs();
  LvPrinters.SetItems(FOptions ? FOptions->Count : 0,
                      [this](int index) { return FOptions ? FOptions->ModelName(index) : ""; });
  if (LvPrinters.ItemCount() > 0) LvPrinters.SetItemIndex(selectIndex);
}

void TMainForm::FillPrinterList() { RefillPrinterList(0); }

void TMainForm::FormResize() { RefillPrinterList(LvPrinters.ItemIndex()); }

bool TMainForm::SelectedOption(TOption& option) const {
  const int index = LvPrinters.ItemIndex();
  if (index < 0 || !FOptions) {
    option = TOption();
    return false;
  }
  return FOptions->GetOption(index, option);
}

void TMainForm::LvPrintersSelectItem() {
  const TLangStrings& lang = Lang();
  const int index = LvPrinters.ItemIndex();
  if (index < 0) {
    StaBarInfo.SetSimpleText("");
    GrpBoxPrinters.SetCaption(lang.StrSelectDriver);
    EdtInfos.SetCaption(lang.StrInfos + lang.StrSelectHint);
    BbtnStart.SetEnabled(false);
    LblReadGuide.SetEnabled(false);
    LblReadManual.SetEnabled(false);
    lblReadQuickGuide.SetEnabled(false);
    return;
  }
  TOption option;
  SelectedOption(option);
  GrpBoxPrinters.SetCaption(lang.StrSelectDriver + LvPrinters.ItemCaption(index));
  EdtInfos.SetCaption(lang.StrInfos + lang.StrClickInstall);
  // A resize re-selects the model; during a run Install stays disabled.
  BbtnStart.SetEnabled(!RunInProgress());
  IFiles& files = *Os().files;
  LblReadGuide.SetEnabled(files.FileExists(option.InstallGuide));
  lblReadQuickGuide.SetEnabled(files.FileExists(option.QuickGuide));
  LblReadManual.SetEnabled(files.FileExists(option.HandBook));
  StaBarInfo.SetSimpleText(option.Hint);
}

void TMainForm::LvPrintersDblClick() { BbtnStart.Click(); }

void TMainForm::OpenGuide(std::string TOption::*field) {
  TOption option;
  SelectedOption(option);
  // The shell's answer is not looked at: a link is only enabled while its file exists.
  Os().shell->Execute(Handle(), "open", option.*field, "", "", kShowCmdShow);
}

void TMainForm::LblReadGuideClick() { OpenGuide(&TOption::InstallGuide); }
void TMainForm::LblReadManualClick() { OpenGuide(&TOption::HandBook); }
void TMainForm::lblReadQuickGuideClick() { OpenGuide(&TOption::QuickGuide); }

void TMainForm::GuideLinkMouseMove(ui::TLabel& link, std::string TOption::*field) {
  link.SetFontColor(kColorBlue);
  TOption option;
  SelectedOption(option);
  StaBarInfo.SetSimpleText(option.*field);
}

void TMainForm::GuideLinkMouseLeave(ui::TLabel& link) {
  link.SetFontColor(kColorBlack);
  StaBarInfo.SetSimpleText("");
}

void TMainForm::ImgLogoDblClick() {
  if (!Os().files->ProbeFileQuietly(kDebugMarkerFile) || !IsWow64()) return;
  SetCaption(Caption() + " WOW64" + " " + UpperHex(Handle()) + "H");
}

void TMainForm::PnlPrintersDblClick() {
  if (FDebugMode && TestWindow) TestWindow()->ShowModal();
}

int TMainForm::FindOnlinePort(std::string& port) {
  TOption option;
  SelectedOption(option);
  return FindConnectedPrinter(option.InstallSettingFile2K, option.InstallDll2K, port);
}

}  // namespace pinst
