#include "dialogs/search_form.h"

#include <cstdio>

#include "config/lang_format.h"
#include "config/lang_strings.h"
#include "dialogs/prompt_form.h"

namespace pinst {

namespace {

constexpr uint32_t kStepMs = 1000;
constexpr int kCountDownSeconds = 10;
// Each step moves the bar by a tenth; in debug mode one step fills it.
constexpr int kStepSize = 10;

ui::TFormDesign SearchDesign() {
  ui::TFormDesign d;
  d.className = "TFormSearching";
  d.caption = "Search";
  d.clientWidth = 367;
  d.clientHeight = 230;
  d.border = UiBorder::kDialogNoCaptionButtons;
  d.placement = UiPlacement::kOwnerCentre;
  d.font = {"Tahoma", 13, false, kDefaultCharset};
  return d;
}

// "%s(%2d)": the number right-aligned in two places.
std::string CountDownCaption(const std::string& base, int count) {
  char number[16];
  std::snprintf(number, sizeof number, "(%2d)", count);
  return base + number;
}

}  // namespace

TFormSearching::TFormSearching(TSearchHost host)
    : TForm(SearchDesign()),
      lblSearch(*this, "lblSearch",
                ui::At(0, 0, 367, 25).Font({"Tahoma", 16, true, kDefaultCharset}),
                ui::TLabelStyle().Fixed().Centred()),
      pbSteps(*this, "pbSteps", ui::At(8, 32, 347, 49)),
      lblNotFound(*this, "lblNotFound", ui::At(8, 87, 347, 93),
                  ui::TLabelStyle().Fixed().WordWrap()),
      btnReSearch(*this, "btnReSearch", ui::At(8, 186, 165, 36)),
      btnCancelSearch(*this, "btnCancelSearch", ui::At(190, 186, 165, 36),
                      ui::TButtonKind::kCancel),
      tmrSteps(*this, kStepMs, false),
      tmrClickOK(*this, kStepMs, false),
      host_(std::move(host)) {
  lblNotFound.SetFontColor(kColorRed);
  OnShow = [this] { FormShow(); };
  OnActivate = [this] { FormActivate(); };
  OnClose = [this] { FormClose(); };
  btnReSearch.OnClick = [this] { btnReSearchClick(); };
  btnCancelSearch.OnClick = [this] { btnCancelSearchClick(); };
  tmrSteps.OnTimer = [this] { tmrStepsTimer(); };
  tmrClickOK.OnTimer = [this] { tmrClickOKTimer(); };
  Loaded();
  FormCreate();
}

void TFormSearching::FormCreate() {
  const TLangStrings& lang = Lang();
  tmrSteps.SetEnabled(false);
  tmrClickOK.SetEnabled(false);
  pbSteps.SetPosition(0);
  lblNotFound.SetVisible(false);
  btnCancelSearch.SetEnabled(false);
  btnCancelSearch.SetCaption(lang.StrCancelSearch);
  btnReSearch.SetEnabled(false);
  btnReSearch.SetCaption(lang.StrReSearch);
  lblSearch.SetCaption(lang.StrSearching);
}

void TFormSearching::FormShow() {
  if (!PromptCheck || !PromptForm) return;
  try {
    PromptForm->ShowModal();
  } catch (const std::exception&) {
    // The search goes on without the prompt.
  }
}

void TFormSearching::FormActivate() { StartSearch(); }

void TFormSearching::FormClose() {
  if (host_.mainWindow && !host_.mainWindow->Visible()) host_.mainWindow->Show();
}

void TFormSearching::StartSearch() {
  const TLangStrings& lang = Lang();
  Found = false;
  btnReSearch.SetEnabled(false);
  btnCancelSearch.SetKind(ui::TButtonKind::kCancel);
  btnCancelSearch.SetCaption(lang.StrCancelSearch);
  btnCancelSearch.SetEnabled(true);
  lblSearch.SetCaption(lang.StrSearching);
  lblNotFound.SetFontColor(kColorRed);
  lblNotFound.SetVisible(true);
  lblNotFound.SetCaption(lang.StrOfflineHint);
  pbSteps.SetPosition(0);
  tmrClickOK.SetEnabled(false);
  tmrSteps.SetEnabled(true);
}

void TFormSearching::FinishSearch() {
  const TLangStrings& lang = Lang();
  tmrSteps.SetEnabled(false);
  btnReSearch.SetEnabled(true);
  btnCancelSearch.SetEnabled(true);
  lblSearch.SetCaption(lang.StrSearchEnd);
  CountDown = kCountDownSeconds;
  if (Found) {
    lblNotFound.SetFontColor(kColorBlack);
    lblNotFound.SetCaption(FormatText(lang.StrPortFound, PortName));
    lblNotFound.SetVisible(true);
    tmrClickOK.SetEnabled(true);
    btnCancelSearch.SetKind(ui::TButtonKind::kOk);
    btnCancelSearch.SetCaption(lang.StrContinueSetup);
  } else {
    lblNotFound.SetFontColor(kColorRed);
    lblNotFound.SetCaption(lang.StrPortNotFound);
    lblNotFound.SetVisible(true);
    tmrClickOK.SetEnabled(false);
    btnCancelSearch.SetKind(ui::TButtonKind::kYes);
    btnCancelSearch.SetCaption(lang.StrContinueSetup);
  }
  btnCancelSearch.SetFocus();
}

void TFormSearching::tmrStepsTimer() {
  if (host_.debugMode && host_.debugMode()) {
    pbSteps.SetPosition(pbSteps.Position() + pbSteps.Max());
    tmrSteps.SetEnabled(false);
  } else {
    pbSteps.SetPosition(pbSteps.Position() + kStepSize);
  }
  if (host_.findOnlinePort) {
    try {
      host_.findOnlinePort(PortName);
    } catch (...) {
      // Stopped before the error is shown: its box pumps messages, and every
      // further tick would open another one on top of it.
      tmrSteps.SetEnabled(false);
      throw;
    }
  }
  if (pbSteps.Position() >= pbSteps.Max()) {
    Found = !PortName.empty();
    FinishSearch();
  }
}

void TFormSearching::tmrClickOKTimer() {
  const std::string& base = Lang().StrContinueSetup;
  if (CountDown > 0) {
    --CountDown;
    btnCancelSearch.SetCaption(CountDownCaption(base, CountDown));
  } else {
    tmrClickOK.SetEnabled(false);
    btnCancelSearch.Click();
  }
}

void TFormSearching::btnReSearchClick() { StartSearch(); }

void TFormSearching::btnCancelSearchClick() {
  FinishSearch();
  tmrClickOK.SetEnabled(false);
}

}  // namespace pinst
