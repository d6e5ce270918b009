#include "dialogs/prompt_form.h"

#include "config/lang_strings.h"

namespace pinst {

namespace {

ui::TFormDesign PromptDesign() {
  ui::TFormDesign d;
  d.className = "TFormPromptCheck";
  d.clientWidth = 341;
  d.clientHeight = 143;
  d.border = UiBorder::kDialog;
  d.placement = UiPlacement::kDesktopCentre;
  d.font = {"Tahoma", 13, false, kDefaultCharset};
  return d;
}

}  // namespace

TFormPromptCheck::TFormPromptCheck()
    : TForm(PromptDesign()),
      lblPromptCheckLabel(*this, "lblPromptCheckLabel",
                          ui::At(0, 0, 341, 25).Font({"Tahoma", 16, false, kDefaultCharset}),
                          ui::TLabelStyle().Fixed().WordWrap().Centred()),
      lblPromprCheckInfo(*this, "lblPromprCheckInfo", ui::At(8, 47, 325, 40),
                         ui::TLabelStyle().Fixed().WordWrap()),
      btnOK(*this, "btnOK", ui::At(125, 102, 97, 33), ui::TButtonKind::kOk) {
  OnShow = [this] { FormShow(); };
  btnOK.OnClick = [this] { btnOKClick(); };
  Loaded();
}

void TFormPromptCheck::FormShow() {
  const TLangStrings& lang = Lang();
  SetCaption(lang.StrInfos);
  lblPromptCheckLabel.SetCaption(lang.StrPrepareSearch);
  lblPromprCheckInfo.SetCaption(lang.StrConnectPrinter);
  btnOK.SetCaption(lang.StrOk);
}

void TFormPromptCheck::btnOKClick() { Close(); }

}  // namespace pinst
