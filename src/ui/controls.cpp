#include "ui/controls.h"

#include <algorithm>

#include "platform/platform.h"
#include "ui/form.h"
#include "ui/message.h"

namespace pinst::ui {

namespace {

IUiBackend& Ui() { return *Os().ui; }

UiControlSpec Spec(UiKind kind) {
  UiControlSpec spec;
  spec.kind = kind;
  return spec;
}

UiControlSpec EditSpec(UiKind kind, const TEditStyle& style) {
  UiControlSpec spec = Spec(kind);
  spec.readOnly = style.readOnly;
  spec.tabStop = style.tabStop;
  spec.infoBackground = style.infoBackground;
  return spec;
}

}  // namespace

TPanel::TPanel(TControl& parent, std::string name, const TDesign& design)
    : TControl(parent, std::move(name), design, Spec(UiKind::kPanel)) {}

TGroupBox::TGroupBox(TControl& parent, std::string name, const TDesign& design)
    : TControl(parent, std::move(name), design, Spec(UiKind::kGroupBox)) {}

TLabel::TLabel(TControl& parent, std::string name, const TDesign& design, TLabelStyle style)
    : TControl(parent, std::move(name), design,
               [&] {
                 UiControlSpec spec = Spec(UiKind::kLabel);
                 spec.wordWrap = style.wordWrap;
                 spec.centred = style.centred;
                 spec.tabStop = false;
                 return spec;
               }()),
      autoSize_(style.autoSize) {
  if (autoSize_) FitToContent();
}

TButton::TButton(TControl& parent, std::string name, const TDesign& design, TButtonKind kind)
    : TControl(parent, std::move(name), design, Spec(UiKind::kButton)) {
  SetKind(kind);
}

void TButton::SetKind(TButtonKind kind) {
  kind_ = kind;
  switch (kind) {
    case TButtonKind::kOk:
      modalResult_ = mrOk;
      SetDefault(true);
      cancel_ = false;
      break;
    case TButtonKind::kYes:
      modalResult_ = mrYes;
      SetDefault(true);
      cancel_ = false;
      break;
    case TButtonKind::kCancel:
      modalResult_ = mrCancel;
      SetDefault(false);
      cancel_ = true;
      break;
    case TButtonKind::kClose:
      modalResult_ = mrNone;
      SetDefault(false);
      cancel_ = false;
      break;
    case TButtonKind::kCustom:
      break;
  }
}

void TButton::SetDefault(bool isDefault) {
  if (isDefault == default_) return;
  default_ = isDefault;
  Ui().SetDefaultButton(Handle(), default_);
}

bool TButton::SetGlyph(const std::string& resourceName) {
  return Ui().LoadPicture(Handle(), resourceName);
}

void TButton::Click() {
  TForm& form = Form();
  if (modalResult_ != mrNone) form.SetModalResult(modalResult_);
  TControl::Click();
  if (kind_ == TButtonKind::kClose) form.Close();
}

TImage::TImage(TControl& parent, std::string name, const TDesign& design)
    : TControl(parent, std::move(name), design, Spec(UiKind::kPicture)) {}

bool TImage::LoadFromResource(const std::string& resourceName) {
  const bool loaded = Ui().LoadPicture(Handle(), resourceName);
  if (loaded) FitToContent();
  return loaded;
}

bool TImage::LoadFromBmpFile(const std::string& bmpFile, UiSize size) {
  const bool loaded = Ui().LoadPictureFile(Handle(), bmpFile, size);
  if (loaded) FitToContent();
  return loaded;
}

TEdit::TEdit(TControl& parent, std::string name, const TDesign& design, TEditStyle style)
    : TControl(parent, std::move(name), design, EditSpec(UiKind::kEdit, style)),
      tabStop_(style.tabStop) {}

std::string TEdit::Text() const { return Ui().GetText(Handle()); }

TMemo::TMemo(TControl& parent, std::string name, const TDesign& design, TEditStyle style)
    : TMemo(parent, std::move(name), design, style, UiKind::kMemo) {}

TMemo::TMemo(TControl& parent, std::string name, const TDesign& design, TEditStyle style,
             UiKind kind)
    : TControl(parent, std::move(name), design, EditSpec(kind, style)) {}

std::string TMemo::Text() const { return Ui().GetText(Handle()); }

std::vector<std::string> TMemo::Lines() const {
  std::vector<std::string> lines;
  const std::string text = Text();
  if (text.empty()) return lines;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
    if (start == text.size()) break;  // a closing line break starts no new line
  }
  return lines;
}

void TMemo::SetLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  SetText(text);
}

void TMemo::AddLine(const std::string& line) {
  std::vector<std::string> lines = Lines();
  lines.push_back(line);
  SetLines(lines);
}

TRichEdit::TRichEdit(TControl& parent, std::string name, const TDesign& design, TEditStyle style)
    : TMemo(parent, std::move(name), design, style, UiKind::kRichEdit) {}

TProgressBar::TProgressBar(TControl& parent, std::string name, const TDesign& design, int max)
    : TControl(parent, std::move(name), design,
               [&] {
                 UiControlSpec spec = Spec(UiKind::kProgressBar);
                 spec.rangeMax = max;
                 spec.tabStop = false;
                 return spec;
               }()),
      max_(max) {}

void TProgressBar::SetPosition(int position) {
  position = std::clamp(position, 0, max_);
  if (position == position_) return;
  position_ = position;
  Ui().SetProgress(Handle(), position_);
}

TStatusBar::TStatusBar(TControl& parent, std::string name, const TDesign& design)
    : TControl(parent, std::move(name), design, Spec(UiKind::kStatusBar)) {
  FitToContent();
  SetAlign(TAlign::kBottom);
}

}  // namespace pinst::ui
